#include "midi/import/import_data.h"

#include <algorithm>

#include "utils/sys_info.h"

namespace kvt {

namespace {

struct TOptionKey {
  const char* name;
  int32_t TImportOptions::*field;
};

constexpr TOptionKey kKeys[] = {
    {"AddPedalMarks", &TImportOptions::addPedalMarks},
    {"AddPatchChanges", &TImportOptions::addPatchChanges},
    {"AutoBeam", &TImportOptions::autoBeam},
    {"DetectCompoundTime", &TImportOptions::detectCompoundTime},
    {"NoteResolution", &TImportOptions::noteResolution},
    {"RestResolution", &TImportOptions::restResolution},
    {"ExtractChannels", &TImportOptions::extractChannels},
    {"MaxChordSize", &TImportOptions::maxChordSize},
};

int32_t Flag(int32_t v) { return v != 0 ? 1 : 0; }

}  // namespace

void TImportOptions::Clamp() {
  addPedalMarks = Flag(addPedalMarks);
  addPatchChanges = Flag(addPatchChanges);
  autoBeam = Flag(autoBeam);
  detectCompoundTime = Flag(detectCompoundTime);
  extractChannels = Flag(extractChannels);
  noteResolution = std::clamp<int32_t>(noteResolution, 0, kImportMaxDurationCode);
  restResolution = std::clamp<int32_t>(restResolution, 0, kImportMaxDurationCode);
  maxChordSize = std::clamp<int32_t>(maxChordSize, kImportMinChordSize, kImportMaxChordSize);
}

void TImportOptions::Load(TSysInfo* settings) {
  *this = TImportOptions();
  if (settings)
    for (const TOptionKey& key : kKeys)
      this->*key.field = settings->GetProfileInt(kImportSection, key.name, this->*key.field);
  Clamp();
}

bool TImportOptions::Save(TSysInfo* settings) const {
  if (!settings) return false;
  bool ok = true;
  for (const TOptionKey& key : kKeys)
    ok = settings->WriteProfileInt(kImportSection, key.name, this->*key.field) && ok;
  return ok;
}

void TImportOptions::ApplyTo(TSMFImportInstructions& instruction) const {
  instruction.options = static_cast<uint8_t>(
      (addPedalMarks ? kImportPedalMarks : 0) | (addPatchChanges ? kImportPatchChanges : 0) |
      (autoBeam ? kImportAutoBeam : 0) | (detectCompoundTime ? kImportCompoundTime : 0));
  instruction.noteResolution =
      static_cast<uint8_t>(std::clamp<int32_t>(noteResolution, 0, kImportMaxDurationCode));
  instruction.restResolution =
      static_cast<uint8_t>(std::clamp<int32_t>(restResolution, 0, kImportMaxDurationCode));
}

TKVTImportData::TKVTImportData(TSysInfo* settings) {
  options.Load(settings);
  instructions.reserve(251);
}

void TKVTImportData::ApplyOptionsToInstructions() {
  for (TSMFImportInstructions& instruction : instructions) options.ApplyTo(instruction);
}

}  // namespace kvt
