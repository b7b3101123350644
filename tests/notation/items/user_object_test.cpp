#include "notation/items/user_object.h"

#include <gtest/gtest.h>

#include <string>

#include "notation/items/clef_data.h"
#include "midi/events/midi_file_buf.h"
#include "notation/context/staff_context_state.h"
#include "utils/variant.h"

namespace kvt {
namespace {

TEST(UserObjectTest, NewObjectDefaults) {
  TKVTUserObject object("Glissando");
  EXPECT_EQ(object.GetType(), kItemUserObject);
  EXPECT_EQ(object.GetTypeName(), "Glissando");
  EXPECT_FLOAT_EQ(object.GetPos(), -7.0f);
  EXPECT_EQ(object.GetStaffPos(), -7);
  EXPECT_EQ(object.GetClass(), kUserClassStandard);
  EXPECT_EQ(object.GetParamCount(), 0);
  EXPECT_FALSE(object.IsSelector());
  EXPECT_TRUE(TKVTUserObject(".selector").IsSelector());
  EXPECT_EQ(TKVTUserObject(std::string(100, 'n')).GetTypeName(), std::string(63, 'n'));
}

TEST(UserObjectTest, NoContextEffectMidiOrDuration) {
  TKVTUserObject object("X");
  TStaffContextState fresh;
  TStaffContextState state;
  TMidiFileBuf buffer(4);
  object.Perform(state, &buffer);
  object.ApplyToContext(state);
  EXPECT_EQ(state, fresh);
  EXPECT_TRUE(buffer.IsEmpty());
  EXPECT_EQ(object.GetDuration(), 0);
}

TEST(UserObjectTest, NameRules) {
  struct Case {
    const char* name;
    bool type, userType;
  };
  const Case cases[] = {
      {"Trill-line_2.0 x", true, true}, {".selector", true, false}, {"", false, false},
      {" lead", false, false},          {"Bad|Name", false, false}, {"a:b", false, false},
      {"Ünicode", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TKVTUserObject::IsValidTypeName(c.name), c.type) << c.name;
    EXPECT_EQ(TKVTUserObject::IsValidUserTypeName(c.name), c.userType) << c.name;
  }
  EXPECT_TRUE(TKVTUserObject::IsValidTypeName(std::string(63, 'a')));
  EXPECT_FALSE(TKVTUserObject::IsValidTypeName(std::string(64, 'a')));

  const char* badParams[] = {"", "Pos", "Class", "Visibility", "Color", "a:b", "a'b", "a\"b",
                             "a\\b", "a|b", "a[b", "a]b", "a b", "a\tb", "a\rb", "a\nb"};
  for (const char* name : badParams) EXPECT_FALSE(TKVTUserObject::IsValidParamName(name)) << name;
  EXPECT_FALSE(TKVTUserObject::IsValidParamName(std::string_view("a\0b", 3)));
  for (const char* name : {"Speed", "pos", "x-1", "Ünicode", "colour"})
    EXPECT_TRUE(TKVTUserObject::IsValidParamName(name)) << name;
}

TEST(UserObjectTest, ParametersKeepInsertionOrderAndRefuseASeventeenth) {
  TKVTUserObject object("X");
  for (int i = 0; i < kMaxUserParams; ++i) {
    const std::string name = "p" + std::to_string(i);
    object.SetParam(name, std::to_string(i * 10));
  }
  EXPECT_EQ(object.GetParamCount(), 16);
  EXPECT_EQ(object.AddParamName("p16"), -1);
  object.SetParam("p16", "lost");
  EXPECT_EQ(object.FindParamIndex("p16"), -1);
  EXPECT_EQ(object.GetParamCount(), 16);
  // An existing name is found, not added again, even when the list is full.
  EXPECT_EQ(object.AddParamName("p3"), 3);
  object.SetParam("p3", "changed");
  EXPECT_EQ(*object.FindParamValue("p3"), "changed");
  EXPECT_EQ(object.GetParamName(15), "p15");
  EXPECT_EQ(object.GetParamName(16), "");
  EXPECT_EQ(object.GetParamValue(-1), "");
}

TEST(UserObjectTest, ReservedAndInvalidNamesSetNothing) {
  TKVTUserObject object("X");
  object.SetParam("Pos", "3");
  object.SetParam("Color", "2");
  object.SetParam("a|b", "1");
  EXPECT_EQ(object.GetParamCount(), 0);
  EXPECT_FLOAT_EQ(object.GetPos(), -7.0f);
  EXPECT_EQ(object.GetParamValue(0), "");
}

TEST(UserObjectTest, RemovingMovesLaterParametersDown) {
  TKVTUserObject object("X");
  object.SetParam("a", "1");
  object.SetParam("b", "2");
  object.SetParam("c", "3");
  object.RemoveParam("b");
  ASSERT_EQ(object.GetParamCount(), 2);
  EXPECT_EQ(object.GetParamName(1), "c");
  EXPECT_EQ(object.GetParamValue(1), "3");
  EXPECT_EQ(object.GetParamValue(2), "");
  object.RemoveParam("missing");
  object.RemoveParamAt(7);
  object.RemoveParamAt(-1);
  EXPECT_EQ(object.GetParamCount(), 2);
  object.SetParamValueAt(-1, "ignored");
  object.SetParamValueAt(16, "ignored");
  object.ClearParams();
  EXPECT_EQ(object.GetParamCount(), 0);
  EXPECT_EQ(object.GetParamValue(0), "");
  EXPECT_EQ(object.FindParamValue("a"), nullptr);
}

TEST(UserObjectTest, NumericParameters) {
  TKVTUserObject object("X");
  object.SetParamInt("n", -42);
  object.SetParamReal("r", 0.1);
  object.SetParamReal("big", 1234567.0);
  EXPECT_EQ(*object.FindParamValue("n"), "-42");
  EXPECT_EQ(*object.FindParamValue("r"), "0.1");
  EXPECT_EQ(*object.FindParamValue("big"), "1.23457e+06");

  struct Case {
    const char* text;
    bool intOk;
    int intValue;
    bool realOk;
    double realValue;
  };
  const Case cases[] = {
      {"17", true, 17, true, 17.0},
      {"  +8px", true, 8, true, 8.0},
      {"-3.75", true, -3, true, -3.75},
      {"", false, 0, false, 0.0},
      {"abc", false, 0, false, 0.0},
      {"99999999999", false, 0, true, 99999999999.0},
      {"+-1", false, 0, false, 0.0},
  };
  for (const Case& c : cases) {
    object.SetParam("v", c.text);
    int n = 0;
    double x = 0.0;
    EXPECT_EQ(object.GetParamInt("v", n), c.intOk) << c.text;
    if (c.intOk) {
      EXPECT_EQ(n, c.intValue) << c.text;
    }
    EXPECT_EQ(object.GetParamReal("v", x), c.realOk) << c.text;
    if (c.realOk) {
      EXPECT_DOUBLE_EQ(x, c.realValue) << c.text;
    }
  }
  int n = 0;
  EXPECT_FALSE(object.GetParamInt("absent", n));
}

TEST(UserObjectTest, AssignReplacesAllParameters) {
  TKVTUserObject source("Arrow");
  source.SetPos(3.25);
  source.SetClass(kUserClassStaffSig);
  source.SetParam("length", "4");
  source.SetColor(5);
  TKVTUserObject target("Box");
  target.SetParam("width", "9");
  target.SetParam("length", "1");
  target = source;
  EXPECT_EQ(target.GetTypeName(), "Arrow");
  EXPECT_FLOAT_EQ(target.GetPos(), 3.25f);
  EXPECT_EQ(target.GetClass(), kUserClassStaffSig);
  EXPECT_EQ(target.GetColor(), 5);
  ASSERT_EQ(target.GetParamCount(), 1);
  EXPECT_EQ(*target.FindParamValue("length"), "4");
  EXPECT_EQ(target.FindParamValue("width"), nullptr);

  target.Assign(target);  // self-assignment keeps everything
  EXPECT_EQ(target.GetParamCount(), 1);

  TClefData clef;
  clef.SetVisibility(kVisNever);
  target.Assign(clef);  // another kind: attributes only
  EXPECT_EQ(target.GetVisibility(), kVisNever);
  EXPECT_EQ(target.GetTypeName(), "Arrow");
  EXPECT_EQ(target.GetParamCount(), 1);
}

TEST(UserObjectTest, PositionRoundsAndStaffPosStoresIntegers) {
  TKVTUserObject object("X");
  object.SetPos(2.346);
  EXPECT_FLOAT_EQ(object.GetPos(), 2.35f);
  object.SetStaffPos(-3);
  EXPECT_FLOAT_EQ(object.GetPos(), -3.0f);
  EXPECT_EQ(object.GetStaffPos(), -3);
}


TEST(UserObjectTest, ParametersFromVariantsByMode) {
  TKVVariant empty;
  TKVVariant number;
  number.SetInt(42);
  TKVVariant yes;
  yes.SetBool(1, 2);
  TKVVariant text;
  text.SetString("dolce");
  TKVVariant wide;
  wide.SetWideString(u"gr\u00FC\u00DF");
  struct Case {
    const TKVVariant* value;
    int mode;
    bool taken;
    const char* stored;
  };
  const Case cases[] = {
      {&empty, 0, false, ""},  {&empty, 2, true, ""},      {&number, 0, false, ""},
      {&number, 1, false, ""}, {&number, 2, true, "42"},   {&yes, 3, true, "Yes"},
      {&text, 0, true, "dolce"}, {&wide, 1, true, "gr\xC3\xBC\xC3\x9F"},
  };
  for (const Case& c : cases) {
    TKVTUserObject object("X");
    object.SetParamFromVariant("v", *c.value, c.mode);
    const std::string* stored = object.FindParamValue("v");
    ASSERT_EQ(stored != nullptr, c.taken) << "type " << c.value->GetType() << " mode " << c.mode;
    if (stored) {
      EXPECT_EQ(*stored, c.stored);
    }
  }
  TKVTUserObject object("X");
  object.SetParamFromVariant("Pos", number, 2);  // reserved: nothing
  EXPECT_EQ(object.GetParamCount(), 0);
}

}  // namespace
}  // namespace kvt
