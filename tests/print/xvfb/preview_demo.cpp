// A small program that previews a score, driven from outside under a virtual display; with
// "--bars N" every staff gets N more bars of quarter notes, so that a short score runs over
// several pages. It
// prints a line whenever the preview's state changes ("STATE page=.. pages=.. zoom=..
// focus=X,Y"), one for each page copied to the clipboard ("COPIED page=.. svg=1 png=1") and one
// when the frame closes ("CLOSED placement=1").
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPageSize>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "draw/print/print_data.h"
#include "draw/staff_color_handles.h"
#include "notation/files/text/score_text_file.h"
#include "notation/staff/music_score.h"
#include "platform/music_font_loader.h"
#include "print/preview_services.h"
#include "print/preview_window.h"
#include "print/printer_device.h"
#include "tests/notation/staff_builder.h"
#include "tools/kv_app_base.h"
#include "utils/alert_log.h"

namespace {

class TLinePlacement final : public kvt::TPlacementStore {
public:
  bool Load(const QString&, kvt::TWindowPlacement&) override { return false; }
  void Save(const QString& name, const kvt::TWindowPlacement&) override {
    std::printf("CLOSED placement=%d\n", name == "Preview" ? 1 : 0);
    std::fflush(stdout);
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: preview_demo SCORE.kvttxt [--bars N]\n");
    return 2;
  }
  kvt::TKVAppBase app(argc, argv);
  if (!kvt::LoadMusicFont()) {
    std::fprintf(stderr, "the music font is missing\n");
    return 2;
  }
  std::unique_ptr<kvt::TMusicScore> score = kvt::LoadTextScoreFile(argv[1], kvt::TServices()).score;
  if (!score) {
    std::fprintf(stderr, "cannot load %s\n", argv[1]);
    return 2;
  }
  if (argc > 3 && std::string(argv[2]) == "--bars") {
    const int bars = std::clamp(std::atoi(argv[3]), 0, 10000);
    for (int i = 0; i < score->GetStaffCount(); ++i) {
      kvt::test::TStaffBuilder b(*score->GetStaff(i));
      for (int bar = 0; bar < bars; ++bar) {
        b.Bar();
        for (int n = 0; n < 4; ++n) b.Note(0);
      }
    }
  }
  // The PDF printer on A4; the preview only measures with it, so no file is written.
  kvt::TPrinterDevice device{QString(), QString()};
  device.Printer().setPageSize(QPageSize(QPageSize::A4));
  kvt::TStaffColorHandles colors;
  kvt::TNullAlertLog alerts;
  kvt::TKVTNTNPrintData print(device.Measurer(), device.Paper(), *score, colors,
                              score->GetIncludeFlags(), alerts);
  int pages = 0;
  {
    kvt::TKVTNTNPrintData counter(device.Measurer(), device.Paper(), *score, colors,
                                  score->GetIncludeFlags(), alerts);
    pages = counter.CountPages();
  }
  TLinePlacement placement;
  kvt::TPreviewServices services;
  services.placement = &placement;
  kvt::TKVTPrintPreview frame(nullptr, print, services, 0);
  frame.setGeometry(40, 40, 700, 560);

  QObject::connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, [&] {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasFormat("image/svg+xml")) return;
    std::printf("COPIED page=%d svg=1 png=%d\n", frame.Control().Page(),
                data->hasFormat("image/png") ? 1 : 0);
    std::fflush(stdout);
  });
  std::string last;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    kvt::TScorePreviewControl& c = frame.Control();
    if (!c.IsInitialized()) return;
    const kvt::TPreviewStatus s = c.GetStatus();
    const QPoint centre = c.mapToGlobal(c.rect().center());
    char line[160];
    std::snprintf(line, sizeof line, "STATE page=%d pages=%d zoom=%d focus=%d,%d\n", c.Page(),
                  pages, s.zoom, centre.x(), centre.y());
    if (line == last) return;
    last = line;
    std::fputs(line, stdout);
    std::fflush(stdout);
  });
  watch.start(50);
  frame.RunModal();
  return 0;
}
