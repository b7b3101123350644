// The static text: plain text only, the file-name mode, the bounded printf and the transfer.
#include "tools/static_text.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(StaticText, InitialTextModes) {
  struct Case {
    const char* text;
    int mode;
    const char* shown;
  } cases[] = {
      {"/home/ann/scores/Song.kvt", TKRVStatic::kShowFileName, "Song"},
      {"Song.v2.kvt", TKRVStatic::kShowFileName, "Song.v2"},
      {"/home/ann/scores/Song.kvt", TKRVStatic::kShowText, "/home/ann/scores/Song.kvt"},
      {"anything", 7, ""},
  };
  for (const Case& c : cases) {
    TKRVStatic label(nullptr, "before");
    label.SetInitialText(c.text, c.mode);
    label.SetupWindow();
    EXPECT_EQ(label.text(), QString::fromUtf8(c.shown)) << c.text;
  }
}

TEST(StaticText, MarkupIsShownAsText) {
  TKRVStatic label(nullptr);
  label.SetText("<b>bold</b>");
  EXPECT_EQ(label.textFormat(), Qt::PlainText);
  EXPECT_EQ(label.text(), "<b>bold</b>");
}

TEST(StaticText, FormattedTextIsCutOnACharacterBoundary) {
  TKRVStatic label(nullptr);
  std::string longText(253, 'a');
  longText += "\xC3\xA9\xC3\xA9";  // two-byte characters across the 255-byte limit
  label.SetTextf("%s", longText.c_str());
  EXPECT_EQ(label.text().size(), 253 + 1);  // one of the two fits in 255 bytes
  label.SetTextf("Bar %d of %d", 3, 12);
  EXPECT_EQ(label.text(), "Bar 3 of 12");
}

TEST(StaticText, TransferSetsTextOnlyWhenEnabled) {
  TKRVStatic label(nullptr, "old");
  label.TransferSet("new");
  EXPECT_EQ(label.text(), "old");
  label.EnableTextTransfer();
  label.TransferSet("new");
  EXPECT_EQ(label.text(), "new");
}

}  // namespace
}  // namespace kvt
