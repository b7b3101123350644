// Write and read throughput of the segmented and the flat memory stream, byte by byte and in
// blocks, over stream sizes from 1 KiB to 4 MiB.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "utils/flat_ram_stream.h"
#include "utils/seg_ram_stream.h"

namespace kvt {
namespace {

constexpr int kBlock = 4096;

std::unique_ptr<TKRVStream> MakeSegmented() { return std::make_unique<TKRVSegRamStream>(0x8000); }
std::unique_ptr<TKRVStream> MakeFlat() { return std::make_unique<TKRVFlatRamStream>(0, 0x10000); }

using Factory = std::unique_ptr<TKRVStream> (*)();

void WriteBytes(TKRVStream& s, int size) {
  for (int i = 0; i < size; ++i) s.PutByte(i);
}

void WriteBlocks(TKRVStream& s, const std::vector<uint8_t>& block, int size) {
  for (int done = 0; done < size; done += kBlock)
    s.Write(block.data(), std::min(kBlock, size - done));
}

template <Factory make>
void BM_WriteBytes(benchmark::State& state) {
  int size = static_cast<int>(state.range(0));
  for (auto _ : state) {
    auto s = make();
    WriteBytes(*s, size);
    benchmark::DoNotOptimize(s->Size());
  }
  state.SetBytesProcessed(state.iterations() * size);
}

template <Factory make>
void BM_WriteBlocks(benchmark::State& state) {
  int size = static_cast<int>(state.range(0));
  std::vector<uint8_t> block(kBlock, 0x5A);
  for (auto _ : state) {
    auto s = make();
    WriteBlocks(*s, block, size);
    benchmark::DoNotOptimize(s->Size());
  }
  state.SetBytesProcessed(state.iterations() * size);
}

template <Factory make>
void BM_ReadBytes(benchmark::State& state) {
  int size = static_cast<int>(state.range(0));
  auto s = make();
  WriteBytes(*s, size);
  for (auto _ : state) {
    s->Rewind();
    int sum = 0;
    for (int i = 0; i < size; ++i) sum += s->GetByte();
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * size);
}

template <Factory make>
void BM_ReadBlocks(benchmark::State& state) {
  int size = static_cast<int>(state.range(0));
  auto s = make();
  WriteBytes(*s, size);
  std::vector<uint8_t> block(kBlock);
  for (auto _ : state) {
    s->Rewind();
    for (int done = 0; done < size; done += kBlock)
      s->Read(block.data(), std::min(kBlock, size - done));
    benchmark::DoNotOptimize(block.data());
  }
  state.SetBytesProcessed(state.iterations() * size);
}

#define KVT_MEMORY_STREAM_BENCH(fn, factory) \
  BENCHMARK_TEMPLATE(fn, factory)->RangeMultiplier(8)->Range(1 << 10, 1 << 22)

KVT_MEMORY_STREAM_BENCH(BM_WriteBytes, MakeSegmented);
KVT_MEMORY_STREAM_BENCH(BM_WriteBytes, MakeFlat);
KVT_MEMORY_STREAM_BENCH(BM_WriteBlocks, MakeSegmented);
KVT_MEMORY_STREAM_BENCH(BM_WriteBlocks, MakeFlat);
KVT_MEMORY_STREAM_BENCH(BM_ReadBytes, MakeSegmented);
KVT_MEMORY_STREAM_BENCH(BM_ReadBytes, MakeFlat);
KVT_MEMORY_STREAM_BENCH(BM_ReadBlocks, MakeSegmented);
KVT_MEMORY_STREAM_BENCH(BM_ReadBlocks, MakeFlat);

}  // namespace
}  // namespace kvt
