#include "notation/staff/staff_lyrics.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "utils/precondition.h"

namespace kvt {
namespace {

std::unique_ptr<TLyricText> Line(const char16_t* words) {
  auto line = std::make_unique<TLyricText>();
  line->ParseLine(words, false, true);
  return line;
}

std::string FailedExpression(const std::function<void()>& action) {
  try {
    action();
  } catch (const TPreconditionError& e) {
    return e.Expression();
  }
  return "no exception";
}

TEST(StaffLyricsTest, Defaults) {
  const TStaffLyrics lyrics;
  EXPECT_EQ(lyrics.GetCount(), 0);
  EXPECT_EQ(lyrics.GetLastIndex(), -1);
  EXPECT_EQ(lyrics.GetPlacement(), kLyricsBottom);
  EXPECT_EQ(lyrics.GetOffset(), 0);
  EXPECT_EQ(lyrics.GetAlign(), kLyricsAlignNoteStart);
  EXPECT_TRUE(lyrics.GetUnderscoreAsSpace());
  EXPECT_EQ(lyrics.GetLine(0), nullptr);
}

TEST(StaffLyricsTest, HoldsAtMostEightLines) {
  TStaffLyrics lyrics;
  for (int i = 0; i < 8; ++i) lyrics.Add(Line(u"la"));
  EXPECT_EQ(FailedExpression([&] { lyrics.Add(Line(u"ninth")); }),
            "GetLastIndex() < (MaxStaffLyrics-1)");
  EXPECT_EQ(FailedExpression([&] { lyrics.InsertAt(Line(u"ninth"), 0); }),
            "GetLastIndex() < (MaxStaffLyrics-1)");
  EXPECT_EQ(lyrics.GetCount(), 8);
}

TEST(StaffLyricsTest, InsertAndRemoveKeepOrder) {
  TStaffLyrics lyrics;
  lyrics.Add(Line(u"one"));
  lyrics.Add(Line(u"three"));
  lyrics.InsertAt(Line(u"two"), 1);
  lyrics.InsertAt(Line(u"zero"), -5);  // clamped to the front
  lyrics.InsertAt(Line(u"four"), 99);  // clamped to the end
  const char16_t* want[] = {u"zero\r\n", u"one\r\n", u"two\r\n", u"three\r\n", u"four\r\n"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(lyrics.GetLine(i)->WriteToEdit(), want[i]) << i;

  std::unique_ptr<TLyricText> removed = lyrics.RemoveAt(2);
  EXPECT_EQ(removed->WriteToEdit(), u"two\r\n");
  EXPECT_EQ(lyrics.GetCount(), 4);
  EXPECT_EQ(lyrics.GetLine(2)->WriteToEdit(), u"three\r\n");
  EXPECT_EQ(lyrics.GetLine(4), nullptr);
  EXPECT_EQ(lyrics.GetLine(-1), nullptr);
}

TEST(StaffLyricsTest, RemovingOutsideTheLinesIsAPreconditionFailure) {
  TStaffLyrics lyrics;
  lyrics.Add(Line(u"one"));
  EXPECT_EQ(FailedExpression([&] { lyrics.RemoveAt(-1); }), "atIndex >= 0");
  EXPECT_EQ(FailedExpression([&] { lyrics.RemoveAt(1); }), "atIndex <= GetLastIndex()");
  EXPECT_EQ(lyrics.GetCount(), 1);
}

TEST(StaffLyricsTest, Settings) {
  TStaffLyrics lyrics;
  lyrics.SetPlacement(kLyricsTop);
  lyrics.SetOffset(-6);
  lyrics.SetAlign(kLyricsAlignStandard);
  lyrics.SetUnderscoreAsSpace(false);
  EXPECT_EQ(lyrics.GetPlacement(), kLyricsTop);
  EXPECT_EQ(lyrics.GetOffset(), -6);
  EXPECT_EQ(lyrics.GetAlign(), kLyricsAlignStandard);
  EXPECT_FALSE(lyrics.GetUnderscoreAsSpace());
}

}  // namespace
}  // namespace kvt
