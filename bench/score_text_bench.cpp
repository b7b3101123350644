// Reading and writing a large text score (16 staves of 2,000 bars, several megabytes), against
// a plain line split of the same bytes: once through the stream's own line reading, once over
// the bytes in memory. Bytes per second are reported for each, so the reader's cost per byte
// can be compared with the line split's. The line reader alone over lines that end in zero
// bytes shows that a line end costs the same however far the next line feed is.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <string>

#include "notation/items/bar_line_data.h"
#include "notation/services/services.h"
#include "notation/items/chord_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/key_data.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_note.h"
#include "notation/files/text/score_text_line_reader.h"
#include "notation/files/text/score_text_reader.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/audit/staff_audit.h"
#include "notation/items/text_expression.h"
#include "notation/items/time_signature_data.h"
#include "utils/flat_ram_stream.h"

namespace {

using namespace kvt;

constexpr int kStaves = 16;
constexpr int kBars = 2000;

void Add(TMusicStaff& staff, std::unique_ptr<TNotatedItem> item) {
  staff.InsertItem(std::move(item), staff.GetLastIndex());
}

std::unique_ptr<TMusicNote> Note(int pos, int duration, int accidental = kAccNone) {
  return std::make_unique<TMusicNote>(pos, duration, 0, accidental);
}

// Each bar: a 4/4 bar of eighths with a beam, a chord, a rest, and every fourth bar a dynamic
// and a text.
std::unique_ptr<TMusicScore> MakeScore() {
  auto score = std::make_unique<TMusicScore>();
  for (int s = 0; s < kStaves; ++s) {
    auto staff = std::make_unique<TMusicStaff>();
    Add(*staff, std::make_unique<TClefData>(s % 2 ? kClefBass : kClefTreble));
    Add(*staff, std::make_unique<TKeyData>(1 << 5, 0, 6));
    Add(*staff, std::make_unique<TTimeSignatureData>(4, 2));
    for (int bar = 0; bar < kBars; ++bar) {
      if (bar % 4 == 0) {
        Add(*staff, std::make_unique<TDynamicLevelData>(bar % 8));
        auto text = std::make_unique<TTextExpression>();
        text->SetText(u"cantabile \"dolce\"");
        Add(*staff, std::move(text));
      }
      for (int k = 0; k < 4; ++k) {
        std::unique_ptr<TMusicNote> note = Note((bar + k) % 9 - 4, kDurEighth, k == 1 ? kAccSharp : kAccNone);
        note->SetBeamState(k == 0 ? kGroupFirst : k == 3 ? kGroupEnd : kGroupMiddle);
        if (k == 2) note->SetNoteFlag(kFlagStaccato);
        Add(*staff, std::move(note));
      }
      auto chord = std::make_unique<TChordData>(Note(4, kDurQuarter), Note(0, kDurQuarter, kAccFlat));
      std::unique_ptr<TMusicNote> third = Note(-3, kDurQuarter);
      chord->AddNote(third);
      Add(*staff, std::move(chord));
      Add(*staff, std::make_unique<TRestNote>(kDurQuarter, 0));
      Add(*staff, std::make_unique<TBarLineData>(bar % 16 == 15 ? kBarDouble : kBarSingle));
    }
    score->AddStaff(std::move(staff));
  }
  return score;
}

const std::string& ScoreText() {
  static const std::string text = [] {
    TKRVFlatRamStream out(0, 1 << 22);
    WriteScoreText(out, *MakeScore());
    std::string bytes(static_cast<size_t>(out.Size()), '\0');
    out.Rewind();
    out.Read(bytes.data(), static_cast<int>(bytes.size()));
    return bytes;
  }();
  return text;
}

void BM_WriteScoreText(benchmark::State& state) {
  const std::unique_ptr<TMusicScore> score = MakeScore();
  const size_t size = ScoreText().size();
  TKRVFlatRamStream out(static_cast<int>(size + 4096), 1 << 20);
  for (auto _ : state) {
    out.Clear();
    WriteScoreText(out, *score);
    benchmark::DoNotOptimize(out.Size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(size));
}
BENCHMARK(BM_WriteScoreText)->Unit(benchmark::kMillisecond);

void BM_ReadScoreText(benchmark::State& state) {
  std::string text = ScoreText();
  for (auto _ : state) {
    TKRVFlatRamStream in(text.data(), static_cast<int>(text.size()), static_cast<int>(text.size()));
    TScoreLoadResult info = ReadScoreText(in, TServices{});
    std::unique_ptr<TMusicScore> score = std::move(info.score);
    if (!score || info.status != TLoadStatus::kLoaded) state.SkipWithError("the text did not load");
    benchmark::DoNotOptimize(score.get());
    // Freeing the score is no part of reading.
    state.PauseTiming();
    score.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
  state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
}
BENCHMARK(BM_ReadScoreText)->Unit(benchmark::kMillisecond);

// The audit that ends every load, alone, on the loaded score: reading proper is the load's
// time less this.
void BM_AuditLoadedScore(benchmark::State& state) {
  std::string text = ScoreText();
  TKRVFlatRamStream in(text.data(), static_cast<int>(text.size()), static_cast<int>(text.size()));
  std::unique_ptr<TMusicScore> score = ReadScoreText(in, TServices{}).score;
  for (auto _ : state) AuditScore(*score, true, TServices());
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_AuditLoadedScore)->Unit(benchmark::kMillisecond);

// The lines of the same bytes through the stream's line reading (byte by byte, as every text
// reader of the system takes its lines).
void BM_LineSplitStream(benchmark::State& state) {
  std::string text = ScoreText();
  char line[32000];
  for (auto _ : state) {
    TKRVFlatRamStream in(text.data(), static_cast<int>(text.size()), static_cast<int>(text.size()));
    int64_t lines = 0;
    while (!in.IsError()) {
      in.ReadLine(line, sizeof line);
      ++lines;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_LineSplitStream)->Unit(benchmark::kMillisecond);

// The lines of the same bytes found in memory with memchr (a lower bound of any line reader).
void BM_LineSplitMemory(benchmark::State& state) {
  const std::string& text = ScoreText();
  for (auto _ : state) {
    int64_t lines = 0;
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
      const void* nl = std::memchr(p, '\n', static_cast<size_t>(end - p));
      p = nl ? static_cast<const char*>(nl) + 1 : end;
      ++lines;
    }
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_LineSplitMemory)->Unit(benchmark::kMillisecond);

// The line reader over lines that end in zero bytes, with no line feed for a long way: the cost
// of a line end must not grow with the distance to the next line feed.
void BM_LineReaderZeroEndedLines(benchmark::State& state) {
  std::string text;
  for (int i = 0; i < (1 << 20); ++i) text.append("|Bar", 4).push_back('\0');
  for (auto _ : state) {
    TKRVFlatRamStream in(text.data(), static_cast<int>(text.size()), static_cast<int>(text.size()));
    TScoreTextLineReader lines(in);
    int64_t count = 0;
    while (lines.Next()) ++count;
    benchmark::DoNotOptimize(count);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * (1 << 20));
}
BENCHMARK(BM_LineReaderZeroEndedLines)->Unit(benchmark::kMillisecond);

}  // namespace
