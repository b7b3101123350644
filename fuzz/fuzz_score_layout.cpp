// Any score that loads, even as damaged, lays out into systems and pages and draws on the
// recording context without undefined behaviour and in bounded time: the bytes are score text
// (the reader's seeds serve), paginated at a small page so that systems and pages break often.
#include <climits>
#include <cstddef>
#include <cstdint>
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
  const kvt::TPaperMeasures paper{1240, 1754, 0, 0, 150, 150};
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
