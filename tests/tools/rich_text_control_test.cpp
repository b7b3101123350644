// The text control: plain UTF-8 streams in and out, RTF refused, addresses as links and the
// keys it leaves to its dialog.
#include "tools/rich_text_control.h"

#include <gtest/gtest.h>
#include <QDialog>
#include <QPushButton>
#include <QTest>

#include <string>

#include "tests/utils/test_memory_stream.h"

namespace kvt {
namespace {

using test::TestMemoryStream;

TEST(RichTextControlTest, PlainUtf8StreamsInWithInvalidBytesReplaced) {
  TKVRTFControl control(nullptr, false);
  TestMemoryStream in(
      std::string("Gr\xC3\xBC\xC3\x9F"
                  "e \xE2\x99\xAF\n\xFF<b>x</b>"));
  ASSERT_TRUE(control.StreamIn(in, TKVRTFControl::kFormatText));
  EXPECT_EQ(control.toPlainText(), QStringLiteral(u"Grüße ♯\n\uFFFD<b>x</b>"));
  TestMemoryStream out;
  ASSERT_TRUE(control.StreamOut(out, TKVRTFControl::kFormatText));
  EXPECT_EQ(out.Text(),
            "Gr\xC3\xBC\xC3\x9F"
            "e \xE2\x99\xAF\n\xEF\xBF\xBD<b>x</b>");
}

TEST(RichTextControlTest, RtfIsRefusedBothWays) {
  TKVRTFControl control(nullptr, false);
  control.setPlainText(QStringLiteral("kept"));
  TestMemoryStream in(std::string("{\\rtf1 {\\b bold}}"));
  EXPECT_FALSE(control.StreamIn(in, TKVRTFControl::kFormatRtf));
  EXPECT_EQ(control.toPlainText(), "kept");
  TestMemoryStream out;
  EXPECT_FALSE(control.StreamOut(out, TKVRTFControl::kFormatRtf));
  EXPECT_EQ(out.Text(), "");
}

TEST(RichTextControlTest, StreamInStopsAtTheSizeCapOnACharacterBoundary) {
  TKVRTFControl control(nullptr, false);
  std::string data(TKVRTFControl::kMaxStreamBytes - 1, 'a');
  data += "\xC3\xA9tail";  // é split by the cap
  TestMemoryStream in(data);
  ASSERT_TRUE(control.StreamIn(in, TKVRTFControl::kFormatText));
  const QString text = control.toPlainText();
  EXPECT_EQ(text.size(), static_cast<qsizetype>(TKVRTFControl::kMaxStreamBytes - 1));
  EXPECT_FALSE(text.contains(QChar::ReplacementCharacter));
}

TEST(RichTextControlTest, OnlyHttpAddressesBecomeLinks) {
  const QString html =
      PlainTextWithLinks(QStringLiteral("see http://example.org/a?b=1&c=2 or HTTPS://x.test, not "
                                        "ftp://x.test nor javascript:alert(1) <i>"));
  EXPECT_EQ(html.count(QStringLiteral("<a href=")), 2);
  EXPECT_TRUE(html.contains(QStringLiteral("href=\"http://example.org/a?b=1&amp;c=2\"")));
  EXPECT_TRUE(html.contains(QStringLiteral("&lt;i&gt;")));
  const std::pair<const char*, bool> links[] = {
      {"http://a.test", true},        {"https://a.test/x", true}, {"file:///etc/passwd", false},
      {"javascript:alert(1)", false}, {"ftp://a.test", false},    {"relative/path", false}};
  for (const auto& [url, openable] : links)
    EXPECT_EQ(TKVRTFControl::IsOpenableLink(QUrl(QString::fromLatin1(url))), openable) << url;
}

TEST(RichTextControlTest, AddressDetectionKeepsTheText) {
  TKVRTFControl control(nullptr, false);
  control.setPlainText(QStringLiteral("Visit https://a.test today."));
  control.AutoUrlDetect(true);
  EXPECT_TRUE(control.toHtml().contains(QStringLiteral("href=\"https://a.test\"")));
  EXPECT_EQ(control.toPlainText(), "Visit https://a.test today.");
}

TEST(RichTextControlTest, SelectionRoundTrips) {
  TKVRTFControl control(nullptr, false);
  control.setPlainText(QStringLiteral("0123456789"));
  control.SetSelection(2, 5);
  int start = -1, end = -1;
  control.GetSelection(start, end);
  EXPECT_EQ(start, 2);
  EXPECT_EQ(end, 5);
  control.SetSelection(0, -1);
  control.GetSelection(start, end);
  EXPECT_EQ(end, 10);
}

TEST(RichTextControlTest, DialogKeysReachTheDialog) {
  for (bool dialogKeys : {true, false}) {
    QDialog dialog;
    auto* control = new TKVRTFControl(&dialog, dialogKeys);
    control->setReadOnly(false);
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    dialog.show();
    control->setFocus();
    QTest::keyClick(control, Qt::Key_Return);
    EXPECT_EQ(dialog.isVisible(), !dialogKeys);
    EXPECT_EQ(dialog.result(), dialogKeys ? QDialog::Accepted : QDialog::Rejected);
  }
}

TEST(RichTextControlTest, CourierFontIsFixedPitch) {
  TKVRTFControl control(nullptr, false);
  control.SetCourierFont();
  EXPECT_TRUE(QFontInfo(control.document()->defaultFont()).fixedPitch());
}

}  // namespace
}  // namespace kvt
