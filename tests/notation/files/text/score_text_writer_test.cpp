#include "notation/files/text/score_text_writer.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "notation/files/text/score_text_numbers.h"
#include "tests/notation/score_text_fixture.h"

namespace kvt {
namespace {

using namespace score_text_test;

TEST(ScoreTextWriterTest, QuotesAndEscapesTextValues) {
  const struct {
    std::string text;
    bool force;
    std::string written;
  } cases[] = {
      {"plain", false, "plain"},
      {"plain", true, "\"plain\""},
      {"", false, ""},
      {"", true, "\"\""},
      {"two words", false, "\"two words\""},
      {"a|b", false, "\"a\\}b\""},
      {"back\\slash", false, "\"back\\]slash\""},
      {"say \"hi\" 'x'", false, "\"say \\\"hi\\\" \\'x\\'\""},
      {"t\tn\nr\r", false, "\"t\\tn\\nr\\r\""},
      {"comma,kept", false, "comma,kept"},
      {"\xC3\xA9", false, "\xC3\xA9"},
  };
  for (const auto& c : cases) {
    std::string out;
    AppendTextValue(out, c.text, c.force);
    EXPECT_EQ(out, c.written) << c.text;
    TOutStream stream;
    WriteTextValue(*stream, c.text, c.force);
    EXPECT_EQ(stream.Text(), c.written) << c.text;
  }
  TOutStream wide;
  WriteWideTextValue(*wide, u"\u00e9 | \U0001F3B5");
  EXPECT_EQ(wide.Text(), "\"\xC3\xA9 \\} \xF0\x9F\x8E\xB5\"");
}

// A lone item carries the fields that its defaults would leave out.
TEST(ScoreTextWriterTest, LoneItemsCarryTheirDefaults) {
  const struct {
    TItemPtr item;
    const char* score;
    const char* lone;
  } cases[] = {
      {TItemPtr(new TClefData()), "|Clef|Type:Treble", "|Clef|Type:Treble|OctaveShift:None|AutoSys:Y|Color:0|Visibility:Default"},
      {TItemPtr(NewNote(0)), "|Note|Dur:4th|Pos:0", "|Note|Dur:4th|Pos:0o|Color:0|Visibility:Default"},
      {TItemPtr(new TKVTUserObject("Box")), "|User|Box|Pos:7", "|User|Box|Pos:7|Class:Standard|Color:0|Visibility:Default"},
      {TItemPtr(new TTextExpression()), "|Text|Text:\"\"|Font:StaffItalic|Pos:8",
       "|Text|Text:\"\"|Font:StaffItalic|Scale:100|Pos:8|Wide:N|Justify:Left|Placement:BestFit|Color:0|Visibility:Default"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatItemLine(*c.item, kTextModeScore), c.score);
    EXPECT_EQ(FormatItemLine(*c.item, kTextModeLone), c.lone);
    TOutStream stream;
    WriteItemLine(*stream, c.item.get(), kTextModeLone);
    WriteItemLine(*stream, nullptr, kTextModeLone);
    EXPECT_EQ(stream.Text(), c.lone);
  }
}

TEST(ScoreTextWriterTest, FindTexts) {
  auto instrument = std::make_unique<TPatchData>();
  instrument->GetInstrument().SetName(u"Oboe");
  auto tempo = std::make_unique<TTempoData>();
  tempo->SetText(u"Allegro");
  auto text = std::make_unique<TTextExpression>();
  text->SetText(u"dolce assai");
  auto common = std::make_unique<TTimeSignatureData>();
  common->SetStyle(kTimeSigCommon);
  const struct {
    TItemPtr item;
    const char* text;
  } cases[] = {
      {std::move(instrument), "Oboe"},
      {TItemPtr(new TTimeSignatureData(6, 3)), "6/8"},
      {std::move(common), ""},
      {std::move(tempo), "Allegro"},
      {TItemPtr(new TDynamicLevelData(kDynMF)), "mf"},
      {TItemPtr(new TFlowDirection(kFlowDCalFine)), "D.C. al Fine"},
      {TItemPtr(new TTempoVariance(kTempoVarFermata)), ""},
      {TItemPtr(new TTempoVariance(kTempoVarRitenuto)), "rit."},
      {TItemPtr(new TDynamicVariance(kDynVarDiminuendo)), "dim."},
      {TItemPtr(new TPerformanceStyle(12)), "pi\xC3\xB9 mosso"},
      {std::move(text), "dolce assai"},
      {TItemPtr(NewNote(1)), ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatItemFindText(*c.item), c.text);
    TOutStream stream;
    WriteItemFindText(*stream, *c.item);
    EXPECT_EQ(stream.Text(), c.text);
  }
}

TEST(ScoreTextWriterTest, NumbersAreWrittenAsInTheCLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
  const struct {
    double value;
    const char* general;
    const char* fixed2;
  } cases[] = {
      {0.0, "0", "0.00"},       {-0.0, "0", "0.00"},        {1.5, "1.5", "1.50"},
      {-3.25, "-3.25", "-3.25"}, {1234567.0, "1.23457e+06", "1234567.00"},
      {0.0001, "0.0001", "0.00"}, {0.00001, "1e-05", "0.00"}, {static_cast<float>(0.1), "0.1", "0.10"},
      {-0.004, "-0.004", "0.00"},
  };
  for (const auto& c : cases) {
    std::string general;
    AppendRealText(general, c.value);
    EXPECT_EQ(general, c.general) << c.value;
    std::string fixed;
    AppendFixed2Text(fixed, c.value);
    EXPECT_EQ(fixed, c.fixed2) << c.value;
  }
  double value = 0;
  EXPECT_TRUE(ParseRealValue(" 2.5xyz", value));
  EXPECT_DOUBLE_EQ(value, 2.5);
  EXPECT_TRUE(ParseRealValue("-1e3", value));
  EXPECT_DOUBLE_EQ(value, -1000);
  EXPECT_TRUE(ParseRealValue("1e-400", value));
  EXPECT_DOUBLE_EQ(value, 0);
  EXPECT_FALSE(ParseRealValue("1e400", value));
  EXPECT_FALSE(ParseRealValue("inf", value));
  EXPECT_FALSE(ParseRealValue("nan", value));
  // A decimal comma is no part of a number, whatever the locale says.
  EXPECT_TRUE(ParseRealValue("2,5", value));
  EXPECT_DOUBLE_EQ(value, 2);
  std::setlocale(LC_ALL, saved.c_str());
  if (!german) GTEST_SKIP() << "de_DE.UTF-8 is not installed; checked in the C locale only";
}

}  // namespace
}  // namespace kvt
