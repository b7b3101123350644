#pragma once
// Shared by the automatic-beaming tests: a staff's full text for comparison, and random staff
// layouts (in the staff_edit_support layout words) with an optional group beamed beforehand.

#include <cstddef>
#include <iterator>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "notation/files/text/score_text_writer.h"
#include "notation/staff/music_staff.h"

namespace kvt::test {

// Every item's full record line.
inline std::string StaffText(const TMusicStaff& staff) {
  std::string text;
  for (int i = 0; i <= staff.GetLastIndex(); ++i) {
    AppendItemLine(text, *staff.GetItem(i), kTextModeLone);
    text += '\n';
  }
  return text;
}

struct TRandomBeamStaff {
  std::string layout;
  std::vector<std::pair<int, int>> beams;  // item ranges beamed before the test beams
};

// Notes, rests, grace notes, ties, accidentals, keys, tempos, text items and time-signature
// changes, 4 to 3 + maxWords words; every third round also a group beamed beforehand.
inline TRandomBeamStaff RandomBeamStaff(std::mt19937& rng, int round, int maxWords) {
  static const char* const kWords[] = {"n3",  "n3@-4", "n3@5",  "n4",   "n4@3",    "n4@-7",
                                       "n3.", "n5",    "n2",    "r3",   "r4",      "n4g",
                                       "n3g", "|",     "|",     "T6/8", "T3/4",    "T2/4",
                                       "n3~", "n3#",   "n4b@2", "x",    "Tempo90", "K-3"};
  TRandomBeamStaff staff;
  const int length = 4 + static_cast<int>(rng() % static_cast<unsigned>(maxWords));
  for (int w = 0; w < length; ++w) {
    staff.layout += kWords[rng() % std::size(kWords)];
    staff.layout += ' ';
  }
  if (round % 3 == 0) {
    const int from = 1 + static_cast<int>(rng() % static_cast<unsigned>(length));
    staff.beams.emplace_back(from, from + 1 + static_cast<int>(rng() % 3));
  }
  return staff;
}

}  // namespace kvt::test
