#include "notation/items/name_lists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <string>

namespace kvt {
namespace {

struct ListShape {
  int list;
  int size;
  const char* first;
  const char* last;
};

// Size, first and last name of every list: a lost separator merges two names and shows here.
const ListShape kShapes[] = {
      {0, 24, "Clef", "Marker"},
      {1, 16, "Printer Default", "Highlight 7"},
      {2, 4, "Standard", "Orchestral"},
      {3, 8, "Default", "Highlight 7"},
      {4, 6, "Default", "Never"},
      {5, 6, "Default", "Never"},
      {6, 5, "Treble", "Percussion"},
      {7, 11, "Single", "Transparent"},
      {8, 11, "Single", "Transparent"},
      {9, 5, "Section Close", "Open (hidden)"},
      {10, 10, "Coda", "D.S. al Fine"},
      {11, 10, "Coda", "DSalFine"},
      {12, 7, "A", "G"},
      {13, 7, "Whole", "Sixtyfourth"},
      {14, 7, "Whole", "64th"},
      {15, 3, "Default", "Never"},
      {16, 4, "None", "End"},
      {17, 8, "Pianissimo (ppp)", "Fortissimo (fff)"},
      {18, 8, "ppp", "fff"},
      {19, 5, "Crescendo", "Sforzando"},
      {20, 5, "cresc.", "sfz"},
      {21, 18, "Tempo", "Phaser Depth"},
      {22, 18, "tempo", "phaser"},
      {23, 2, "Absolute", "Linear Sweep"},
      {24, 3, "Standard Signature", "Alla Breve"},
      {25, 3, "Standard", "AllaBreve"},
      {26, 6, "Eighth", "Half Dotted"},
      {27, 10, "Breath Mark", "Stringendo"},
      {28, 10, ",", "string."},
      {29, 23, "Ad Libitum", "Volta Subito"},
      {30, 23, "ad lib.", "volta subito"},
      {31, 3, "Left", "Right"},
      {32, 3, "None", "Octave Down"},
      {33, 4, "Best Fit", "At Next Note/Bar"},
      {34, 4, "BestFit", "AtNextNote"},
      {35, 4, "None", "Boxed"},
      {36, 14, "Staff Symbols", "User 6"},
      {37, 14, "StaffSymbols", "User6"},
      {38, 2, "Bottom", "Top"},
      {39, 3, "Default", "Downward"},
      {40, 2, "Start of Accidental/Note", "Standard Rules"},
      {41, 2, "Down", "Released"},
      {42, 4, "None", "All Systems"},
      {43, 1, "#bnxv", "#bnxv"},
      {44, 1, "oxXzyYabcdefghijklmnpqrstuvwABCDEFGHIJKLMNOPQRSTUVW",
       "oxXzyYabcdefghijklmnpqrstuvwABCDEFGHIJKLMNOPQRSTUVW"},
      {45, 6, "Reset", "NewSystem"},
      {46, 2, "Standard", "StaffSig"},
      {47, 4, "Class", "Color"},
      {48, 3, "Articulation", "Triplet"},
      {49, 19, "Name", "Channel"},
      {50, 6, "Title", "Comments"},
      {51, 10, "TitlePage", "AllowLayering"},
      {52, 5, "Left", "Mirror"},
};

TEST(NameListsTest, EveryListHasItsSizeFirstAndLastName) {
  ASSERT_EQ(std::size(kShapes), static_cast<size_t>(kNameListCount));
  for (const ListShape& s : kShapes) {
    SCOPED_TRACE(s.list);
    EXPECT_EQ(GetNameListSize(s.list), s.size);
    EXPECT_STREQ(GetNameListEntry(s.list, 0), s.first);
    EXPECT_STREQ(GetNameListEntry(s.list, s.size - 1), s.last);
    EXPECT_STREQ(GetNameListEntry(s.list, s.size), "***");
    EXPECT_STREQ(GetNameList(s.list), s.first);
  }
}

TEST(NameListsTest, PackedListEndsInAnEmptyName) {
  const char* list = GetNameList(kNameListLyricPlacement);
  EXPECT_EQ(0, std::memcmp(list, "Bottom\0Top\0\0", 12));
}

struct EntryCase {
  int list;
  int value;
  const char* name;
};

TEST(NameListsTest, EntryByValue) {
  const EntryCase cases[] = {
      {kNameListClefs, 7, "***"},  // the clef list has five names
      {kNameListClefs, 5, "***"},
      {kNameListClefs, 4, "Percussion"},
      {kNameListClefs, -1, "Treble"},  // a negative value gives the first name
      {kNameListClefs, -2147483647 - 1, "Treble"},
      {kNameListClefs, 2147483647, "***"},
      {kNameListItemKinds, 18, "RestChord"},
      {kNameListDurationsText, 2, "4th"},
      {kNameListDurationsText, 5, "32nd"},
      {kNameListTempoVariancesShown, 2, "?"},
      {kNameListPerformanceStylesDisplay, 12, "Pi\xF9 mosso"},
      {kNameListPerformanceStylesShown, 12, "pi\xF9 mosso"},
      {kNameListPerformanceStylesShown, 13, "semplice"},
      {kNameListStaffProperties, 12, "MultiPartDotPlacement"},
      {kNameListAccidentalLetters, 0, "#bnxv"},
      {kNameListAccidentalLetters, 1, "***"},
      {-1, 0, "***"},  // list numbers outside 0..52 are empty lists
      {53, 0, "***"},
      {1000000, 0, "***"},
  };
  for (const EntryCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.list) + "/" + std::to_string(c.value));
    EXPECT_STREQ(GetNameListEntry(c.list, c.value), c.name);
  }
}

TEST(NameListsTest, ListNumbersOutsideTheTableAreEmpty) {
  for (int list : {-2147483647 - 1, -1, kNameListCount, 2147483647}) {
    EXPECT_STREQ(GetNameList(list), "");
    EXPECT_EQ(GetNameListSize(list), 0);
    EXPECT_EQ(FindNameListEntry(list, "Treble", true, -7), -7);
  }
}

TEST(NameListsTest, OnlyThePerformanceStylesLeaveAscii) {
  for (int list = 0; list < kNameListCount; ++list) {
    for (int value = 0; value < GetNameListSize(list); ++value) {
      const std::string name = GetNameListEntry(list, value);
      const bool ascii = std::all_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x80;
      });
      const bool expectedAccent =
          (list == kNameListPerformanceStylesDisplay || list == kNameListPerformanceStylesShown) &&
          value == 12;
      EXPECT_EQ(ascii, !expectedAccent) << list << "/" << value;
    }
  }
}

// Within each list every name finds its own value again, so no list holds a name twice.
TEST(NameListsTest, EveryNameFindsItsValue) {
  for (int list = 0; list < kNameListCount; ++list) {
    for (int value = 0; value < GetNameListSize(list); ++value) {
      const char* name = GetNameListEntry(list, value);
      EXPECT_EQ(FindNameListEntry(list, name, false, -1), value) << list << " " << name;
      EXPECT_EQ(FindNameListEntry(list, name, true, -1), value) << list << " " << name;
    }
  }
}

struct FindCase {
  int list;
  const char* name;
  bool ignoreCase;
  int value;
};

TEST(NameListsTest, ValueByName) {
  const FindCase cases[] = {
      {kNameListClefs, "Bass", false, 1},
      {kNameListClefs, "bass", false, -1},
      {kNameListClefs, "bass", true, 1},
      {kNameListClefs, "BASS", true, 1},
      {kNameListClefs, "Bas", true, -1},     // no prefix matches
      {kNameListClefs, "Bass ", true, -1},
      {kNameListClefs, "", true, -1},        // the list's end marker is not a name
      {kNameListDynamicsText, "FF", true, 6},
      {kNameListDynamicsText, "FF", false, -1},
      {kNameListPerformanceStylesShown, "PI\xD9 MOSSO", true, 12},  // U with grave folds
      {kNameListPerformanceStylesShown, "pi\xD9 mosso", false, -1},
      {kNameListPerformanceStylesShown, "piu mosso", true, -1},
      {kNameListPerformanceStylesShown, "pi\xC3\xB9 mosso", true, -1},  // UTF-8 is not 1252
      {kNameListBarStylesText, "MasterRepeatClose", false, 9},
      {kNameListBarStylesText, "Master Repeat Close", true, -1},  // the display list's name
  };
  for (const FindCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FindNameListEntry(c.list, c.name, c.ignoreCase, -1), c.value);
  }
}

TEST(NameListsTest, NameWithEmbeddedZeroDoesNotMatchAPrefix) {
  EXPECT_EQ(FindNameListEntry(kNameListClefs, std::string_view("Bass\0x", 6), true, -1), -1);
}

TEST(NameListsTest, WideConstants) {
  const std::u16string expected[] = {u" ", u"-", u"\r\n", u"\r\n\r\n", u"\t", u"[Instr]"};
  for (int i = 0; i < kWideNameCount; ++i) EXPECT_EQ(GetWideNameList(i), expected[i]) << i;
  for (int i : {-1, kWideNameCount, 2147483647}) EXPECT_EQ(GetWideNameList(i), std::u16string());
}

}  // namespace
}  // namespace kvt
