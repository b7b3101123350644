// Staff layout of any score that loads: the first byte picks the draw mode and the system
// width, the rest is score text. Every staff is laid out system after system (each system
// must consume an item, and the walk is bounded), and each system's beams, tuplet brackets,
// slurs, notes, rests and chords are computed and drawn on a recording context.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "draw/items/song_note_drawing.h"
#include "draw/layout/beam_layout.h"
#include "draw/layout/music_fonts_metrics.h"
#include "draw/layout/slur_layout.h"
#include "draw/layout/staff_draw_info.h"
#include "draw/layout/tuplet_brackets.h"
#include "draw/music_fonts.h"
#include "draw/recording_context.h"
#include "draw/staff_color_handles.h"
#include "draw/user_object_draw_host.h"
#include "notation/files/text/score_text_reader.h"
#include "notation/items/item_cast.h"
#include "notation/items/song_note.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "utils/flat_ram_stream.h"

namespace {

using namespace kvt;

constexpr int kMaxStaves = 4;
constexpr int kMaxSystems = 4000;

class TFuzzHost final : public TStaffLayoutHost {
public:
  TFuzzHost(const TMusicFonts& fonts, TMusicScore* score, int mode) : metrics(fonts), score(score), mode(mode) {}
  const TLayoutMetrics& Metrics() const override { return metrics; }
  int GetDrawMode() const override { return mode; }
  TMusicScore* GetScore() const override { return score; }
  bool IsFirstLayoutStaff(int slot) const override { return slot == 0; }
  int GetLinedGroupCount() const override { return 1; }
  int MeasureOtherItem(TStaffDrawInfo&, TStaffDrawPos&, const TNotatedItem& item) override {
    return 8 + 3 * static_cast<int>(item.GetType());
  }
  int LyricTextWidth(std::u16string_view text) override { return 7 * static_cast<int>(text.size()); }
  TUserObjectDrawHost& UserObjects() override { return scripts; }
  int GetActiveSlot() const override { return 0; }

private:
  TMusicFontsMetrics metrics;
  TMusicScore* score;
  int mode;
  TNullUserObjectDrawHost scripts;
};

void DrawSystem(TMusicFonts& fonts, TStaffDrawInfo& layout) {
  layout.Beams().Clear();
  layout.Brackets().Clear();
  layout.Slurs().Clear();
  TMusicStaff& staff = *layout.GetStaff();
  for (int n = 1; n < layout.GetDrawPosCount(); ++n) {
    const auto* song = ItemAs<TSongNote>(staff.GetItem(layout.PositionAt(n)->GetItemIndex()));
    if (!song) continue;
    const int x = layout.XOfPosition(n);
    TStaffConnect rec;
    if (song->GetBeamState() == kGroupFirst && ComputeBeam(layout, rec, n, x)) layout.Beams().Append(rec);
    TStaffSlur slur;
    if ((song->IsSlurOut() && !song->IsSlurIn()) || (n == 1 && song->IsSlurIn()))
      if (ComputeSlur(layout, slur, n, x)) layout.Slurs().Append(slur);
  }
  for (int n = 1; n < layout.GetDrawPosCount(); ++n) {
    const auto* song = ItemAs<TSongNote>(staff.GetItem(layout.PositionAt(n)->GetItemIndex()));
    TStaffConnect rec;
    if (song && song->GetTripletState() == kGroupFirst &&
        ComputeTupletBracket(layout, rec, n, layout.XOfPosition(n)))
      layout.Brackets().Append(rec);
  }
  for (int n = 1; n < layout.GetDrawPosCount(); ++n) {
    const TStaffDrawPos& pos = *layout.PositionAt(n);
    const auto* song = ItemAs<TSongNote>(staff.GetItem(pos.GetItemIndex()));
    if (!song || pos.IsAutoInsert()) continue;
    const int x = layout.XOfPosition(n);
    DrawSongNote(fonts, layout, pos, *song, x);
    if (song->GetBeamState() == kGroupFirst) DrawBeamGroup(fonts, layout, n, x);
    if (song->GetTripletState() == kGroupFirst) DrawTupletBracket(fonts, layout, n);
  }
  DrawSlurs(fonts, layout, 0, layout.GetTotalWidth());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > (1u << 18)) return 0;
  const int mode = data[0] % 5;
  const int width = 200 + (data[0] >> 3) * 400;
  std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  TKRVFlatRamStream in(bytes.data(), static_cast<int>(bytes.size()), static_cast<int>(bytes.size()));
  TScoreLoadResult info = ReadScoreText(in, TServices{}, kScoreTextModeFile);
  std::unique_ptr<TMusicScore> score = std::move(info.score);
  if (!score) return 0;

  TMusicFontsData fontsData;
  TStaffColorHandles colors;
  TMusicFonts fonts(fontsData, colors, 20);
  TRecordingContext dc;
  dc.SetKeepOps(false);
  fonts.BeginDrawing(&dc, &dc);
  TFuzzHost host(fonts, score.get(), mode);
  for (int s = 0; s < std::min(score->GetStaffCount(), kMaxStaves); ++s) {
    TStaffDrawInfo layout(host, s);
    layout.SetStaff(s);
    layout.BuildPositions(0, width);
    TLayoutStart start;
    for (int systems = 0; systems < kMaxSystems; ++systems) {
      layout.BuildPositionsFrom(start, width);
      layout.CloseSystem();
      DrawSystem(fonts, layout);
      const TLayoutStart next = layout.GetLayoutEnd();
      if (layout.ReachedStaffEnd()) break;
      // Every system consumes at least one item.
      if (next.itemIndex < start.itemIndex || (next.itemIndex == start.itemIndex && next.restBar <= start.restBar))
        __builtin_trap();
      start = next;
    }
  }
  fonts.EndDrawing();
  return 0;
}
