#include "notation/items/notated_item.h"

#include <gtest/gtest.h>

#include <memory>

#include "notation/items/chord_data.h"
#include "notation/items/music_note.h"
#include "notation/items/rest_chord.h"
#include "notation/items/rest_note.h"

namespace kvt {
namespace {

// The smallest item kind: answers only its type code.
class TBareItem : public TNotatedItem {
public:
  TNotatedItemType GetType() const override { return kItemSpacer; }
};

TEST(NotatedItemTest, NewItemHasDefaultVisibilityAndColour) {
  TBareItem item;
  EXPECT_EQ(item.GetVisibility(), kVisDefault);
  EXPECT_EQ(item.GetColor(), 0);
}

TEST(NotatedItemTest, VisibilityAndColourShareTheAttributeByte) {
  TBareItem item;
  item.SetVisibility(kVisNever);
  item.SetColor(7);
  EXPECT_EQ(item.GetVisibility(), kVisNever);
  EXPECT_EQ(item.GetColor(), 7);
  item.SetVisibility(kVisTopStaff);
  EXPECT_EQ(item.GetColor(), 7);
}

struct AttributeCase {
  int value;
  int visibility;
  int color;
};

TEST(NotatedItemTest, OutOfRangeAttributesAreMaskedThenBounded) {
  // A colour beyond 7 would index past the drawing colour table (8 + colour); a visibility
  // beyond 5 has no meaning: both read as Default.
  const AttributeCase cases[] = {
      {5, kVisNever, 5},  {6, kVisDefault, 6}, {8, kVisDefault, 0},
      {15, kVisDefault, 0}, {0x13, kVisSingleStaff, 3}, {-1, kVisDefault, 0},
  };
  for (const auto& c : cases) {
    TBareItem item;
    item.SetVisibility(c.value);
    item.SetColor(c.value);
    EXPECT_EQ(item.GetVisibility(), c.visibility) << c.value;
    EXPECT_EQ(item.GetColor(), c.color) << c.value;
  }
}

TEST(NotatedItemTest, BaseSlots) {
  TBareItem item;
  EXPECT_EQ(item.GetMemberCount(), 0);
  EXPECT_EQ(item.GetMember(0), nullptr);
  EXPECT_EQ(item.AsRest(), nullptr);
  EXPECT_FALSE(item.IsSongNoteClass());
  EXPECT_FALSE(item.HasNotes());
  EXPECT_EQ(item.GetDuration(), 0);
  EXPECT_EQ(item.GetTopPos(), item.GetStaffPos());
  TStaffContextState state;
  EXPECT_EQ(item.GetNextPlayIndex(state, nullptr, 4), 5);
}

TEST(NotatedItemTest, AssignAcrossKindsCopiesOnlyTheAttributes) {
  TBareItem bare;
  bare.SetVisibility(kVisAlways);
  bare.SetColor(3);
  TMusicNote note(4, kDurEighth, kMaskStaccato, kAccFlat);
  note.Assign(bare);
  EXPECT_EQ(note.GetVisibility(), kVisAlways);
  EXPECT_EQ(note.GetColor(), 3);
  EXPECT_EQ(note.GetStaffPos(), 4);
  EXPECT_EQ(note.GetDurationCode(), kDurEighth);
  EXPECT_EQ(note.GetFlags(), kMaskStaccato);

  TRestNote rest(kDurHalf, 0);
  rest.SetVisibility(kVisNever);
  bare.Assign(rest);
  EXPECT_EQ(bare.GetVisibility(), kVisNever);
  EXPECT_EQ(bare.GetColor(), 0);
}

struct KindCase {
  const char* name;
  std::unique_ptr<TNotatedItem> item;
  int type;
  bool musicNote, songNote, hasNotes, rest;
  int members;
};

TEST(NotatedItemTest, KindPredicatesAndTypeCodes) {
  auto restChordWithPart = std::make_unique<TRestChord>(kDurQuarter, 0);
  auto part = std::make_unique<TMusicNote>(-2, kDurQuarter, 0, kAccNone);
  ASSERT_TRUE(restChordWithPart->AttachNote(part));
  KindCase cases[] = {
      {"note", std::make_unique<TMusicNote>(0, kDurQuarter, 0, kAccNone), kItemNote, true, true,
       true, false, 1},
      {"rest", std::make_unique<TRestNote>(kDurQuarter, 0), kItemRest, false, true, false, true,
       0},
      {"chord", std::make_unique<TChordData>(std::make_unique<TMusicNote>(0, kDurQuarter, 0, kAccNone),
                                             std::make_unique<TMusicNote>(-2, kDurQuarter, 0, kAccNone)),
       kItemChord, true, true, true, false, 2},
      {"rest chord", std::make_unique<TRestChord>(kDurQuarter, 0), kItemRestChord, false, true,
       false, true, 0},
      {"rest chord with part", std::move(restChordWithPart), kItemRestChord, false, true, true,
       true, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.item->GetType(), c.type);
    EXPECT_EQ(c.item->IsMusicNoteClass(), c.musicNote);
    EXPECT_EQ(c.item->IsSongNoteClass(), c.songNote);
    EXPECT_EQ(c.item->HasNotes(), c.hasNotes);
    EXPECT_EQ(c.item->IsRestClass(), c.rest);
    EXPECT_EQ(c.item->AsRest() != nullptr, c.rest);
    EXPECT_FALSE(c.item->IsExpressionClass());
    EXPECT_EQ(c.item->GetMemberCount(), c.members);
    EXPECT_EQ(c.item->GetMember(c.members), nullptr);
    EXPECT_EQ(c.item->GetMember(-1), nullptr);
  }
}

TEST(NotatedItemTest, FindMemberAtPosWalksFromTheLowestNote) {
  TChordData chord(std::make_unique<TMusicNote>(2, kDurQuarter, 0, kAccNone),
                   std::make_unique<TMusicNote>(0, kDurQuarter, 0, kAccNone));
  auto member = std::make_unique<TMusicNote>(-2, kDurQuarter, 0, kAccNone);
  ASSERT_TRUE(chord.AddNote(member));
  EXPECT_EQ(chord.FindMemberAtPos(0), chord.GetMember(1));
  EXPECT_EQ(chord.FindMemberAtPos(-2), chord.GetMember(2));
  EXPECT_EQ(chord.FindMemberAtPos(1), nullptr);
  EXPECT_EQ(chord.FindMemberAtPos(5), nullptr);
}

TEST(NotatedItemTest, FindTieMemberMatchesAccidentalAndDirection) {
  TMusicNote note(3, kDurQuarter, kMaskTieOut, kAccSharp);
  EXPECT_EQ(note.FindTieMember(3, false, kAccSharp, false), &note);
  EXPECT_EQ(note.FindTieMember(3, false, kAccNone, false), &note);
  EXPECT_EQ(note.FindTieMember(3, false, kAccFlat, false), nullptr);
  EXPECT_EQ(note.FindTieMember(3, true, kAccSharp, false), nullptr);
  EXPECT_EQ(note.FindTieMember(2, false, kAccSharp, false), nullptr);

  // A hidden note that both continues and ties on ends a search that asks to stop there.
  note.SetTieIn(true);
  note.SetVisibility(kVisNever);
  EXPECT_EQ(note.FindTieMember(3, true, kAccNone, false), &note);
  EXPECT_EQ(note.FindTieMember(3, true, kAccNone, true), nullptr);
}

}  // namespace
}  // namespace kvt
