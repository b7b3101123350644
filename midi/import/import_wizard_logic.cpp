#include "midi/import/import_wizard_logic.h"

#include <algorithm>

#include "midi/import/import_convert.h"
#include "midi/import/import_shell.h"

namespace kvt {

int ImportHighestTrackNumber(int trackCount) {
  return std::max(0, std::min(trackCount - 1, kImportMaxTrack));
}

TImportInstructionForm TImportInstructionForm::From(const TSMFImportInstructions& in) {
  TImportInstructionForm form;
  form.track = in.track;
  form.lowPitch = in.lowPitch & 0x7F;
  form.highPitch = in.highPitch & 0x7F;
  for (int c = 0; c < 16; ++c) form.channels[c] = (in.channelMask & (1u << c)) != 0;
  form.pedalMarks = in.Has(kImportPedalMarks);
  form.patchChanges = in.Has(kImportPatchChanges);
  form.autoBeam = in.Has(kImportAutoBeam);
  form.compoundTime = in.Has(kImportCompoundTime);
  form.noteResolution = std::clamp<int>(in.noteResolution, 0, kImportMaxDurationCode);
  form.restResolution = std::clamp<int>(in.restResolution, 0, kImportMaxDurationCode);
  return form;
}

void TImportInstructionForm::WriteTo(TSMFImportInstructions& out, int highestTrack) const {
  out.track =
      static_cast<uint8_t>(std::clamp(track, 0, std::clamp(highestTrack, 0, kImportMaxTrack)));
  out.lowPitch = static_cast<uint8_t>(std::clamp(lowPitch, 0, 127));
  out.highPitch = static_cast<uint8_t>(std::clamp(highPitch, 0, 127));
  uint16_t mask = 0;
  for (int c = 0; c < 16; ++c)
    if (channels[c]) mask = static_cast<uint16_t>(mask | (1u << c));
  out.channelMask = mask;
  out.options = static_cast<uint8_t>(
      (pedalMarks ? kImportPedalMarks : 0) | (patchChanges ? kImportPatchChanges : 0) |
      (autoBeam ? kImportAutoBeam : 0) | (compoundTime ? kImportCompoundTime : 0));
  out.noteResolution = static_cast<uint8_t>(std::clamp(noteResolution, 0, kImportMaxDurationCode));
  out.restResolution = static_cast<uint8_t>(std::clamp(restResolution, 0, kImportMaxDurationCode));
}

TImportInstructionListPage::TImportInstructionListPage(TKVTImportData& data)
    : data(data),
      scannedExtract(data.GetOptions().extractChannels),
      scannedMaxChord(data.GetOptions().maxChordSize) {}

void TImportInstructionListPage::OnActivate() {
  const TImportOptions& options = data.GetOptions();
  if (options.extractChannels != scannedExtract || options.maxChordSize != scannedMaxChord) {
    scannedExtract = options.extractChannels;
    scannedMaxChord = options.maxChordSize;
    ScanImportInstructions(data, scannedExtract != 0, scannedMaxChord);
  }
  data.ApplyOptionsToInstructions();
  Refresh();
}

void TImportInstructionListPage::Refresh() {
  rows.clear();
  for (const TSMFImportInstructions& instruction : data.GetInstructions())
    rows.push_back(FormatInstructionText(instruction));
  selected = std::min(std::max(selected, 0), std::max(static_cast<int>(rows.size()) - 1, 0));
  if (rows.empty()) selected = -1;
}

bool TImportInstructionListPage::Add(TMidiImportShell& shell) {
  TSMFImportInstructions instruction;
  data.GetOptions().ApplyTo(instruction);
  if (!shell.EditImportInstruction(instruction, ImportHighestTrackNumber(data.GetTrackCount()),
                                   false))
    return false;
  data.GetInstructions().push_back(instruction);
  Refresh();
  return true;
}

bool TImportInstructionListPage::Delete(TMidiImportShell& shell) {
  if (selected < 0 || selected >= static_cast<int>(data.GetInstructions().size())) return false;
  if (!shell.AskYesNo("Are you sure that you want to delete the current instruction?",
                      "Delete Confirmation", TQuestionIcon::kQuestion))
    return false;
  data.GetInstructions().erase(data.GetInstructions().begin() + selected);
  Refresh();
  return true;
}

bool TImportInstructionListPage::Edit(TMidiImportShell& shell) {
  if (selected < 0 || selected >= static_cast<int>(data.GetInstructions().size())) return false;
  if (!shell.EditImportInstruction(data.GetInstructions()[static_cast<size_t>(selected)],
                                   ImportHighestTrackNumber(data.GetTrackCount()), false))
    return false;
  Refresh();
  return true;
}

}  // namespace kvt
