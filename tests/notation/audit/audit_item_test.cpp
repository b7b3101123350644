#include "notation/items/item_cast.h"
#include "notation/audit/audit_item.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "notation/audit/audit_ntn_idx.h"
#include "notation/items/clef_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/context/instrument_def.h"
#include "notation/items/key_data.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/items/patch_data.h"
#include "notation/index/rel_ntn_idx.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/time_signature_data.h"
#include "tests/notation/audit_staff_fixture.h"

namespace kvt {
namespace {

using test::TAuditStaff;

// Letter bits of the key masks (bit 0 A ... bit 6 G).
constexpr int kB = 1 << 1;
constexpr int kC = 1 << 2;
constexpr int kE = 1 << 4;
constexpr int kF = 1 << 5;

TEST(AuditKeyTest, KeysRecordTheClefAndTheKeyTheyCancel) {
  TAuditStaff built;
  built.Add<TClefData>(kClefBass);
  TKeyData* dMajor = built.Add<TKeyData>(kF | kC, 0);
  built.Note(0);
  built.Bar();
  built.Add<TClefData>(kClefAlto);
  TKeyData* bFlatMajor = built.Add<TKeyData>(0, kB | kE);
  built.Note(0);
  // Stale values the audit must replace.
  dMajor->SetPrevMasks(kB, kB);
  dMajor->SetClef(kClefTenor);

  built.AuditAll();
  EXPECT_EQ(dMajor->GetClef(), kClefBass);
  EXPECT_EQ(dMajor->GetPrevSharpsMask(), 0);
  EXPECT_EQ(dMajor->GetPrevFlatsMask(), 0);
  EXPECT_EQ(bFlatMajor->GetClef(), kClefAlto);
  EXPECT_EQ(bFlatMajor->GetPrevSharpsMask(), kF | kC);
  EXPECT_EQ(bFlatMajor->GetPrevFlatsMask(), 0);
  EXPECT_EQ(bFlatMajor->GetCancelledSharps(), kF | kC);
}

TEST(AuditBarLineTest, ABarLineOpensABarOnlyWhenSomethingTakingTimeFollowsIt) {
  TAuditStaff built;
  built.Note(0);
  TBarLineData* beforeRest = built.Bar();
  built.Rest();
  TBarLineData* beforeText = built.Bar();
  built.Add<TKeyData>();  // takes no time
  TBarLineData* beforeMultiRest = built.Bar();
  built.Add<TMultiMeasureRest>(3);
  TBarLineData* doubled = built.Bar();
  TBarLineData* beforeNote = built.Bar(kBarDouble);
  built.Note(2);
  // Stale marks the other way round.
  for (TBarLineData* bar : {beforeRest, beforeMultiRest, beforeNote})
    bar->SetNotABar(true);
  beforeText->SetNotABar(false);
  doubled->SetNotABar(false);

  built.AuditAll();
  EXPECT_FALSE(ItemAs<TBarLineData>(built.staff.GetItem(0))->IsNotABar());
  EXPECT_FALSE(beforeRest->IsNotABar());
  EXPECT_TRUE(beforeText->IsNotABar());
  EXPECT_FALSE(beforeMultiRest->IsNotABar());
  EXPECT_TRUE(doubled->IsNotABar());
  EXPECT_FALSE(beforeNote->IsNotABar());
  EXPECT_TRUE(ItemAs<TBarLineData>(built.staff.GetLastItem())->IsNotABar());

  // Bar counting follows: bars 1, 2, 3 (+2 inside the multi-bar rest), and the last one.
  TRelNtnIdx walk(&built.staff);
  walk.GoLast();
  EXPECT_EQ(walk.GetBarCount(true), 6);
}

struct TMultiRestCase {
  int beats;
  int exponent;
  int barTicks;
};

TEST(AuditMultiBarRestTest, MultiBarRestsTakeTheBarOfTheTimeSignatureInForce) {
  const TMultiRestCase cases[] = {{4, 2, 768}, {3, 2, 576}, {6, 3, 576}, {5, 4, 240}, {2, 1, 768}};
  for (const TMultiRestCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.beats) + "/" + std::to_string(1 << c.exponent));
    TAuditStaff built;
    built.Add<TTimeSignatureData>(c.beats, c.exponent);
    TMultiMeasureRest* rest = built.Add<TMultiMeasureRest>(4);
    built.AuditAll();
    EXPECT_EQ(rest->GetBarTicks(), c.barTicks);
    EXPECT_EQ(rest->GetDuration(), 4 * c.barTicks);
  }
}

TEST(AuditMultiBarRestTest, WithoutATimeSignatureABarIsFourQuarters) {
  TAuditStaff built;
  TMultiMeasureRest* rest = built.Add<TMultiMeasureRest>(2);
  rest->SetBarTicks(3, 2);
  built.AuditAll();
  EXPECT_EQ(rest->GetBarTicks(), 768);
}

TEST(AuditDynamicTest, DynamicsWithoutVelocityTakeTheInstrumentsVelocityForTheirLevel) {
  TAuditStaff built;
  TInstrumentDef own;
  own.SetDynamicVelocity(kDynP, 33);
  built.staff.SetInstrument(own);
  TDynamicLevelData* piano = built.Add<TDynamicLevelData>(kDynP);
  TDynamicLevelData* fff = built.Add<TDynamicLevelData>(kDynFFF);
  TDynamicLevelData* explicitMf = built.Add<TDynamicLevelData>(kDynMF);
  explicitMf->SetHasVelocity(true);
  explicitMf->SetVelocity(99);
  built.Note(0);
  TInstrumentDef changed;
  changed.SetDynamicVelocity(kDynP, 51);
  built.Add<TPatchData>(&changed);
  TDynamicLevelData* pianoAfterChange = built.Add<TDynamicLevelData>(kDynP);
  built.Note(0);

  built.AuditAll();
  EXPECT_EQ(piano->GetVelocity(), 33);
  EXPECT_FALSE(piano->HasVelocity());
  EXPECT_EQ(fff->GetVelocity(), TInstrumentDef::GetDefaultDynamicVelocity(kDynFFF));
  EXPECT_EQ(explicitMf->GetVelocity(), 99);
  EXPECT_EQ(pianoAfterChange->GetVelocity(), 51);
}

TEST(AuditDynamicTest, ALevelOutsideTheTableGetsNoVelocity) {
  TAuditStaff built;
  TDynamicLevelData* odd = built.Add<TDynamicLevelData>(kDynMF);
  odd->SetLevel(12);
  odd->SetVelocity(40);
  built.AuditAll();
  EXPECT_EQ(odd->GetVelocity(), 0);
}

struct TRamp {
  int from;
  int to;
  int span;
  bool operator==(const TRamp&) const = default;
};
std::ostream& operator<<(std::ostream& out, const TRamp& r) {
  return out << r.from << "->" << r.to << " over " << r.span;
}
TRamp RampOf(const TTempoVariance* v) { return {v->GetRampFrom(), v->GetRampTo(), v->GetRampSpan()}; }

TEST(AuditTempoTest, ATempoAfterAGradualVarianceEndsItsRamp) {
  TAuditStaff built;
  built.Add<TTempoData>(80, kTempoQuarterDotted);  // 120 quarters a minute
  built.Note(0);
  TTempoVariance* rit = built.Add<TTempoVariance>(kTempoVarRitardando);
  built.Note(0, kDurHalf);
  built.Bar();
  built.Note(0, kDurQuarter);
  built.Add<TTempoData>(60);
  built.Note(0);

  built.AuditAll();
  EXPECT_EQ(RampOf(rit), (TRamp{120, 60, 576}));
}

TEST(AuditTempoTest, RampCases) {
  // Before any tempo mark the variance starts from the tempo play starts with.
  {
    TAuditStaff built;
    TTempoVariance* accel = built.Add<TTempoVariance>(kTempoVarAccelerando);
    built.Note(0, kDurWhole);
    built.Add<TTempoData>(150);
    built.AuditAll();
    EXPECT_EQ(RampOf(accel), (TRamp{kAuditDefaultQuarterTempo, 150, 768}));
  }
  // Without a tempo after it the ramp has no length (a stale one is cleared).
  {
    TAuditStaff built;
    built.Add<TTempoData>(100);
    TTempoVariance* rall = built.Add<TTempoVariance>(kTempoVarRallentando);
    rall->SetRamp(100, 50, 999);
    built.Note(0, kDurWhole);
    built.AuditAll();
    EXPECT_EQ(rall->GetRampSpan(), 0);
  }
  // A tempo between the variance and the later tempo ends the ramp; the later one starts
  // none.
  {
    TAuditStaff built;
    TTempoVariance* rit = built.Add<TTempoVariance>(kTempoVarRitardando);
    built.Note(0);
    built.Add<TTempoData>(90);
    built.Note(0);
    built.Add<TTempoData>(70);
    built.AuditAll();
    EXPECT_EQ(RampOf(rit), (TRamp{120, 90, 192}));
  }
  // A tempo beyond what the ramp holds (a damaged file) is held at the largest, not wrapped.
  {
    TAuditStaff built;
    TTempoVariance* accel = built.Add<TTempoVariance>(kTempoVarStringendo);
    built.Note(0);
    built.Add<TTempoData>(100000);
    built.AuditAll();
    EXPECT_EQ(RampOf(accel), (TRamp{120, 0xFFFF, 192}));
  }
  // A fermata is no ramp: the tempo after it leaves it alone.
  {
    TAuditStaff built;
    built.Add<TTempoData>(100);
    TTempoVariance* fermata = built.Add<TTempoVariance>(kTempoVarFermata);
    built.Note(0);
    built.Add<TTempoData>(60);
    built.AuditAll();
    EXPECT_EQ(RampOf(fermata), (TRamp{0, 0, 0}));
  }
}

}  // namespace
}  // namespace kvt
