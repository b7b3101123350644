// Page pictures: the SVG's size and border, glyphs as outlines (checked by Python's XML
// parser), both clipboard types, the page the preview shows, and failing writes.

#include "print/page_picture.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>
#include <sstream>

#include "print/page_picture_file.h"
#include "tests/print/print_fixture.h"
#include "tests/tools/recording_message_box.h"

namespace kvt::test {
namespace {

// Prints the picture's width and height in millimetres, the number of text elements, of
// those in the music face, and of paths.
constexpr char kSvgSummary[] = R"py(
import sys, xml.etree.ElementTree as ET
root = ET.parse(sys.argv[1]).getroot()
ns = '{http://www.w3.org/2000/svg}'
def mm(v):
    assert v.endswith('mm'), v
    return float(v[:-2])
texts = [e for e in root.iter() if e.tag == ns + 'text']
music = [e for e in texts if 'Bravura' in (e.get('font-family') or '')]
for e in root.iter():
    if 'Bravura' in (e.get('font-family') or '') and e.tag == ns + 'g':
        music += [t for t in e.iter() if t.tag == ns + 'text']
paths = [e for e in root.iter() if e.tag == ns + 'path']
print(mm(root.get('width')), mm(root.get('height')), len(texts), len(music), len(paths))
)py";

struct TSvgSummary {
  double widthMm = 0, heightMm = 0;
  int texts = -1, musicTexts = -1, paths = -1;
};

class PagePictureTest : public PrintFixture {
protected:
  TSvgSummary Summarize(const std::string& svgFile) {
    WriteAll(Path("summary.py"), kSvgSummary);
    std::istringstream in(
        RunTool("/usr/bin/python3 '" + Path("summary.py") + "' '" + svgFile + "'"));
    TSvgSummary s;
    in >> s.widthMm >> s.heightMm >> s.texts >> s.musicTexts >> s.paths;
    return s;
  }
  // The print data at page n as the preview keeps it: pages before n rendered and advanced.
  std::unique_ptr<TKVTNTNPrintData> AtPage(TPrinterDevice& device, TMusicScore& score, int n) {
    auto data = Data(device, score);
    data->SetPageRange(1, 20000);
    data->ResetPagination();
    for (int k = 1; k < n; ++k) {
      data->RenderPage(nullptr, k, false);
      data->AdvancePage();
    }
    return data;
  }
};

TEST_F(PagePictureTest, TheSvgIsThePagePlusAQuarterInchBorderWithGlyphOutlines) {
  auto score = LoadExample();
  ASSERT_TRUE(score);
  auto device = PdfPrinter(Path("unused.pdf"));
  auto data = AtPage(*device, *score, 1);
  const std::string file = Path("page.svg");
  ASSERT_EQ(ExportPagePicture(*data, 600, 600, &file, 1, alerts), 1);
  const TSvgSummary s = Summarize(file);
  const TPageRect& page = data->GetPageRect();
  EXPECT_NEAR(s.widthMm, (page.width + 300) * 25.4 / 600, 0.5);
  EXPECT_NEAR(s.heightMm, (page.height + 300) * 25.4 / 600, 0.5);
  EXPECT_GT(s.texts, 0);  // the title page's texts stay texts
  EXPECT_EQ(s.musicTexts, 0);
  EXPECT_GT(s.paths, 100);  // the glyphs are outlines
}

TEST_F(PagePictureTest, TheClipboardHoldsSvgAndPng) {
  auto score = LoadExample();
  ASSERT_TRUE(score);
  auto device = PdfPrinter(Path("unused.pdf"));
  auto data = AtPage(*device, *score, 1);
  QGuiApplication::clipboard()->clear();
  ASSERT_EQ(ExportPagePicture(*data, 600, 600, nullptr, 1, alerts), 1);
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  ASSERT_TRUE(mime);
  EXPECT_TRUE(mime->data("image/svg+xml").startsWith("<?xml"));
  QImage png;
  ASSERT_TRUE(png.loadFromData(mime->data("image/png"), "PNG"));
  const TPageRect& page = data->GetPageRect();
  EXPECT_NEAR(png.width(), (page.width + 300) * kPicturePngDpi / 600.0, 2);
  // Music in black on white: the picture is not blank.
  int dark = 0;
  for (int y = 0; y < png.height(); y += 2)
    for (int x = 0; x < png.width(); x += 2) dark += qGray(png.pixel(x, y)) < 128;
  EXPECT_GT(dark, 100);
}

TEST_F(PagePictureTest, ThePictureIsThePageShown) {
  auto score = ScoreOfPages(3);
  ASSERT_TRUE(score);
  auto device = PdfPrinter(Path("unused.pdf"));
  auto shown = AtPage(*device, *score, 2);
  const QByteArray second = MakePagePicture(*shown, 600, 600, 2);
  ASSERT_FALSE(second.isEmpty());
  // Exporting leaves the preview at its page: the same picture again.
  EXPECT_EQ(MakePagePicture(*shown, 600, 600, 2), second);
  auto first = AtPage(*device, *score, 1);
  EXPECT_NE(MakePagePicture(*first, 600, 600, 1), second);
  // A fresh walk to page 2 gives the same page.
  auto again = AtPage(*device, *score, 2);
  EXPECT_EQ(MakePagePicture(*again, 600, 600, 2), second);
}

TEST_F(PagePictureTest, AFailedWriteKeepsTheFileAndShowsTheCopyError) {
  TRecordingMessageBoxService boxes;
  auto score = MakeScore(2, 8);
  auto device = PdfPrinter(Path("unused.pdf"));
  auto data = AtPage(*device, *score, 1);
  const std::string missing = Path("missing/page.svg");
  EXPECT_EQ(CopyPagePicture(nullptr, *data, 600, 600, &missing, 1, services), 0);
  ASSERT_EQ(boxes.boxes.size(), 1u);
  EXPECT_EQ(boxes.boxes[0].caption, "Bitmap Copy Error");
  EXPECT_EQ(boxes.boxes[0].text,
            "Operation failed: Probably due to insufficient memory or no DIB.DRV file.");
  ASSERT_FALSE(alerts.lines.empty());
  EXPECT_NE(alerts.lines.back().find("missing/page.svg"), std::string::npos);

  const std::string existing = Path("page.svg");
  WriteAll(existing, "older");
  EXPECT_EQ(CopyPagePicture(nullptr, *data, 600, 600, &existing, 1, services), 1);
  EXPECT_EQ(boxes.boxes.size(), 1u);
  EXPECT_NE(ReadAll(existing), "older");
}

// Remembers the folder of the pictures' dialog kind.
class TFolderShell final : public TPrintShell {
public:
  QWidget* MainWindow() override { return nullptr; }
  std::string FileDialogFolder(int kind) override { return kind == 0 ? folder : std::string(); }
  void RememberFileDialogFolder(int kind, const std::string& path) override {
    remembered = {kind, path};
  }
  std::string folder;
  std::pair<int, std::string> remembered{-1, {}};
};

TEST_F(PagePictureTest, TheFileChoiceOffersSvgInTheRememberedFolder) {
  TFolderShell shell;
  shell.folder = dir.path().toStdString();
  services.shell = &shell;
  QString filter, start;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->windowTitle(), "Export Graphic File");
    filter = dialog->nameFilters().join(';');
    start = dialog->directory().absolutePath();
    dialog->selectFile(dir.filePath("picture"));
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides it
  });
  std::string path;
  ASSERT_TRUE(ChoosePictureFile(nullptr, services, path));
  EXPECT_EQ(filter, "SVG Files (*.svg)");
  EXPECT_EQ(start, dir.path());
  EXPECT_EQ(path, Path("picture.svg"));
  EXPECT_EQ(shell.remembered, std::make_pair(0, Path("picture.svg")));

  QTimer::singleShot(0, [] {
    if (QWidget* dialog = QApplication::activeModalWidget())
      static_cast<QDialog*>(dialog)->reject();
  });
  EXPECT_FALSE(ChoosePictureFile(nullptr, services, path));
}

}  // namespace
}  // namespace kvt::test
