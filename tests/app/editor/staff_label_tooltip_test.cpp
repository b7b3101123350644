// The label pane's tooltip text: the name alone for an empty staff, else the bar where the
// view starts with the clef, key and time signature in force there.

#include "app/editor/staff_label_tooltip.h"

#include <gtest/gtest.h>

#include <memory>

#include "notation/context/staff_context_state.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

TEST(StaffLabelTooltipTest, NameClefKeyAndTimeWhereTheViewStarts) {
  TMusicScore score;
  score.AddStaff(std::make_unique<TMusicStaff>());
  score.AddStaff(std::make_unique<TMusicStaff>());
  score.GetStaff(0)->SetName(u"Empty");
  TMusicStaff& staff = *score.GetStaff(1);
  staff.SetName(u"Fl\u00f6te");
  test::TStaffBuilder b(staff);
  b.Clef(kClefTreble);
  b.Key(2);
  b.TimeSig(3, 2);
  for (int i = 0; i < 3; ++i) b.Note(0);  // items 4..6
  b.Bar();                                // 7
  b.Clef(kClefBass);                      // 8
  b.Key(-3);                              // 9
  b.TimeSig(6, 3);                        // 10
  b.Note(0);                              // 11

  struct Case {
    int staff;
    int item;
    const char* text;
  };
  const Case cases[] = {
      {0, 1, "Empty"},
      {1, 0, "Fl\u00f6te from bar 1, Treble clef, 4/4 time"},
      {1, 4, "Fl\u00f6te from bar 1, Treble clef, F#, C# in key, 3/4 time"},
      {1, 11, "Fl\u00f6te from bar 2, Bass clef, Bb, Eb, Ab in key, 6/8 time"},
      {1, 999, "Fl\u00f6te from bar 2, Bass clef, Bb, Eb, Ab in key, 6/8 time"},
      {2, 1, ""},
      {-1, 1, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(StaffLabelTooltip(score, c.staff, c.item), c.text) << c.staff << " " << c.item;
}

}  // namespace
}  // namespace kvt
