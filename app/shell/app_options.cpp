#include "app/shell/app_options.h"

#include <memory>

#include "utils/registry_key.h"
#include "utils/sys_info.h"

namespace kvt {

namespace {

struct TOptionEntry {
  const char* key;
  int32_t def;
};

// In the order of TAppOption.
constexpr TOptionEntry kOptions[kOptionCount] = {
    {"StatusBarEnabled", 1},
    {"AllowLayering", 1},
    {"ShowCrossHair", 0},
    {"RtMouseSetsInsPt", 1},
    {"SmartInsertionPt", 1},
    {"SmartPropertiesInsert", 0},
    {"PersistentNoteTools", 952},
    {"EnableActiveStaffFrame", 1},
    {"ChasePlayingNotes", 1},
    {"EditorTopMargin", 5},
    {"EditorBtmMargin", 12},
    {"UndoLevels", 16},
    {"SaveBackups", 1},
    {"AutoSaveMinutes", 15},
    {"ExitWarnThreshold", 2},
    {"PlayFromCaret", 1},
    {"PlayLeadInMeasures", 1},
    {"MidiPortUsage", 2},
    {"SMFExportTrkSigs", 0},
    {"SMFExportHdrInfo", 1},
    {"ExportToMidiFolder", 0},
    {"RecImportAction", 0},
    {"PrintMarginUnits", 0},
    {"OpenFilterIndex", 1},
    {"AcceptMidiInput", 0},
    {"MidiInIgnoreTrans", 1},
    {"UseImportWizOnOpen", 1},
    {"UsageTipsOnStartup", 0},
    {"NextUsageTip", 0},
    {"EditorShowStaffNames", 1},
    {"ShowLabelPanel", 1},
    {"ShowBarNumPanel", 1},
    {"XAnchorSize", 0},
    {"UserObjAnchorSize", 10},
    {"PlayDelay", 1},
    {"PlayAddedNotes", 1},
    {"EnablePatchCaching", 0},
    {"AutoUpgradeCheck", 1},
};

}  // namespace

const char* OptionKey(TAppOption option) { return kOptions[option].key; }

int32_t OptionDefault(TAppOption option) { return kOptions[option].def; }

TAppOptions::TAppOptions() {
  for (int i = 0; i < kOptionCount; ++i) values[i] = kOptions[i].def;
}

void TAppOptions::Load(TSysInfo& settings) {
  for (int i = 0; i < kOptionCount; ++i)
    values[i] = settings.GetProfileInt(kOptionsSection, kOptions[i].key, kOptions[i].def);
}

bool TAppOptions::Save(TSysInfo& settings) const {
  std::unique_ptr<TKey> section = settings.OpenSectionKey(kOptionsSection);
  bool ok = true;
  for (int i = 0; i < kOptionCount; ++i) {
    if (values[i] != kOptions[i].def) {
      ok = settings.WriteProfileInt(kOptionsSection, kOptions[i].key, values[i]) && ok;
    } else if (section != nullptr) {
      section->DeleteValue(kOptions[i].key);  // a value that was never written is no failure
    }
  }
  return ok;
}

}  // namespace kvt
