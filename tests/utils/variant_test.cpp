#include "utils/variant.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace kvt {
namespace {

std::string TextOf(const TKVVariant& v, int size = 64) {
  std::vector<char> buffer(static_cast<size_t>(std::max(size, 1)), '#');
  return v.GetText(buffer.data(), size);
}

std::u16string WideOf(const TKVVariant& v, int size = 64) {
  std::vector<char16_t> buffer(static_cast<size_t>(std::max(size, 1)), u'#');
  return v.GetWideText(buffer.data(), size);
}

TKVVariant Int(int32_t value, int format = 0) {
  TKVVariant v;
  v.SetInt(value, format);
  return v;
}
TKVVariant Bool(int32_t value, int format = 0) {
  TKVVariant v;
  v.SetBool(value, format);
  return v;
}
TKVVariant Real(float value, int format = 0) {
  TKVVariant v;
  v.SetReal(value, format);
  return v;
}
TKVVariant Text(const char* text) {
  TKVVariant v;
  v.SetString(text);
  return v;
}
TKVVariant Wide(const char16_t* text) {
  TKVVariant v;
  v.SetWideString(text);
  return v;
}
TKVVariant Date(int year, int month, int day, int format = 0) {
  TKVDate date;
  date.Set(year, month, day);
  TKVVariant v;
  v.SetDate(date, format);
  return v;
}

struct DisplayCase {
  const char* name;
  TKVVariant value;
  const char* text;
};

void PrintTo(const DisplayCase& c, std::ostream* os) { *os << c.name; }

class VariantDisplayTest : public testing::TestWithParam<DisplayCase> {};

TEST_P(VariantDisplayTest, Text) { EXPECT_EQ(TextOf(GetParam().value), GetParam().text); }

INSTANTIATE_TEST_SUITE_P(
    Cases, VariantDisplayTest,
    testing::Values(
        DisplayCase{"Empty", TKVVariant(), ""},
        DisplayCase{"IntDecimal", Int(-42), "-42"},
        DisplayCase{"IntHex", Int(255, 1), "ff"},
        DisplayCase{"IntHexNegative", Int(-1, 1), "ffffffff"},
        DisplayCase{"IntPlusPositive", Int(7, 2), "+7"},
        DisplayCase{"IntPlusZero", Int(0, 2), "0"},
        DisplayCase{"IntPlusNegative", Int(-7, 2), "-7"},
        DisplayCase{"IntBlankZero", Int(0, 3), ""},
        DisplayCase{"IntBlankNonZero", Int(12, 3), "12"},
        DisplayCase{"IntHex8", Int(0xABC, 4), "00000abc"},
        DisplayCase{"IntQuarters", Int(384, 5), "00002.00"},
        DisplayCase{"IntQuartersNegative", Int(-96, 5), "-0000.50"},
        DisplayCase{"IntWholes", Int(1152, 6), "001.500"},
        DisplayCase{"IntUnknownFormat", Int(5, 200), "5"},
        DisplayCase{"BoolNoHidden", Bool(0, 0x83), ""},
        DisplayCase{"BoolYesShownWithHiddenNo", Bool(1, 0x83), "True"},
        DisplayCase{"BoolFalse", Bool(0, 3), "False"},
        DisplayCase{"BoolAnyNonZeroIsYes", Bool(5, 2), "Yes"},
        DisplayCase{"BoolOnOff", Bool(0, 4), "Off"},
        DisplayCase{"BoolYN", Bool(1, 0x81), "Y"},
        DisplayCase{"BoolPairBeyondListIsPairZero", Bool(1, 5), "1"},
        DisplayCase{"BoolLargestPairIsPairZero", Bool(0, 0x7F), "0"},
        DisplayCase{"RealGeneral", Real(3.5f), "3.5"},
        DisplayCase{"RealGeneralLarge", Real(1234567.0f), "1.23457e+06"},
        DisplayCase{"RealDollars", Real(3.5f, 1), "$3.50"},
        DisplayCase{"RealFixed", Real(-0.125f, 2), "-0.12"},
        DisplayCase{"RealNan", Real(std::numeric_limits<float>::quiet_NaN()), "nan"},
        DisplayCase{"DateForm0", Date(2009, 3, 5, 0), "03/05/2009"},
        DisplayCase{"DateForm1", Date(2009, 3, 5, 1), "05 March 2009"},
        DisplayCase{"DateForm3", Date(2009, 3, 5, 3), "03/05/09"},
        DisplayCase{"NarrowText", Text("caf\xE9"), "caf\xE9"},
        // Wide text shows in Windows-1252; a character it cannot hold becomes "?".
        DisplayCase{"WideText", Wide(u"caf\u00E9 \u20AC \u4E2D"), "caf\xE9 \x80 ?"}),
    [](const testing::TestParamInfo<DisplayCase>& info) { return info.param.name; });

TEST(VariantTest, DisplayIgnoresTheLocale) {
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE locale";
  EXPECT_EQ(TextOf(Real(3.5f, 1)), "$3.50");
  EXPECT_EQ(TextOf(Int(384, 5)), "00002.00");
  TKVVariant v;
  v.SetRealFromText("2.5");
  EXPECT_EQ(v.GetReal(), 2.5);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(VariantTest, GetTextCutsToSize) {
  EXPECT_EQ(TextOf(Text("abcdef"), 4), "abc");
  EXPECT_EQ(TextOf(Int(123456), 3), "12");
  EXPECT_EQ(TextOf(Wide(u"\u00E9t\u00E9"), 3), "\xE9t");
  char untouched = 'x';
  Int(5).GetText(&untouched, 0);
  EXPECT_EQ(untouched, 'x');
}

TEST(VariantTest, GetWideTextConvertsPerType) {
  EXPECT_EQ(WideOf(Text("caf\xE9 \x80")), u"caf\u00E9 \u20AC");
  EXPECT_EQ(WideOf(Int(-3)), u"-3");
  EXPECT_EQ(WideOf(Bool(1, 2)), u"Yes");
  EXPECT_EQ(WideOf(Wide(u"a\U0001D11Eb")), u"a\U0001D11Eb");
  EXPECT_EQ(WideOf(Wide(u"a\U0001D11Eb"), 3), u"a");  // never half a surrogate pair
  EXPECT_EQ(WideOf(Text("abcdef"), 4), u"abc");
}

TEST(VariantTest, SetBoolFromText) {
  const struct {
    const char* text;
    int32_t value;
    int format;
  } cases[] = {
      {"yes", 1, 2}, {"TRUE", 1, 3}, {"on", 1, 4}, {"1", 1, 0}, {"y", 1, 1},
      {"off", 0, 4}, {"No", 0, 2},   {"n", 0, 1},  {"maybe", 0, 0}, {nullptr, 0, 0},
  };
  for (const auto& c : cases) {
    TKVVariant v;
    v.SetBoolFromText(c.text);
    EXPECT_EQ(v.GetType(), TKVVariant::kBool);
    EXPECT_EQ(v.GetIntValue(), c.value) << (c.text ? c.text : "(null)");
    EXPECT_EQ(v.GetFormat(), c.format) << (c.text ? c.text : "(null)");
  }
}

TEST(VariantTest, SetRealFromText) {
  const struct {
    const char* text;
    float value;
    int format;
    const char* display;
  } cases[] = {
      {"$3.5", 3.5f, 1, "$3.50"}, {"2.25", 2.25f, 0, "2.25"}, {" -1e2", -100.0f, 0, "-100"},
      {"abc", 0.0f, 0, "0"},      {"$", 0.0f, 1, "$0.00"},     {nullptr, 0.0f, 0, "0"},
  };
  for (const auto& c : cases) {
    TKVVariant v;
    v.SetRealFromText(c.text);
    EXPECT_EQ(v.GetReal(), c.value) << (c.text ? c.text : "(null)");
    EXPECT_EQ(v.GetFormat(), c.format);
    EXPECT_EQ(TextOf(v), c.display);
  }
}

TEST(VariantTest, EmptyTextsLeaveVariantEmpty) {
  TKVVariant v = Int(3);
  v.SetString("");
  EXPECT_TRUE(v.IsEmpty());
  v = Int(3);
  v.SetString(nullptr);
  EXPECT_TRUE(v.IsEmpty());
  v = Int(3);
  v.SetWideString(u"");
  EXPECT_TRUE(v.IsEmpty());
}

TEST(VariantTest, OwnedTextIsACopyAndReferenceIsNot) {
  char text[] = "abc";
  TKVVariant owned;
  owned.SetString(text);
  TKVVariant ref;
  ref.SetStringRef(text);
  text[0] = 'X';
  EXPECT_STREQ(owned.GetString(), "abc");
  EXPECT_EQ(ref.GetString(), text);
  EXPECT_EQ(owned.GetWideString(), nullptr);
  char16_t wide[] = u"w";
  TKVVariant wideRef;
  wideRef.SetWideStringRef(wide);
  EXPECT_EQ(wideRef.GetWideString(), wide);
  EXPECT_EQ(wideRef.GetString(), nullptr);
}

TEST(VariantTest, SetStringFromItsOwnText) {
  TKVVariant v = Text("self");
  v.SetString(v.GetString());
  EXPECT_STREQ(v.GetString(), "self");
  TKVVariant w = Wide(u"self");
  w.SetWideString(w.GetWideString());
  EXPECT_EQ(std::u16string(w.GetWideString()), u"self");
}

TEST(VariantTest, CopiesAndMovesKeepOwnedTextsValid) {
  TKVVariant original = Text("owned text");
  TKVVariant copy = original;
  EXPECT_NE(copy.GetString(), original.GetString());
  EXPECT_STREQ(copy.GetString(), "owned text");
  std::vector<TKVVariant> many;
  for (int i = 0; i < 50; ++i) many.push_back(Wide(u"wide"));  // reallocation moves them
  for (const TKVVariant& v : many) EXPECT_EQ(std::u16string(v.GetWideString()), u"wide");
  TKVVariant moved = std::move(copy);
  EXPECT_STREQ(moved.GetString(), "owned text");
  EXPECT_TRUE(copy.IsEmpty());  // NOLINT(bugprone-use-after-move): moved-from is empty
  copy = original;
  copy = copy;
  EXPECT_STREQ(copy.GetString(), "owned text");
}

TEST(VariantTest, SetDateFromTextTriesEachForm) {
  const struct {
    const char* text;
    bool ok;
    int year, month, day;
  } cases[] = {
      {"03/05/2009", true, 2009, 3, 5},   {"05 March 2009", true, 2009, 3, 5},
      {"05-Mar-2009", true, 2009, 3, 5},  {"05/mar/09", true, 2009, 3, 5},
      {"not a date", false, 0, 0, 0},     {"1/2/2200", false, 0, 0, 0},
  };
  for (const auto& c : cases) {
    TKVVariant v = Int(1);
    EXPECT_EQ(v.SetDateFromText(c.text), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v.GetType(), TKVVariant::kDate);
      EXPECT_EQ(v.GetFormat(), 0);
      EXPECT_EQ(v.Compare(Date(c.year, c.month, c.day)), 0) << c.text;
    } else {
      EXPECT_TRUE(v.IsEmpty()) << c.text;
    }
  }
}

TEST(VariantTest, NumbersAndTruth) {
  EXPECT_EQ(Real(2.9f).GetIntValue(), 2);
  EXPECT_EQ(Real(-2.9f).GetIntValue(), -2);
  EXPECT_EQ(Real(1e20f).GetIntValue(), INT32_MAX);
  EXPECT_EQ(Real(-1e20f).GetIntValue(), INT32_MIN);
  EXPECT_EQ(Real(std::numeric_limits<float>::quiet_NaN()).GetIntValue(), 0);
  EXPECT_EQ(Bool(5).GetReal(), 5.0);
  EXPECT_EQ(Text("7").GetReal(), 0.0);
  EXPECT_EQ(Text("7").GetIntValue(), 0);
  EXPECT_EQ(Text("7").GetInt(), 1);
  EXPECT_EQ(TKVVariant().GetInt(), 0);
  EXPECT_EQ(Date(2009, 1, 1).GetInt(), 1);

  TKVVariant nullRef;
  nullRef.SetStringRef(nullptr);
  TKVVariant emptyWideRef;
  emptyWideRef.SetWideStringRef(u"");
  const struct {
    TKVVariant value;
    bool isTrue;
  } cases[] = {
      {TKVVariant(), false}, {Text("x"), true},    {nullRef, false},     {emptyWideRef, false},
      {Wide(u"x"), true},    {Int(0), false},      {Int(-1), true},      {Bool(0, 3), false},
      {Real(0.0f), false},   {Real(-0.0f), false}, {Real(0.001f), true}, {Date(1980, 1, 1), true},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value.IsTrue(), c.isTrue) << TextOf(c.value);
}

TEST(VariantTest, TextWidth) {
  EXPECT_EQ(TKVVariant().TextWidth(), 3);
  EXPECT_EQ(Text("abcd").TextWidth(), 4);
  EXPECT_EQ(Wide(u"ab").TextWidth(), 2);
  EXPECT_EQ(Int(1).TextWidth(), 17);
  EXPECT_EQ(Bool(1).TextWidth(), 5);
  EXPECT_EQ(Real(1).TextWidth(), 32);
  EXPECT_EQ(Date(2000, 1, 1, 0).TextWidth(), 10);
  EXPECT_EQ(Date(2000, 1, 1, 2).TextWidth(), 11);
  EXPECT_EQ(Date(2000, 1, 1, 1).TextWidth(), 20);
}

struct CompareCase {
  const char* name;
  TKVVariant a;
  TKVVariant b;
  int order;
};

void PrintTo(const CompareCase& c, std::ostream* os) { *os << c.name; }

class VariantCompareTest : public testing::TestWithParam<CompareCase> {};

TEST_P(VariantCompareTest, OrderAndItsMirror) {
  const CompareCase& c = GetParam();
  EXPECT_EQ(c.a.Compare(c.b), c.order);
  EXPECT_EQ(c.b.Compare(c.a), -c.order);
}

TKVVariant Ref(const char* text) {
  TKVVariant v;
  v.SetStringRef(text);
  return v;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VariantCompareTest,
    testing::Values(
        CompareCase{"IntsNumerically", Int(9), Int(10), -1},
        CompareCase{"IntVersusTextByText", Int(10), Ref("9"), -1},
        CompareCase{"TextsIgnoreCase", Text("Apple"), Text("apple"), 0},
        CompareCase{"NarrowLatinLettersFold", Text("\xC9t\xE9"), Text("\xE9T\xC9"), 0},
        CompareCase{"WideLatinLettersFold", Wide(u"\u00C9t\u00E9"), Wide(u"\u00E9T\u00C9"), 0},
        CompareCase{"TextsOrder", Text("abc"), Text("ABD"), -1},
        CompareCase{"NullRefIsEmptyText", Ref(nullptr), Ref(""), 0},
        CompareCase{"NullRefBeforeText", Ref(nullptr), Ref("a"), -1},
        CompareCase{"RefAndOwnedByText", Ref("Same"), Text("same"), 0},
        CompareCase{"WideAgainstNarrow", Wide(u"caf\u00E9"), Text("CAF\xC9"), 0},
        CompareCase{"BoolsNumerically", Bool(0), Bool(1), -1},
        CompareCase{"RealsNumerically", Real(-1.5f), Real(2.0f), -1},
        CompareCase{"NanAfterNumbers", Real(std::numeric_limits<float>::infinity()),
                    Real(std::numeric_limits<float>::quiet_NaN()), -1},
        CompareCase{"NanEqualsNan", Real(std::numeric_limits<float>::quiet_NaN()),
                    Real(-std::numeric_limits<float>::quiet_NaN()), 0},
        CompareCase{"DatesByValue", Date(2009, 12, 31), Date(2010, 1, 1), -1},
        CompareCase{"EmptiesEqual", TKVVariant(), TKVVariant(), 0},
        CompareCase{"EmptyBeforeText", TKVVariant(), Text("a"), -1}),
    [](const testing::TestParamInfo<CompareCase>& info) { return info.param.name; });

TEST(VariantTest, SortingRealsWithNansIsWellDefined) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float values[] = {3, nan, -1, nan, 2, 0, nan, -7, 1e30f, -0.0f};
  std::vector<TKVVariant> column;
  for (int round = 0; round < 20; ++round) {
    for (float value : values) column.push_back(Real(value + static_cast<float>(round % 3)));
  }
  const auto less = [](const TKVVariant& a, const TKVVariant& b) { return a.Compare(b) < 0; };
  std::sort(column.begin(), column.end(), less);
  ASSERT_TRUE(std::is_sorted(column.begin(), column.end(), less));
  // Numbers ascending, then every NaN.
  const auto firstNan = std::find_if(column.begin(), column.end(),
                                     [](const TKVVariant& v) { return std::isnan(v.GetReal()); });
  EXPECT_EQ(column.end() - firstNan, 60);
  for (auto it = column.begin(); it != firstNan; ++it) EXPECT_FALSE(std::isnan(it->GetReal()));
  for (auto it = firstNan; it != column.end(); ++it) EXPECT_TRUE(std::isnan(it->GetReal()));
  for (auto it = column.begin(); it + 1 < firstNan; ++it) EXPECT_LE(it->GetReal(), (it + 1)->GetReal());
}

}  // namespace
}  // namespace kvt
