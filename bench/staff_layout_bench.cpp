// Staff layout speed: a long staff (quarters, beamed eighths, chords with accidentals, a
// lyric line) laid out system after system, as the page renderer walks it; and one system
// rebuilt in the middle of the staff, as after an edit. Widths come from the music fonts;
// the kinds drawn elsewhere measure a fixed width here.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "draw/layout/music_fonts_metrics.h"
#include "draw/layout/staff_draw_info.h"
#include "draw/music_fonts.h"
#include "draw/staff_color_handles.h"
#include "draw/user_object_draw_host.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/lyric_text.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_fonts_data.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_lyrics.h"

namespace kvt {
namespace {

constexpr int kSystemWidth = 4000;  // about a page at 600 dpi

class TBenchHost final : public TStaffLayoutHost {
public:
  explicit TBenchHost(const TMusicFonts& fonts) : metrics(fonts) {}
  const TLayoutMetrics& Metrics() const override { return metrics; }
  int GetDrawMode() const override { return kDrawModePrint; }
  TMusicScore* GetScore() const override { return nullptr; }
  bool IsFirstLayoutStaff(int slot) const override { return slot == 0; }
  int GetLinedGroupCount() const override { return 1; }
  int MeasureOtherItem(TStaffDrawInfo&, TStaffDrawPos&, const TNotatedItem&) override { return 30; }
  int LyricTextWidth(std::u16string_view text) override { return 20 * static_cast<int>(text.size()); }
  TUserObjectDrawHost& UserObjects() override { return scripts; }
  int GetActiveSlot() const override { return 0; }

private:
  TMusicFontsMetrics metrics;
  TNullUserObjectDrawHost scripts;
};

void Insert(TMusicStaff& staff, std::unique_ptr<TNotatedItem> item) {
  staff.InsertItem(std::move(item), staff.GetLastIndex());
}

// bars of four beats: two quarters, two beamed eighths and a chord with accidentals.
void FillStaff(TMusicStaff& staff, int bars) {
  std::u16string lyric;
  for (int bar = 0; bar < bars; ++bar) {
    Insert(staff, std::make_unique<TMusicNote>(bar % 7 - 3, kDurQuarter, 0, kAccNone));
    Insert(staff, std::make_unique<TMusicNote>(bar % 5 - 2, kDurQuarter, 0, kAccSharp));
    for (int i = 0; i < 2; ++i) {
      auto n = std::make_unique<TMusicNote>(i - 1, kDurEighth, 0, kAccNone);
      n->SetBeamState(i == 0 ? kGroupFirst : kGroupEnd);
      Insert(staff, std::move(n));
    }
    auto chord = std::make_unique<TChordData>();
    for (int p : {2, 1, -1}) {
      auto m = std::make_unique<TMusicNote>(p, kDurQuarter, 0, p == 1 ? kAccFlat : kAccNatural);
      chord->AddNote(m);
    }
    Insert(staff, std::move(chord));
    Insert(staff, std::make_unique<TBarLineData>());
    lyric += u"la la-li lo lu ";
  }
  auto line = std::make_unique<TLyricText>();
  line->ReadFromEdit(lyric, false);
  staff.MakeLyrics().Add(std::move(line));
}

struct TBenchSetup {
  TMusicFontsData data;
  TStaffColorHandles colors;
  TMusicFonts fonts{data, colors, 40};
  TBenchHost host{fonts};
  TMusicStaff staff;
  TStaffDrawInfo layout{host, 0};
};

void BM_LayOutStaffBySystems(benchmark::State& state) {
  TBenchSetup s;
  FillStaff(s.staff, static_cast<int>(state.range(0)));
  s.layout.SetStaffByPointer(&s.staff);
  int systems = 0;
  for (auto _ : state) {
    s.layout.StaffChanged();
    TLayoutStart start;
    systems = 0;
    for (;;) {
      s.layout.BuildPositionsFrom(start, kSystemWidth);
      s.layout.CloseSystem();
      ++systems;
      const TLayoutStart next = s.layout.GetLayoutEnd();
      if (s.layout.ReachedStaffEnd() || next.itemIndex <= start.itemIndex) break;
      start = next;
    }
  }
  state.counters["systems"] = systems;
}
BENCHMARK(BM_LayOutStaffBySystems)->Arg(200)->Arg(2000)->Unit(benchmark::kMillisecond);

void BM_RebuildOneSystem(benchmark::State& state) {
  TBenchSetup s;
  FillStaff(s.staff, 2000);
  s.layout.SetStaffByPointer(&s.staff);
  // Start of the system that holds bar `range`: 6 items per bar, after the opening bar line.
  const int item = 1 + 6 * static_cast<int>(state.range(0));
  // The staff was laid out once, system by system, as on screen or on pages.
  TLayoutStart start;
  for (int systems = 0; systems < 1000 && !s.layout.ReachedStaffEnd(); ++systems) {
    s.layout.BuildPositionsFrom(start, kSystemWidth);
    s.layout.CloseSystem();
    start = s.layout.GetLayoutEnd();
  }
  for (auto _ : state) {
    s.layout.StaffChanged(item + 2);  // an edit in the bar
    s.layout.BuildPositionsFrom({item, 0}, kSystemWidth);
    benchmark::DoNotOptimize(s.layout.GetTotalWidth());
  }
}
BENCHMARK(BM_RebuildOneSystem)->Arg(1)->Arg(1900)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kvt
