// Any score that loads, even as damaged, lays out into systems and pages and draws on the
// recording context without undefined behaviour and in bounded time: the bytes are score text
// (the reader's seeds serve), paginated at a small page so that systems and pages break often.
// The last two bytes also choose a page setup of extremes that score files can hold (margins
// from none to the readers' 200 cm limit, leaving no or a sliver of printable area, the
// page-number start from off to the largest int, mirror margins) and a paper (small, tiny with
// offsets, landscape with unequal resolutions); setting 0 keeps what the score holds.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>

#include "draw/layout/staff_drawing.h"
#include "draw/print/print_data.h"
#include "draw/recording_context.h"
#include "draw/staff_color_handles.h"
#include "notation/files/text/score_text_reader.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "utils/alert_log.h"
#include "utils/flat_ram_stream.h"

namespace {
// Far more than any sound pagination of a score this small needs.
constexpr int kMaxPages = 2000;

// The largest margin the score readers accept, in inches.
constexpr float kMarginLimit = 200.0f / 2.54f - 0.001f;
struct TMarginsCase {
  float top, left, right, bottom;
};
constexpr TMarginsCase kMargins[] = {
    {0, 0, 0, 0},
    {kMarginLimit, kMarginLimit, kMarginLimit, kMarginLimit},  // nothing left: the defaults
    {0, 8.0f, 0.26f, 0},                                       // a sliver of width
    {11.6f, 0, 0, 0.09f},                                      // a sliver of height
    {0, 4.2f, 4.2f, 0},                                        // left beyond right
    {0.01f, 0.01f, kMarginLimit, 0.01f},
};
constexpr int kPageNumberStarts[] = {0, 1, 3, -7, INT_MAX - 1, INT_MAX};
const kvt::TPaperMeasures kPapers[] = {
    {1240, 1754, 0, 0, 150, 150},  // A4 at 150 dpi
    {12, 9, 3, 2, 150, 150},       // a label with offsets
    {1754, 620, 25, 40, 150, 75},  // landscape, unequal resolutions
};

// Applies the setup chosen by two bytes; returns the paper.
kvt::TPaperMeasures ApplyPageSetup(kvt::TMusicScore& score, uint8_t a, uint8_t b) {
  constexpr int kMarginChoices = static_cast<int>(std::size(kMargins)) + 1;
  constexpr int kStartChoices = static_cast<int>(std::size(kPageNumberStarts)) + 1;
  kvt::TPageMargins margins = score.GetMargins();
  if (const int m = a % kMarginChoices; m > 0) {
    margins.top = kMargins[m - 1].top;
    margins.left = kMargins[m - 1].left;
    margins.right = kMargins[m - 1].right;
    margins.bottom = kMargins[m - 1].bottom;
  }
  if (b & 1) margins.mirror = !margins.mirror;
  score.SetMargins(margins);
  if (const int p = (b >> 1) % kStartChoices; p > 0) score.SetPageNumbers(kPageNumberStarts[p - 1]);
  return kPapers[(a / kMarginChoices) % std::size(kPapers)];
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 16)) return 0;
  std::string bytes(reinterpret_cast<const char*>(data), size);
  kvt::TKRVFlatRamStream in(bytes.data(), static_cast<int>(bytes.size()),
                            static_cast<int>(bytes.size()));
  kvt::TScoreLoadResult info = kvt::ReadScoreText(in, kvt::TServices{}, kvt::kScoreTextModeFile);
  std::unique_ptr<kvt::TMusicScore> score = std::move(info.score);
  if (!score) return 0;

  kvt::TRecordingContext dc(150, 150);
  dc.SetKeepOps(false);
  kvt::TStaffColorHandles colors;
  kvt::TNullAlertLog alerts;
  const kvt::TPaperMeasures paper =
      size >= 2 ? ApplyPageSetup(*score, data[size - 1], data[size - 2]) : kPapers[0];
  kvt::TKVTNTNPrintData print(dc, paper, *score, colors, score->GetIncludeFlags(), alerts);
  const int pages = print.CountPages();
  if (pages < 0 || pages >= kMaxPages) __builtin_trap();
  print.SetPageRange(1, pages);
  print.ResetPagination();
  for (int n = 1; n <= pages; ++n) {
    print.RenderPage(&dc, n, true);
    print.AdvancePage();
  }
  // The score window's questions about the last system, at any coordinate; then the first
  // page again without justification (its marker and gap rulers).
  kvt::TScoreDrawInfo& layout = print.Layout();
  const int probes[] = {INT_MIN, -1, 0, 1, 37, 500, INT_MAX};
  for (int slot = -1; slot <= layout.GetStaffCount(); ++slot) {
    layout.GetBoundsRect(slot);
    layout.GetNeighbourStaff(slot, 1);
    layout.GetNeighbourStaff(slot, -1);
    for (int v : probes) {
      layout.YToStaffIndex(v);
      layout.YToStaffPosition(slot, v);
      layout.StaffPositionToY(slot, static_cast<float>(v));
      layout.XToTimeSlot(slot, v);
      layout.CursorToX(slot, {v, v});
    }
  }
  print.Fonts().BeginDrawing(&dc, &dc);
  for (int slot = 0; slot < layout.GetStaffCount(); ++slot) {
    kvt::DrawStaffInRect(layout, slot, kvt::TDcRect{10, 10, 1000, 400});
    const kvt::TStaffDrawInfo& staff = *layout.GetStaffDrawInfo(slot);
    for (int n = 0; n < staff.GetDrawPosCount() && n < 64; ++n) {
      const kvt::TStaffDrawPos& pos = *staff.PositionAt(n);
      kvt::DrawItemAt(layout, slot, {pos.GetItemIndex(), pos.GetMultiBarRestBar()}, 5, 5, n % 3 - 1,
                      8);
    }
  }
  print.Fonts().EndDrawing();
  print.ResetPagination();
  layout.ToggleNoJustify();
  print.RenderPage(&dc, 1, true);
  return 0;
}
