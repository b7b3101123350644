#pragma once
// The choice lists of the import dialogs: the note and rest resolutions ("Whole Note" to
// "Sixtyfourth Note", "Whole Rest" on; the index is the duration code) and the 128 pitch names
// (index = MIDI pitch).

#include <string>
#include <vector>

namespace kvt {

std::vector<std::string> ImportResolutionNames(bool rests);
std::vector<std::string> ImportPitchNames();

}  // namespace kvt
