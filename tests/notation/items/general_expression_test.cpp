#include "notation/items/general_expression.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "notation/items/dynamic_level_data.h"
#include "notation/items/dynamic_variance.h"
#include "notation/items/flow_direction.h"
#include "notation/items/generic_control.h"
#include "notation/items/patch_data.h"
#include "notation/items/performance_style.h"
#include "notation/items/sustain_pedal.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/text_expression.h"

namespace kvt {
namespace {

TEST(GeneralExpressionTest, DefaultsByKind) {
  struct Case {
    const char* name;
    std::function<std::unique_ptr<TNtnGeneralExpression>()> make;
    int type;
    float pos;
    bool wide;
  };
  const Case cases[] = {
      {"Text", [] { return std::make_unique<TTextExpression>(); }, kItemText, -8, false},
      {"MPC", [] { return std::make_unique<TGenericControl>(); }, kItemGenericControl, -8, true},
      {"Pedal", [] { return std::make_unique<TSustainPedal>(); }, kItemSustainPedal, 8, true},
      {"Style", [] { return std::make_unique<TPerformanceStyle>(); }, kItemPerformanceStyle, 8, false},
      {"Tempo", [] { return std::make_unique<TTempoData>(); }, kItemTempo, -10, false},
      {"BreathMark", [] { return std::make_unique<TTempoVariance>(kTempoVarBreathMark); },
       kItemTempoVariance, -8, false},
      {"Caesura", [] { return std::make_unique<TTempoVariance>(kTempoVarCaesura); },
       kItemTempoVariance, -4, false},
      {"Fermata", [] { return std::make_unique<TTempoVariance>(kTempoVarFermata); },
       kItemTempoVariance, -9, false},
      {"Ritardando", [] { return std::make_unique<TTempoVariance>(kTempoVarRitardando); },
       kItemTempoVariance, 8, false},
      {"Dynamic", [] { return std::make_unique<TDynamicLevelData>(); }, kItemDynamic, 8, false},
      {"DynamicVariance", [] { return std::make_unique<TDynamicVariance>(); },
       kItemDynamicVariance, 8, false},
      {"Instrument", [] { return std::make_unique<TPatchData>(); }, kItemPatch, -8, true},
      {"Flow", [] { return std::make_unique<TFlowDirection>(); }, kItemFlow, -8, true},
  };
  for (const Case& c : cases) {
    auto item = c.make();
    EXPECT_EQ(item->GetType(), c.type) << c.name;
    EXPECT_FLOAT_EQ(item->GetPos(), c.pos) << c.name;
    EXPECT_EQ(item->IsWide(), c.wide) << c.name;
    EXPECT_EQ(item->GetJustify(), kJustifyLeft) << c.name;
    EXPECT_EQ(item->GetPlacement(), kPlaceBestFit) << c.name;
    EXPECT_TRUE(item->IsExpressionClass()) << c.name;
    EXPECT_FALSE(item->IsSongNoteClass()) << c.name;
    EXPECT_EQ(item->GetDuration(), 0) << c.name;
  }
}

TEST(GeneralExpressionTest, PositionRoundsToHundredthsAndTruncatesToSteps) {
  TSustainPedal pedal;
  pedal.SetPos(2.345);
  EXPECT_FLOAT_EQ(pedal.GetPos(), 2.35f);
  EXPECT_EQ(pedal.GetStaffPos(), 2);
  pedal.SetPos(-2.999);
  EXPECT_EQ(pedal.GetStaffPos(), -3);
  pedal.SetPos(-2.5);
  EXPECT_EQ(pedal.GetStaffPos(), -2);
  pedal.SetStaffPos(-6);
  EXPECT_FLOAT_EQ(pedal.GetPos(), -6.0f);
  EXPECT_EQ(pedal.GetTopPos(), -6);
  EXPECT_EQ(pedal.GetBottomPos(), -6);
}

TEST(GeneralExpressionTest, PlacementFieldsAreMasked) {
  TTextExpression text;
  text.SetJustify(kJustifyRight + 4);
  EXPECT_EQ(text.GetJustify(), kJustifyRight);
  text.SetPlacement(kPlaceAtNextNote);
  EXPECT_EQ(text.GetPlacement(), kPlaceAtNextNote);
  text.SetWide(true);
  EXPECT_TRUE(text.IsWide());
  EXPECT_EQ(text.GetPlacement(), kPlaceAtNextNote);
  EXPECT_EQ(text.GetJustify(), kJustifyRight);
}

}  // namespace
}  // namespace kvt
