#pragma once
// The import wizard's and the instruction dialog's behaviour without their windows, so the
// dialogs only move values between their controls and these objects.
//
// TImportInstructionForm: the values of the "Import Instruction" dialog (track number, pitch
// range, one box per channel, the four notate options, two resolutions), read from and written
// back to an instruction with every value held to its control's range.
//
// TImportInstructionListPage: the wizard page that reviews the instruction list: it rescans
// when the scan options changed since its last scan, applies the default options, and adds,
// deletes and edits rows through the shell's dialogs.

#include <cstdint>
#include <string>
#include <vector>

#include "midi/import/import_data.h"

namespace kvt {

class TMidiImportShell;

// The largest track number the instruction dialog accepts for a file of trackCount tracks:
// 0 to 255, never below 0.
int ImportHighestTrackNumber(int trackCount);

struct TImportInstructionForm {
  int track = 0;
  int lowPitch = 0;
  int highPitch = 127;
  bool channels[16] = {};  // box n: channel n + 1
  bool pedalMarks = false;
  bool patchChanges = false;
  bool autoBeam = true;
  bool compoundTime = true;
  int noteResolution = 5;
  int restResolution = 2;

  static TImportInstructionForm From(const TSMFImportInstructions& instruction);
  // The instruction with the form's values; the track held to 0..highestTrack, pitches and
  // resolutions to their lists.
  void WriteTo(TSMFImportInstructions& instruction, int highestTrack) const;
};

class TImportInstructionListPage {
public:
  // The page's copy of the scan options starts as the data's (the import scanned with them).
  explicit TImportInstructionListPage(TKVTImportData& data);

  // The page becomes active: rescan when the scan options differ from the copy (losing edits
  // of the list), then apply the default options to every instruction and refresh.
  void OnActivate();
  // "Add..": a reset instruction with the default options applied, appended on OK.
  bool Add(TMidiImportShell& shell);
  // "Delete": with a row selected, asks; removed unless the answer is No.
  bool Delete(TMidiImportShell& shell);
  // "Edit..": with a row selected, edits it in place.
  bool Edit(TMidiImportShell& shell);

  const std::vector<std::string>& GetRows() const { return rows; }
  // -1 when no row is selected.
  int GetSelected() const { return selected; }
  void Select(int row) { selected = row >= 0 && row < static_cast<int>(rows.size()) ? row : -1; }

private:
  // Rows from the list; the selection kept, clamped to the last row (0 for an empty list).
  void Refresh();

  TKVTImportData& data;
  int32_t scannedExtract;
  int32_t scannedMaxChord;
  std::vector<std::string> rows;
  int selected = -1;
};

}  // namespace kvt
