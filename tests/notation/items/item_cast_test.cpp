#include "notation/items/item_cast.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/dynamic_variance.h"
#include "notation/items/flow_direction.h"
#include "notation/items/generic_control.h"
#include "notation/items/key_data.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/items/notation_marker.h"
#include "notation/items/patch_data.h"
#include "notation/items/performance_style.h"
#include "notation/items/repeat_ending.h"
#include "notation/items/rest_chord.h"
#include "notation/items/staff_sizer.h"
#include "notation/items/staff_spacer.h"
#include "notation/items/sustain_pedal.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/text_expression.h"
#include "notation/items/time_signature_data.h"
#include "notation/items/user_object.h"
#include "utils/precondition.h"

namespace kvt {
namespace {

// One item of every kind, in type-code order.
std::vector<std::unique_ptr<TNotatedItem>> OneOfEachKind() {
  std::vector<std::unique_ptr<TNotatedItem>> items;
  items.push_back(std::make_unique<TClefData>(kClefTreble));
  items.push_back(std::make_unique<TKeyData>());
  items.push_back(std::make_unique<TBarLineData>());
  items.push_back(std::make_unique<TSpecialEnding>());
  items.push_back(std::make_unique<TPatchData>());
  items.push_back(std::make_unique<TTimeSignatureData>(4, 2));
  items.push_back(std::make_unique<TTempoData>(96));
  items.push_back(std::make_unique<TDynamicLevelData>(kDynMF));
  items.push_back(std::make_unique<TMusicNote>(0, kDurQuarter, 0, kAccNone));
  items.push_back(std::make_unique<TRestNote>(kDurQuarter, 0));
  items.push_back(std::make_unique<TChordData>());
  items.push_back(std::make_unique<TSustainPedal>(true));
  items.push_back(std::make_unique<TFlowDirection>(kFlowCoda));
  items.push_back(std::make_unique<TGenericControl>());
  items.push_back(std::make_unique<TTempoVariance>(kTempoVarFermata));
  items.push_back(std::make_unique<TDynamicVariance>(kDynVarSforzando));
  items.push_back(std::make_unique<TPerformanceStyle>(12));
  items.push_back(std::make_unique<TTextExpression>());
  items.push_back(std::make_unique<TRestChord>(kDurQuarter, 0));
  items.push_back(std::make_unique<TKVTUserObject>());
  items.push_back(std::make_unique<TStaffSpacer>(0));
  items.push_back(std::make_unique<TMultiMeasureRest>());
  items.push_back(std::make_unique<TStaffSizer>());
  items.push_back(std::make_unique<TNotationMarker>());
  return items;
}

// The kinds ItemAs<T> takes, asked of every item, against what the item says of itself.
struct TClassCase {
  const char* name;
  std::function<bool(const TNotatedItem&)> cast;
  std::function<bool(const TNotatedItem&)> expected;
};

template <class T>
TClassCase Exact(const char* name) {
  return {name, [](const TNotatedItem& item) { return ItemAs<T>(&item) != nullptr; },
          [](const TNotatedItem& item) { return item.GetType() == T::kType; }};
}

TEST(ItemCastTest, EveryClassTakesItsKindsOnly) {
  const auto items = OneOfEachKind();
  ASSERT_EQ(static_cast<int>(items.size()), kItemTypeCount);
  for (int i = 0; i < kItemTypeCount; ++i) EXPECT_EQ(items[i]->GetType(), i);

  const TClassCase cases[] = {
      Exact<TClefData>("Clef"),
      Exact<TKeyData>("Key"),
      Exact<TBarLineData>("BarLine"),
      Exact<TSpecialEnding>("Ending"),
      Exact<TPatchData>("Patch"),
      Exact<TTimeSignatureData>("TimeSig"),
      Exact<TTempoData>("Tempo"),
      Exact<TDynamicLevelData>("Dynamic"),
      Exact<TChordData>("Chord"),
      Exact<TSustainPedal>("Pedal"),
      Exact<TFlowDirection>("Flow"),
      Exact<TGenericControl>("Control"),
      Exact<TTempoVariance>("TempoVariance"),
      Exact<TDynamicVariance>("DynamicVariance"),
      Exact<TPerformanceStyle>("PerformanceStyle"),
      Exact<TTextExpression>("Text"),
      Exact<TRestChord>("RestChord"),
      Exact<TKVTUserObject>("User"),
      Exact<TStaffSpacer>("Spacer"),
      Exact<TMultiMeasureRest>("MultiBarRest"),
      Exact<TStaffSizer>("Sizer"),
      Exact<TNotationMarker>("Marker"),
      // The classes other kinds derive from agree with the kind predicates.
      {"MusicNote", [](const TNotatedItem& item) { return ItemAs<TMusicNote>(&item) != nullptr; },
       [](const TNotatedItem& item) { return item.IsMusicNoteClass(); }},
      {"RestNote", [](const TNotatedItem& item) { return ItemAs<TRestNote>(&item) != nullptr; },
       [](const TNotatedItem& item) { return item.IsRestClass(); }},
      {"SongNote", [](const TNotatedItem& item) { return ItemAs<TSongNote>(&item) != nullptr; },
       [](const TNotatedItem& item) { return item.IsSongNoteClass(); }},
      {"Expression",
       [](const TNotatedItem& item) { return ItemAs<TNtnGeneralExpression>(&item) != nullptr; },
       [](const TNotatedItem& item) { return item.IsExpressionClass(); }},
  };
  for (const TClassCase& c : cases) {
    for (const auto& item : items) {
      EXPECT_EQ(c.cast(*item), c.expected(*item)) << c.name << " asked of type " << item->GetType();
    }
  }
  EXPECT_EQ(ItemAs<TMusicNote>(static_cast<TNotatedItem*>(nullptr)), nullptr);
}

TEST(ItemCastTest, ItemRefRefusesAnotherKind) {
  TTempoData tempo(96);
  TNotatedItem& item = tempo;
  EXPECT_EQ(&ItemRef<TTempoData>(item), &tempo);
  EXPECT_EQ(&ItemRef<TNtnGeneralExpression>(item), &tempo);
  EXPECT_THROW(ItemRef<TMusicNote>(item), TPreconditionError);
}

TEST(ItemCastTest, TakeItemAsLeavesAMismatchWithTheCaller) {
  std::unique_ptr<TNotatedItem> owned = std::make_unique<TRestNote>(kDurQuarter, 0);
  EXPECT_EQ(TakeItemAs<TMusicNote>(owned), nullptr);
  ASSERT_NE(owned, nullptr);
  TNotatedItem* raw = owned.get();
  std::unique_ptr<TRestNote> rest = TakeItemAs<TRestNote>(owned);
  EXPECT_EQ(rest.get(), raw);
  EXPECT_EQ(owned, nullptr);
}

}  // namespace
}  // namespace kvt
