#pragma once
// The label pane's tooltip of a staff: its name and, when the staff holds more than two items,
// what is in force at the item where the view starts: " from bar %d, %s clef", the key's
// sharps and flats (note names with "#" or "b", in the order a key signature writes them,
// separated by ", ") followed by " in key", and ", %d/%d time". Texts are UTF-8.

#include <string>

namespace kvt {

class TMusicScore;

// Empty for a staff index outside the score; the item is limited to 1..the last index (the
// opening bar line stands before bar 1).
std::string StaffLabelTooltip(const TMusicScore& score, int scoreStaff, int item);

}  // namespace kvt
