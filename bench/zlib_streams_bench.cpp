// The compressed stream filters against zlib called directly on the same bytes, with the same
// 16384-byte buffers and the same segmented memory stream as source or sink, so the difference
// is the filters' own cost. Data: 10 MB of score-like text lines.

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "utils/seg_ram_stream.h"
#include "utils/zlib_in_stream.h"
#include "utils/zlib_out_stream.h"

namespace {

using kvt::TKRVSegRamStream;
using kvt::TKRVStream;
using kvt::TKRVZLibInStream;
using kvt::TKRVZLibOutStream;

constexpr int kBlock = TKRVZLibInStream::kBlockSize;
constexpr size_t kTextSize = size_t{10} << 20;
constexpr int kSegment = 0x8000;

const std::vector<uint8_t>& ScoreText() {
  static const std::vector<uint8_t> text = [] {
    std::string s;
    s.reserve(kTextSize + 64);
    uint32_t x = 2024;
    char line[64];
    while (s.size() < kTextSize) {
      x = x * 1664525u + 1013904223u;
      int pos = static_cast<int>((x >> 8) % 25) - 12;
      unsigned dur = 1u << ((x >> 16) % 6);
      unsigned tie = (x >> 28) & 1;
      std::snprintf(line, sizeof line, "|Note|Pos:%d|Dur:%u|Tie:%u\r\n", pos, dur, tie);
      s += line;
    }
    s.resize(kTextSize);
    return std::vector<uint8_t>(s.begin(), s.end());
  }();
  return text;
}

// The "[KVZ]"-framed text, made once by the filter.
TKRVSegRamStream& TaggedText() {
  static TKRVSegRamStream* stored = [] {
    auto* s = new TKRVSegRamStream(kSegment);
    TKRVZLibOutStream out(TKRVZLibInStream::kModeTagged, s, false);
    const auto& text = ScoreText();
    out.Write(text.data(), static_cast<int>(text.size()));
    if (!out.End()) std::abort();
    return s;
  }();
  return *stored;
}

void Report(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(kTextSize));
}

// --- compression ---

void BM_Compress_Zlib(benchmark::State& state) {
  const auto& text = ScoreText();
  std::vector<uint8_t> out(kBlock);
  for (auto _ : state) {
    TKRVSegRamStream sink(kSegment);
    sink.WriteString("[KVZ]");
    z_stream z{};
    deflateInit(&z, 9);
    for (size_t at = 0; at < text.size(); at += kBlock) {
      z.next_in = const_cast<uint8_t*>(text.data() + at);
      z.avail_in = static_cast<uInt>(std::min<size_t>(kBlock, text.size() - at));
      while (z.avail_in > 0) {
        z.next_out = out.data();
        z.avail_out = kBlock;
        deflate(&z, Z_NO_FLUSH);
        sink.Write(out.data(), kBlock - static_cast<int>(z.avail_out));
      }
    }
    int result;
    do {
      z.next_out = out.data();
      z.avail_out = kBlock;
      result = deflate(&z, Z_FINISH);
      sink.Write(out.data(), kBlock - static_cast<int>(z.avail_out));
    } while (result == Z_OK);
    deflateEnd(&z);
    benchmark::DoNotOptimize(sink.Size());
  }
  Report(state);
}

void BM_Compress_FilterWrite(benchmark::State& state) {
  const auto& text = ScoreText();
  for (auto _ : state) {
    TKRVSegRamStream sink(kSegment);
    TKRVZLibOutStream out(TKRVZLibInStream::kModeTagged, &sink, false);
    for (size_t at = 0; at < text.size(); at += kBlock) {
      out.Write(text.data() + at, static_cast<int>(std::min<size_t>(kBlock, text.size() - at)));
    }
    if (!out.End()) state.SkipWithError("End failed");
    benchmark::DoNotOptimize(sink.Size());
  }
  Report(state);
}

void BM_Compress_FilterPutByte(benchmark::State& state) {
  const auto& text = ScoreText();
  for (auto _ : state) {
    TKRVSegRamStream sink(kSegment);
    TKRVZLibOutStream out(TKRVZLibInStream::kModeTagged, &sink, false);
    for (uint8_t b : text) out.PutByte(b);
    if (!out.End()) state.SkipWithError("End failed");
    benchmark::DoNotOptimize(sink.Size());
  }
  Report(state);
}

// --- decompression ---

void BM_Decompress_Zlib(benchmark::State& state) {
  TKRVSegRamStream& source = TaggedText();
  std::vector<uint8_t> in(kBlock);
  std::vector<uint8_t> out(kBlock);
  uint64_t total = 0;
  for (auto _ : state) {
    source.Rewind();
    char tag[8];
    source.ReadString(tag, sizeof tag);
    z_stream z{};
    inflateInit(&z);
    int result = Z_OK;
    while (result == Z_OK) {
      if (z.avail_in == 0) {
        z.next_in = in.data();
        z.avail_in = static_cast<uInt>(source.Read(in.data(), kBlock));
      }
      z.next_out = out.data();
      z.avail_out = kBlock;
      result = inflate(&z, Z_NO_FLUSH);
      total += kBlock - z.avail_out;
      benchmark::DoNotOptimize(out.data());
    }
    inflateEnd(&z);
    if (result != Z_STREAM_END) state.SkipWithError("inflate failed");
  }
  benchmark::DoNotOptimize(total);
  Report(state);
}

void BM_Decompress_FilterRead(benchmark::State& state) {
  TKRVSegRamStream& source = TaggedText();
  std::vector<uint8_t> out(kBlock);
  for (auto _ : state) {
    source.Rewind();
    TKRVZLibInStream in(TKRVZLibInStream::kModeTagged, &source, false);
    while (in.Read(out.data(), kBlock) == kBlock) benchmark::DoNotOptimize(out.data());
    if (in.IsFailed() || in.Tell() != static_cast<int32_t>(kTextSize)) {
      state.SkipWithError("read failed");
    }
  }
  Report(state);
}

void BM_Decompress_FilterGetByte(benchmark::State& state) {
  TKRVSegRamStream& source = TaggedText();
  for (auto _ : state) {
    source.Rewind();
    TKRVZLibInStream in(TKRVZLibInStream::kModeTagged, &source, false);
    uint32_t sum = 0;
    for (size_t i = 0; i < kTextSize; ++i) sum += static_cast<uint32_t>(in.GetByte());
    benchmark::DoNotOptimize(sum);
    if (in.IsError()) state.SkipWithError("read failed");
  }
  Report(state);
}

// Byte by byte through the base class, as the typed readers of TKRVStream do: one virtual
// call per byte.
void BM_Decompress_FilterGetByteVirtual(benchmark::State& state) {
  TKRVSegRamStream& source = TaggedText();
  for (auto _ : state) {
    source.Rewind();
    TKRVZLibInStream in(TKRVZLibInStream::kModeTagged, &source, false);
    TKRVStream& s = in;
    benchmark::DoNotOptimize(&s);
    uint32_t sum = 0;
    for (size_t i = 0; i < kTextSize; ++i) sum += static_cast<uint32_t>(s.GetByte());
    benchmark::DoNotOptimize(sum);
    if (s.IsError()) state.SkipWithError("read failed");
  }
  Report(state);
}

BENCHMARK(BM_Compress_Zlib)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Compress_FilterWrite)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Compress_FilterPutByte)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Decompress_Zlib)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Decompress_FilterRead)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Decompress_FilterGetByte)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Decompress_FilterGetByteVirtual)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
