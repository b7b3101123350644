// The music font on real backends: every glyph the table draws comes out of Bravura itself,
// inside its metadata box, on an image, a PDF page and an SVG picture.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QTemporaryDir>
#include <QFile>

#include <cstdio>
#include <set>
#include <string>

#include "draw/music_font_profile.h"
#include "draw/music_fonts.h"
#include "draw/recording_context.h"
#include "draw/staff_color_handles.h"
#include "notation/staff/music_fonts_data.h"
#include "platform/music_font_loader.h"
#include "platform/page_contexts.h"
#include "platform/qpainter_context.h"

namespace kvt {
namespace {

std::string RunTool(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
  pclose(pipe);
  return out;
}

bool IsDrawn(int index) { return index > 1 && index != 35 && index != 51 && index != kAnchorGlyph; }

class MusicGlyphRenderingTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_TRUE(LoadMusicFont()) << "the music font did not load"; }
  TMusicFontsData data;
  TStaffColorHandles colors;
};

TEST_F(MusicGlyphRenderingTest, FontIsBravuraWithoutFallback) {
  TDcFont music;
  music.music = true;
  music.pixelSize = 40;
  const QFont font = ToQFont(music);
  EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Bravura"));
  const QFontMetrics metrics(font);
  for (int i = 0; i < kMusicGlyphCount; ++i) {
    if (!IsDrawn(i)) continue;
    EXPECT_TRUE(metrics.inFontUcs4(MusicGlyphAt(i)->codePoint)) << i;
  }
}

TEST_F(MusicGlyphRenderingTest, EveryGlyphHasInkInsideItsMetadataBox) {
  TMusicFonts fonts(data, colors, 20);
  for (int i = 0; i < kMusicGlyphCount; ++i) {
    if (!IsDrawn(i)) continue;
    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      TQPainterContext dc(image);
      fonts.BeginDrawing(&dc, &dc);
      fonts.DrawGlyph(0, i, 150, 200);
      fonts.EndDrawing();
    }
    TRecordingContext rec;
    fonts.BeginDrawing(&rec, &rec);
    fonts.DrawGlyph(0, i, 150, 200);
    fonts.EndDrawing();
    ASSERT_EQ(rec.Ops().size(), 1u);
    const TDcRect box = rec.Ops()[0].bounds;
    int ink = 0, outside = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (qGray(image.pixel(x, y)) > 160) continue;
        ++ink;
        // A pixel of antialiasing either side.
        if (x < box.left - 2 || x > box.right + 2 || y < box.top - 2 || y > box.bottom + 2) ++outside;
      }
    }
    EXPECT_GT(ink, 0) << "glyph " << i << " drew no ink";
    EXPECT_EQ(outside, 0) << "glyph " << i << " has ink outside its box";
  }
}

TEST_F(MusicGlyphRenderingTest, PdfEmbedsBravuraAndKeepsTheCodePoints) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("glyphs.pdf"));
  std::u32string expected;
  {
    TPdfPageContext page(file, 600);
    TMusicFonts fonts(data, colors, 34);
    fonts.BeginDrawing(&page.Context(), &page.Context());
    int x = 200, y = 400;
    for (int i = 0; i < kMusicGlyphCount; ++i) {
      if (!IsDrawn(i)) continue;
      fonts.DrawGlyph(0, i, x, y);
      expected += MusicGlyphAt(i)->codePoint;
      x += 300;
      if (x > 4000) {
        x = 200;
        y += 400;
      }
    }
    fonts.SetStaffOrigin(y + 600);
    fonts.DrawTextW(0, 1, 200, 0, u"0123456789");
    for (int d = 0; d < 10; ++d) expected += MusicDigitGlyph(d).codePoint;
    fonts.EndDrawing();
    ASSERT_TRUE(page.Finish());
  }
  const std::string fontsList = RunTool("pdffonts '" + file.toStdString() + "'");
  ASSERT_NE(fontsList.find("Bravura"), std::string::npos) << fontsList;
  // After the two header lines, one line per font: each is Bravura, embedded.
  size_t lineStart = 0;
  int line = 0, fonts = 0;
  while (lineStart < fontsList.size()) {
    const size_t end = fontsList.find('\n', lineStart);
    const std::string text = fontsList.substr(lineStart, end - lineStart);
    if (line++ >= 2 && !text.empty()) {
      ++fonts;
      EXPECT_NE(text.find("Bravura"), std::string::npos) << text;
      EXPECT_NE(text.find(" yes "), std::string::npos) << text;
    }
    if (end == std::string::npos) break;
    lineStart = end + 1;
  }
  EXPECT_GE(fonts, 1);
  const std::string utf8 = RunTool("pdftotext -raw -enc UTF-8 '" + file.toStdString() + "' -");
  std::u32string found;
  for (char32_t c : QString::fromUtf8(utf8.c_str()).toStdU32String()) {
    if (c >= 0xE000 && c <= 0xF8FF) found += c;
  }
  EXPECT_EQ(found, expected);
}

TEST_F(MusicGlyphRenderingTest, SvgDrawsGlyphsAsOutlines) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("glyphs.svg"));
  {
    TSvgPictureContext picture(file, 400, 200, 96);
    TMusicFonts fonts(data, colors, 12);
    fonts.BeginDrawing(&picture.Context(), &picture.Context());
    fonts.DrawGlyph(0, 2, 20, 100);
    fonts.DrawTextW(0, 1, 100, 0, u"34");
    fonts.EndDrawing();
    ASSERT_TRUE(picture.Finish());
  }
  QFile svg(file);
  ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
  const QByteArray text = svg.readAll();
  EXPECT_TRUE(text.contains("<path"));
  EXPECT_FALSE(text.contains("Bravura"));
  EXPECT_FALSE(text.contains("<text"));
}

TEST_F(MusicGlyphRenderingTest, TextFacesDrawOnAnImage) {
  QImage image(200, 100, QImage::Format_RGB32);
  image.fill(Qt::white);
  TMusicFonts fonts(data, colors, 12);
  {
    TQPainterContext dc(image);
    fonts.BeginDrawing(&dc, &dc);
    fonts.SetStaffOrigin(50);
    EXPECT_GT(fonts.GetTextWidthW(3, u"Allegro"), 20);
    fonts.DrawTextW(3, 1, 10, 0, u"Allegro");
    fonts.EndDrawing();
  }
  int ink = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) ink += qGray(image.pixel(x, y)) < 128;
  }
  EXPECT_GT(ink, 20);
}

}  // namespace
}  // namespace kvt

namespace kvt {
namespace {

// A window's paint event lends its painter: the context draws on it and leaves it active.
TEST(BorrowedPainterTest, DrawsAndLeavesThePainterActive) {
  ASSERT_TRUE(LoadMusicFont());
  QImage image(100, 100, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  {
    TQPainterContext dc(painter, 96, 96);
    dc.SetPen(TDcPen{TPenStyle::kSolid, 4, 0});
    dc.MoveTo(10, 50);
    dc.LineTo(90, 50);
    dc.SetTextColor(0);
    dc.DrawMusicGlyph(0xE0A4, 40, 30, 40);
  }
  EXPECT_TRUE(painter.isActive());
  painter.end();
  EXPECT_LT(qGray(image.pixel(50, 50)), 100);
  EXPECT_LT(qGray(image.pixel(45, 30)), 100);  // inside the filled head
}

}  // namespace
}  // namespace kvt
