#pragma once
// The editor's options: 38 integer values in settings section "Options". A value equal to its
// default is deleted from the settings when saved, so a changed default reaches every user who
// never changed it.

#include <array>
#include <cstdint>

namespace kvt {

class TSysInfo;

enum TAppOption : int {
  kOptStatusBarEnabled,
  kOptAllowLayering,
  kOptShowCrossHair,
  kOptRtMouseSetsInsPt,
  kOptSmartInsertionPt,
  kOptSmartPropertiesInsert,
  kOptPersistentNoteTools,
  kOptEnableActiveStaffFrame,
  kOptChasePlayingNotes,
  kOptEditorTopMargin,
  kOptEditorBtmMargin,
  kOptUndoLevels,
  kOptSaveBackups,
  kOptAutoSaveMinutes,
  kOptExitWarnThreshold,
  kOptPlayFromCaret,
  kOptPlayLeadInMeasures,
  kOptMidiPortUsage,
  kOptSMFExportTrkSigs,
  kOptSMFExportHdrInfo,
  kOptExportToMidiFolder,
  kOptRecImportAction,
  kOptPrintMarginUnits,
  kOptOpenFilterIndex,
  kOptAcceptMidiInput,
  kOptMidiInIgnoreTrans,
  kOptUseImportWizOnOpen,
  kOptUsageTipsOnStartup,
  kOptNextUsageTip,
  kOptEditorShowStaffNames,
  kOptShowLabelPanel,
  kOptShowBarNumPanel,
  kOptXAnchorSize,
  kOptUserObjAnchorSize,
  kOptPlayDelay,
  kOptPlayAddedNotes,
  kOptEnablePatchCaching,
  kOptAutoUpgradeCheck,
  kOptionCount
};

inline constexpr char kOptionsSection[] = "Options";

// The settings key and default of an option.
const char* OptionKey(TAppOption option);
int32_t OptionDefault(TAppOption option);

class TAppOptions {
public:
  TAppOptions();  // every option at its default
  int32_t Get(TAppOption option) const { return values[option]; }
  void Set(TAppOption option, int32_t value) { values[option] = value; }
  // Reads every option; a missing or non-integer value gives the default.
  void Load(TSysInfo& settings);
  // Writes every option, deleting those equal to their default; false when a write failed.
  bool Save(TSysInfo& settings) const;

private:
  std::array<int32_t, kOptionCount> values;
};

}  // namespace kvt
