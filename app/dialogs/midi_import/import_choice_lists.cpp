#include "app/dialogs/midi_import/import_choice_lists.h"

#include "midi/import/import_instructions.h"
#include "notation/items/name_lists.h"
#include "notation/staff/staff_utils.h"

namespace kvt {

std::vector<std::string> ImportResolutionNames(bool rests) {
  std::vector<std::string> names;
  for (int code = 0; code <= kImportMaxDurationCode; ++code)
    names.push_back(std::string(GetNameListEntry(kNameListDurationsLong, code)) +
                    (rests ? " Rest" : " Note"));
  return names;
}

std::vector<std::string> ImportPitchNames() {
  std::vector<std::string> names;
  for (int pitch = 0; pitch < 128; ++pitch) names.push_back(GetMidiNoteName(pitch));
  return names;
}

}  // namespace kvt
