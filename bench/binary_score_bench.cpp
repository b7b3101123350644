// Loading and saving a compressed binary score file against its parts: zlib's own inflate and
// deflate of the same score text (same level, window and memory as the filters) and the score
// text reader and writer over memory. The score: 16 staves of 2,000 bars each (notes, chords,
// rests, beams, ties and some expressions).
//
// Goal: BinaryLoad within 1.5 x (Inflate + TextRead) and BinarySave within 1.5 x (Deflate +
// TextWrite). Every case reports the score text's bytes per second, so the times compare
// directly. BinarySave includes the flush of the file to disk that a safe save needs;
// BinarySaveNoDisk writes the same bytes through the same layers into memory.

#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <zlib.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "notation/files/binary/binary_score_file.h"
#include "notation/services/services.h"
#include "notation/items/chord_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/key_data.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_note.h"
#include "notation/files/text/score_text_reader.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/time_signature_data.h"
#include "utils/flat_ram_stream.h"
#include "utils/zlib_out_stream.h"

namespace {

using namespace kvt;

constexpr int kStaves = 16;
constexpr int kBars = 2000;
constexpr int kBlock = 16384;

void Add(TMusicStaff& staff, std::unique_ptr<TNotatedItem> item) {
  staff.InsertItem(std::move(item), staff.GetLastIndex());
}

std::unique_ptr<TMusicScore> MakeScore() {
  auto score = std::make_unique<TMusicScore>();
  score->SetSongInfoText(kSongTitle, u"Benchmark symphony");
  uint32_t x = 16;
  for (int s = 0; s < kStaves; ++s) {
    auto staff = std::make_unique<TMusicStaff>();
    staff->SetName(u"Staff " + std::u16string(1, static_cast<char16_t>(u'A' + s)));
    Add(*staff, std::make_unique<TClefData>(s % 2 ? kClefBass : kClefTreble));
    Add(*staff, std::make_unique<TKeyData>(0x20, 0, 6));
    Add(*staff, std::make_unique<TTimeSignatureData>(4, 2));
    for (int bar = 0; bar < kBars; ++bar) {
      if (bar % 16 == 0) Add(*staff, std::make_unique<TDynamicLevelData>(bar % 8));
      for (int beat = 0; beat < 4; ++beat) {
        x = x * 1664525u + 1013904223u;
        const int pos = static_cast<int>((x >> 8) % 13) - 6;
        switch ((x >> 20) % 5) {
          case 0: {
            auto chord = std::make_unique<TChordData>(std::make_unique<TMusicNote>(pos, kDurQuarter, 0, kAccNone),
                                                      std::make_unique<TMusicNote>(pos - 4, kDurQuarter, 0, kAccNone));
            Add(*staff, std::move(chord));
            break;
          }
          case 1:
            Add(*staff, std::make_unique<TRestNote>(kDurQuarter, 0));
            break;
          case 2: {
            auto first = std::make_unique<TMusicNote>(pos, kDurEighth, 0, kAccSharp);
            first->SetBeamState(kGroupFirst);
            auto second = std::make_unique<TMusicNote>(pos + 1, kDurEighth, kMaskTieOut, kAccNone);
            second->SetBeamState(kGroupEnd);
            Add(*staff, std::move(first));
            Add(*staff, std::move(second));
            break;
          }
          default:
            Add(*staff, std::make_unique<TMusicNote>(pos, kDurQuarter, (x >> 28) & 1 ? kMaskStaccato : 0,
                                                     kAccNone));
        }
      }
      Add(*staff, std::make_unique<TBarLineData>());
    }
    score->AddStaff(std::move(staff));
  }
  return score;
}

struct Fixture {
  std::unique_ptr<TMusicScore> score = MakeScore();
  std::string text;        // the score text
  std::string compressed;  // zlib stream of the text
  std::string folder;
  std::string file;

  Fixture() {
    TKRVFlatRamStream out(0, 1 << 22);
    WriteScoreText(out, *score);
    text.resize(static_cast<size_t>(out.Size()));
    out.Rewind();
    out.Read(text.data(), out.Size());
    compressed = Deflate(text);
    std::string pattern = (std::filesystem::temp_directory_path() / "kvt-bench-XXXXXX").string();
    folder = ::mkdtemp(pattern.data()) ? pattern : std::string("/tmp");
    file = folder + "/bench.kvt";
    WriteScoreToFile(file.c_str(), true, *score);
  }
  ~Fixture() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  static std::string Deflate(const std::string& in) {
    z_stream zs{};
    deflateInit2(&zs, 9, Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY);
    std::string out;
    std::vector<unsigned char> block(kBlock);
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
    zs.avail_in = static_cast<uInt>(in.size());
    int rc;
    do {
      zs.next_out = block.data();
      zs.avail_out = kBlock;
      rc = deflate(&zs, Z_FINISH);
      out.append(reinterpret_cast<char*>(block.data()), kBlock - zs.avail_out);
    } while (rc == Z_OK);
    deflateEnd(&zs);
    return out;
  }
};

Fixture& Data() {
  static Fixture* fixture = new Fixture();
  return *fixture;
}

void SetRate(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(Data().text.size()));
  state.counters["text_MB"] = static_cast<double>(Data().text.size()) / 1e6;
}

void BM_TextWrite(benchmark::State& state) {
  Fixture& d = Data();
  for (auto _ : state) {
    TKRVFlatRamStream out(static_cast<int>(d.text.size()) + 1024, 1 << 20);
    WriteScoreText(out, *d.score);
    benchmark::DoNotOptimize(out.Size());
  }
  SetRate(state);
}

void BM_TextRead(benchmark::State& state) {
  Fixture& d = Data();
  for (auto _ : state) {
    TKRVFlatRamStream in(d.text.data(), static_cast<int>(d.text.size()), static_cast<int>(d.text.size()));
    std::unique_ptr<TMusicScore> score = ReadScoreText(in, TServices{}).score;
    benchmark::DoNotOptimize(score.get());
  }
  SetRate(state);
}

void BM_Deflate(benchmark::State& state) {
  Fixture& d = Data();
  for (auto _ : state) benchmark::DoNotOptimize(Fixture::Deflate(d.text).size());
  SetRate(state);
}

void BM_Inflate(benchmark::State& state) {
  Fixture& d = Data();
  std::vector<unsigned char> block(kBlock);
  for (auto _ : state) {
    z_stream zs{};
    inflateInit(&zs);
    zs.next_in = reinterpret_cast<Bytef*>(d.compressed.data());
    zs.avail_in = static_cast<uInt>(d.compressed.size());
    size_t total = 0;
    int rc;
    do {
      zs.next_out = block.data();
      zs.avail_out = kBlock;
      rc = inflate(&zs, Z_NO_FLUSH);
      total += kBlock - zs.avail_out;
    } while (rc == Z_OK);
    inflateEnd(&zs);
    benchmark::DoNotOptimize(total);
  }
  SetRate(state);
}

void BM_BinaryLoad(benchmark::State& state) {
  Fixture& d = Data();
  for (auto _ : state) {
    TScoreFileHeader header;
    std::unique_ptr<TMusicScore> score = ReadScoreFromFile(d.file.c_str(), header, TServices{}).score;
    if (!score || header.status != TLoadStatus::kLoaded) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(score.get());
  }
  SetRate(state);
}

void BM_BinarySave(benchmark::State& state) {
  Fixture& d = Data();
  const std::string path = d.folder + "/saved.kvt";
  for (auto _ : state) {
    if (!WriteScoreToFile(path.c_str(), true, *d.score)) state.SkipWithError("save failed");
  }
  SetRate(state);
}

void BM_BinarySaveNoDisk(benchmark::State& state) {
  Fixture& d = Data();
  for (auto _ : state) {
    TKRVFlatRamStream out(static_cast<int>(d.compressed.size()) + (1 << 16), 1 << 20);
    TKRVZLibOutStream z(TKRVZLibInStream::kModeTagged, &out);
    bool ok = WriteScoreFile(z, *d.score);
    if (!(z.End() && ok)) state.SkipWithError("save failed");
    benchmark::DoNotOptimize(out.Size());
  }
  SetRate(state);
}

BENCHMARK(BM_TextWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Deflate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Inflate)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BinaryLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BinarySave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BinarySaveNoDisk)->Unit(benchmark::kMillisecond);

}  // namespace
