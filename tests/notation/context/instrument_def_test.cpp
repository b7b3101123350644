#include "notation/context/instrument_def.h"

#include <gtest/gtest.h>

#include <string>

namespace kvt {
namespace {

TEST(InstrumentDefTest, ResetValues) {
  const TInstrumentDef def;
  EXPECT_EQ(std::u16string(def.GetName()), u"");
  EXPECT_FALSE(def.HasBank());
  EXPECT_FALSE(def.HasPatch());
  EXPECT_EQ(def.GetPatch(), -1);
  EXPECT_EQ(def.GetTransposition(), 0);
  EXPECT_FALSE(def.HasBendRange());
  const int velocities[] = {10, 30, 45, 60, 75, 92, 108, 127};
  for (int level = 0; level < 8; ++level) {
    EXPECT_EQ(def.GetDynamicVelocity(level), velocities[level]);
    EXPECT_EQ(TInstrumentDef::GetDefaultDynamicVelocity(level), velocities[level]);
  }
  EXPECT_EQ(TInstrumentDef::GetDefaultDynamicVelocity(8), 0);
  EXPECT_EQ(TInstrumentDef::GetDefaultDynamicVelocity(-1), 0);
}

TEST(InstrumentDefTest, PatchBankAndBendRange) {
  TInstrumentDef def;
  def.SetPatch(0);
  EXPECT_TRUE(def.HasPatch());
  EXPECT_EQ(def.GetPatch(), 0);
  def.SetBank(3, 70);
  EXPECT_TRUE(def.HasBank());
  EXPECT_EQ(def.GetBank(), 3 * 128 + 70);
  EXPECT_EQ(def.GetBankMSB(), 3);
  EXPECT_EQ(def.GetBankLSB(), 70);
  def.ClearBank();
  EXPECT_FALSE(def.HasBank());
  def.SetBendRange(-3);
  EXPECT_FALSE(def.HasBendRange());
  EXPECT_EQ(def.GetBendRange(), -1);
  def.SetBendRange(12);
  EXPECT_EQ(def.GetBendRange(), 12);
  def.ClearBendRange();
  EXPECT_EQ(def.GetBendRange(), -1);
}

TEST(InstrumentDefTest, ValuesThatBecomeMidiDataStayInRange) {
  TInstrumentDef def;
  def.SetPatch(500);
  EXPECT_EQ(def.GetPatch(), 127);
  def.SetPatch(-1);
  EXPECT_FALSE(def.HasPatch());
  def.SetBank(200, -4);
  EXPECT_EQ(def.GetBankMSB(), 127);
  EXPECT_EQ(def.GetBankLSB(), 0);
  def.SetBendRange(254);  // would otherwise be no valid data byte
  EXPECT_EQ(def.GetBendRange(), 127);
  def.SetDynamicVelocity(2, 300);
  EXPECT_EQ(def.GetDynamicVelocity(2), 127);
  def.SetDynamicVelocity(3, -8);
  EXPECT_EQ(def.GetDynamicVelocity(3), 0);
  def.SetDynamicVelocity(8, 50);  // no such level: nothing stored anywhere
  def.SetDynamicVelocity(-1, 50);
  EXPECT_EQ(def.GetDynamicVelocity(8), 0);
  EXPECT_EQ(def.GetDynamicVelocity(7), 127);
  def.SetTransposition(-200);
  EXPECT_EQ(def.GetTransposition(), -128);
}

TEST(InstrumentDefTest, NameIsCutToFortySevenUnits) {
  TInstrumentDef def;
  def.SetName(std::u16string(60, u'x'));
  EXPECT_EQ(std::u16string(def.GetName()), std::u16string(47, u'x'));
  def.SetName(u"Oboe");
  EXPECT_EQ(std::u16string(def.GetName()), u"Oboe");
}

TEST(InstrumentDefTest, NameCutNeverSplitsASurrogatePair) {
  TInstrumentDef def;
  // 46 units, then U+1D11E (two units) across the limit.
  const std::u16string name = std::u16string(46, u'a') + u"\U0001D11E" + u"b";
  def.SetName(name);
  EXPECT_EQ(std::u16string(def.GetName()), std::u16string(46, u'a'));
  // A pair that fits stays whole.
  def.SetName(std::u16string(45, u'a') + u"\U0001D11E");
  EXPECT_EQ(std::u16string(def.GetName()), std::u16string(45, u'a') + u"\U0001D11E");
}

TEST(InstrumentDefTest, CopiesCompareEqual) {
  TInstrumentDef a;
  a.SetName(u"Strings");
  a.SetPatch(48);
  TInstrumentDef b = a;
  EXPECT_TRUE(a == b);
  b.SetDynamicVelocity(0, 11);
  EXPECT_FALSE(a == b);
}

}  // namespace
}  // namespace kvt
