// Re-laying a score from an edited system until its breaks meet the old ones.

#include "draw/layout/system_breaks.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "draw/music_fonts.h"
#include "draw/staff_color_handles.h"
#include "notation/context/staff_context_state.h"
#include "notation/items/clef_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/items/staff_sizer.h"
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

// What one system of the layout shows: its height, and each staff's positions and widths.
struct TSystemShape {
  int height = 0;
  std::vector<std::vector<std::pair<int, int>>> staves;  // item index and width per position
  bool operator==(const TSystemShape&) const = default;
};

TSystemShape ShapeOf(const TScoreDrawInfo& layout) {
  TSystemShape shape;
  shape.height = layout.GetTotalHeight();
  for (int i = 0; i < layout.GetStaffCount(); ++i) {
    const TStaffDrawInfo& s = *layout.GetStaffDrawInfo(i);
    auto& staff = shape.staves.emplace_back();
    for (int n = 0; n < s.GetDrawPosCount(); ++n)
      staff.emplace_back(s.PositionAt(n)->GetItemIndex(), s.PositionAt(n)->GetWidth());
  }
  return shape;
}

TEST_F(SystemBreaksTest, ReLayingASystemInAnyOrderGivesWhatAFreshLayoutGives) {
  // Boundary sizes and clefs change along the first staff, so both the boundary fitting and
  // the signatures at a system start depend on everything before it.
  TMusicStaff& staff = *score.GetStaff(0);
  int bars = 0;
  for (int i = staff.GetLastIndex() - 1; i > 1; --i) {
    if (staff.GetItem(i)->GetType() != kItemBarLine) continue;
    ++bars;
    if (bars % 5 == 0) {
      auto sizer = std::make_unique<TStaffSizer>();
      sizer->SetStyle(kSizerNewSize);
      sizer->SetNewSize(8 + bars % 11, 6 + bars % 7);
      staff.InsertItem(std::move(sizer), i + 1);
    }
    if (bars % 7 == 0) staff.InsertItem(std::make_unique<TClefData>(bars % 2), i + 1);
  }
  const int width = 3000;
  const int systems = breaks.Build(*layout, width);
  ASSERT_GT(systems, 6);
  auto fresh = [&](int system) {
    TScoreDrawInfo other(score, *fonts, kDrawModePrint);
    other.AddStaff(0);
    other.AddStaff(1);
    other.LayoutStavesFromItems(breaks.GetStarts(system), width);
    other.BreakAndJustify(width);
    return ShapeOf(other);
  };
  std::vector<TSystemShape> expected;
  for (int system = 0; system < systems; ++system) expected.push_back(fresh(system));
  for (int system : {systems - 1, 0, systems / 2, 1, systems - 2, 3, systems - 1}) {
    EXPECT_EQ(breaks.Relayout(*layout, width, system), 1) << system;
    EXPECT_TRUE(ShapeOf(*layout) == expected[static_cast<size_t>(system)]) << system;
  }

  // A collapse inserted early, never ended, changes every later system once the layout is
  // told: the first staff collapses there.
  auto collapse = std::make_unique<TStaffSizer>();
  collapse->SetStyle(kSizerCollapse);
  staff.InsertItem(std::move(collapse), 2);
  layout->GetStaffDrawInfo(0)->StaffChanged(2);
  breaks.ShiftItems(0, 2, 1);
  const int later = systems / 2;
  breaks.Relayout(*layout, width, 0);
  layout->LayoutStavesFromItems(breaks.GetStarts(later), width);
  layout->BreakAndJustify(width);
  EXPECT_TRUE(ShapeOf(*layout) == fresh(later));
  EXPECT_LT(layout->GetTotalHeight(), expected[static_cast<size_t>(later)].height);
}

}  // namespace
}  // namespace kvt
