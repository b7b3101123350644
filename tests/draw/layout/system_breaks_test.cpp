// Re-laying a score from an edited system until its breaks meet the old ones.

#include "draw/layout/system_breaks.h"

#include <gtest/gtest.h>

#include <memory>

#include "draw/music_fonts.h"
#include "draw/staff_color_handles.h"
#include "notation/context/staff_context_state.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_fonts_data.h"
#include "notation/staff/music_score.h"
#include "tests/notation/staff_builder.h"

namespace kvt {
namespace {

using test::TStaffBuilder;

class SystemBreaksTest : public ::testing::Test {
protected:
  void SetUp() override {
    fonts = std::make_unique<TMusicFonts>(data, colors, 20);
    for (int s = 0; s < 2; ++s) {
      score.AddStaff(std::make_unique<TMusicStaff>());
      TStaffBuilder b(*score.GetStaff(s));
      for (int bar = 0; bar < 60; ++bar) {
        for (int i = 0; i < 4; ++i) b.Note(0);
        if (bar + 1 < 60) b.Bar();
      }
    }
    layout = std::make_unique<TScoreDrawInfo>(score, *fonts, kDrawModePrint);
    layout->AddStaff(0);
    layout->AddStaff(1);
  }

  TMusicFontsData data;
  TStaffColorHandles colors;
  std::unique_ptr<TMusicFonts> fonts;
  TMusicScore score;
  std::unique_ptr<TScoreDrawInfo> layout;
  TSystemBreaks breaks;
};

TEST_F(SystemBreaksTest, AnEditThatKeepsTheWidthsReLaysOneSystem) {
  const int systems = breaks.Build(*layout, 3000);
  ASSERT_GT(systems, 3);
  const int middle = systems / 2;
  const int item = breaks.GetStarts(middle)[0].itemIndex + 2;
  auto* note = ItemAs<TMusicNote>(score.GetStaff(0)->GetItem(item));
  ASSERT_NE(note, nullptr);
  note->SetStaffPos(-3);
  EXPECT_EQ(breaks.FindSystem(item), middle);
  EXPECT_EQ(breaks.Relayout(*layout, 3000, middle), 1);
  EXPECT_EQ(breaks.GetSystemCount(), systems);
}

TEST_F(SystemBreaksTest, AWiderBarPushesTheBreaksOnUntilTheScoreEnds) {
  const int systems = breaks.Build(*layout, 3000);
  const std::vector<TLayoutStart> last = breaks.GetStarts(systems - 1);
  // Many more notes in the first bar of both staves move every later break.
  for (int s = 0; s < 2; ++s) {
    TMusicStaff& staff = *score.GetStaff(s);
    for (int i = 0; i < 40; ++i)
      staff.InsertItem(std::make_unique<TMusicNote>(0, kDurQuarter, 0, kAccNone), 1);
    breaks.ShiftItems(s, 1, 40);
  }
  const int relaid = breaks.Relayout(*layout, 3000, 0);
  EXPECT_GT(relaid, 1);
  EXPECT_GE(breaks.GetSystemCount(), systems);
  std::vector<TLayoutStart> shifted = last;
  for (TLayoutStart& start : shifted) start.itemIndex += 40;
  EXPECT_NE(breaks.GetStarts(breaks.GetSystemCount() - 1), shifted);
}

}  // namespace
}  // namespace kvt
