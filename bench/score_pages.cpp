// score_pages: lays out a score file and renders every page through the page renderer to a
// PDF (optionally one SVG or PNG per page), then prints its times and peak memory. A developer
// program, not part of kvt2.
//
// Usage: score_pages SCORE OUT.pdf [--svg FOLDER] [--png FOLDER]
// SCORE is a .kvt or .kvttxt file. Exit 0 on success; 1 with a message when the score cannot
// be loaded or an output cannot be written. The last line printed is
// "pages N, load X ms, layout Y ms, render Z ms, peak M MB".

#include <sys/resource.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "draw/print/print_data.h"
#include "draw/staff_color_handles.h"
#include "notation/files/binary/binary_score_file.h"
#include "notation/files/binary/score_file_header.h"
#include "notation/files/text/score_text_file.h"
#include "notation/staff/music_score.h"
#include "platform/fontconfig_font_catalog.h"
#include "platform/music_font_loader.h"
#include "platform/page_contexts.h"
#include "platform/qpainter_context.h"
#include "utils/alert_log.h"

namespace kvt {
namespace {

constexpr int kPdfDpi = 600;
constexpr int kPngDpi = 150;

class TStderrAlerts final : public TAlertLog {
public:
  void AddLine(std::string_view line) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(line.size()), line.data());
  }
};

using TClock = std::chrono::steady_clock;

double MillisecondsSince(TClock::time_point start) {
  return std::chrono::duration<double, std::milli>(TClock::now() - start).count();
}

long PeakMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024;  // kilobytes on Linux
}

bool EndsWith(std::string_view text, std::string_view tail) {
  if (text.size() < tail.size()) return false;
  for (size_t i = 0; i < tail.size(); ++i) {
    const char a = text[text.size() - tail.size() + i];
    if ((a | 0x20) != (tail[i] | 0x20)) return false;
  }
  return true;
}

std::unique_ptr<TMusicScore> Load(const std::string& path, const TServices& services) {
  if (EndsWith(path, ".kvttxt")) return LoadTextScoreFile(path, services).score;
  TScoreFileHeader header;
  return ReadScoreFromFileRepairing(path.c_str(), header, services).score;
}

// A4 at the resolution, printable to its edges.
TPaperMeasures A4(int dpi) {
  return {static_cast<int>(std::lround(210 / 25.4 * dpi)),
          static_cast<int>(std::lround(297 / 25.4 * dpi)),
          0,
          0,
          dpi,
          dpi};
}

// Renders every page of a fresh pagination into one picture per page made by `make`.
template <class TMake>
bool RenderPictures(TMusicScore& score, const TStaffColorHandles& colors, TAlertLog& alerts,
                    const TServices& services, int dpi, int pages, TMake make) {
  for (int n = 1; n <= pages; ++n) {
    if (!make(n, [&](TDeviceContext& dc) {
          TKVTNTNPrintData print(dc, A4(dpi), score, colors, score.GetIncludeFlags(), alerts,
                                 services);
          print.SetPageRange(1, n);
          for (int k = 1; k < n; ++k) {
            print.RenderPage(nullptr, k, false);
            print.AdvancePage();
          }
          return print.RenderPage(&dc, n, true) != kPageFailed;
        }))
      return false;
  }
  return true;
}

int Run(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: score_pages SCORE OUT.pdf [--svg FOLDER] [--png FOLDER]\n");
    return 1;
  }
  std::string svgFolder, pngFolder;
  for (int i = 3; i + 1 < argc; i += 2) {
    const std::string_view option = argv[i];
    if (option == "--svg")
      svgFolder = argv[i + 1];
    else if (option == "--png")
      pngFolder = argv[i + 1];
  }
  if (!LoadMusicFont()) std::fprintf(stderr, "score_pages: the music font could not be loaded\n");
  TFontconfigFontCatalog catalog;
  TServices services;
  services.fontCatalog = &catalog;
  TStderrAlerts alerts;
  TStaffColorHandles colors;

  const auto loadStart = TClock::now();
  std::unique_ptr<TMusicScore> score = Load(argv[1], services);
  const double loadMs = MillisecondsSince(loadStart);
  if (!score) {
    std::fprintf(stderr, "score_pages: %s cannot be loaded as a score\n", argv[1]);
    return 1;
  }

  TPdfPageContext pdf(QString::fromUtf8(argv[2]), kPdfDpi);
  TKVTNTNPrintData print(pdf.Context(), A4(kPdfDpi), *score, colors, score->GetIncludeFlags(),
                         alerts, services);
  const auto layoutStart = TClock::now();
  const int pages = print.CountPages();
  const double layoutMs = MillisecondsSince(layoutStart);

  const auto renderStart = TClock::now();
  print.SetPageRange(1, std::max(pages, 1));
  print.ResetPagination();
  bool ok = true;
  for (int n = 1; n <= pages; ++n) {
    if (n > 1 && !pdf.NewPage()) ok = false;
    if (print.RenderPage(&pdf.Context(), n, true) == kPageFailed) ok = false;
    print.AdvancePage();
  }
  if (!pdf.Finish()) ok = false;
  const double renderMs = MillisecondsSince(renderStart);
  if (!ok) {
    std::fprintf(stderr, "score_pages: %s cannot be written\n", argv[2]);
    return 1;
  }

  if (!svgFolder.empty()) {
    const TPaperMeasures paper = A4(kPdfDpi);
    ok = RenderPictures(*score, colors, alerts, services, kPdfDpi, pages, [&](int n, auto render) {
      const QString file = QString::fromUtf8(svgFolder) + QStringLiteral("/page-%1.svg").arg(n);
      TSvgPictureContext svg(file, paper.physicalWidth, paper.physicalHeight, kPdfDpi);
      const bool drawn = render(svg.Context());
      return svg.Finish() && drawn;
    });
    if (!ok) {
      std::fprintf(stderr, "score_pages: the pictures in %s cannot be written\n",
                   svgFolder.c_str());
      return 1;
    }
  }
  if (!pngFolder.empty()) {
    const TPaperMeasures paper = A4(kPngDpi);
    ok = RenderPictures(*score, colors, alerts, services, kPngDpi, pages, [&](int n, auto render) {
      QImage image(paper.physicalWidth, paper.physicalHeight, QImage::Format_RGB32);
      image.fill(Qt::white);
      image.setDotsPerMeterX(static_cast<int>(std::lround(kPngDpi / 0.0254)));
      image.setDotsPerMeterY(static_cast<int>(std::lround(kPngDpi / 0.0254)));
      bool drawn = false;
      {
        TQPainterContext dc(image);
        drawn = render(dc);
        drawn = dc.Finish() && drawn;
      }
      const QString file = QString::fromUtf8(pngFolder) + QStringLiteral("/page-%1.png").arg(n);
      return drawn && image.save(file, "PNG");
    });
    if (!ok) {
      std::fprintf(stderr, "score_pages: the pictures in %s cannot be written\n",
                   pngFolder.c_str());
      return 1;
    }
  }
  std::printf("pages %d, load %.0f ms, layout %.0f ms, render %.0f ms, peak %ld MB\n", pages,
              loadMs, layoutMs, renderMs, PeakMegabytes());
  return 0;
}

}  // namespace
}  // namespace kvt

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  return kvt::Run(argc, argv);
}
