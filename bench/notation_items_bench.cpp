// Memory and build time of note items: bytes per note and per chord of three notes, counted by
// a replacement of the global allocation functions. The goal: a score of one million notes
// fits in 64 MB of items (at most 67 bytes a note, the staff's pointer to it included).
//
// Counters: "sizeof" is the object itself; "heap_requested" the bytes the item holds on the heap
// (the item and, for a chord, its member array and members); "heap_usable" what the allocator
// really keeps for it, measured as the live allocations left after building (usable size plus
// the 8-byte chunk header, so arrays dropped while a chord grew do not count); "per_million_MB"
// the usable bytes of one million such items plus one 8-byte staff slot each, in MB.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "notation/items/chord_data.h"
#include "notation/items/item_cast.h"
#include "midi/events/midi_file_buf.h"
#include "notation/items/music_note.h"
#include "notation/items/rest_note.h"

namespace {

std::atomic<long long> gUsable{0};
std::atomic<bool> gCounting{false};

long long UsableBytes(void* p, std::size_t n) {
#if defined(__GLIBC__)
  (void)n;
  return static_cast<long long>(malloc_usable_size(p)) + 8;
#else
  (void)p;
  return static_cast<long long>(n);
#endif
}

void* CountedAlloc(std::size_t n) {
  void* p = std::malloc(n == 0 ? 1 : n);
  if (!p) throw std::bad_alloc();
  if (gCounting.load(std::memory_order_relaxed)) gUsable += UsableBytes(p, n);
  return p;
}

void CountedFree(void* p) {
  if (p && gCounting.load(std::memory_order_relaxed)) gUsable -= UsableBytes(p, 0);
  std::free(p);
}

}  // namespace

void* operator new(std::size_t n) { return CountedAlloc(n); }
void* operator new[](std::size_t n) { return CountedAlloc(n); }
void operator delete(void* p) noexcept { CountedFree(p); }
void operator delete[](void* p) noexcept { CountedFree(p); }
void operator delete(void* p, std::size_t) noexcept { CountedFree(p); }
void operator delete[](void* p, std::size_t) noexcept { CountedFree(p); }

namespace {

using kvt::TChordData;
using kvt::TMusicNote;
using kvt::TNotatedItem;

constexpr int kItems = 10000;
constexpr double kMillion = 1e6;
constexpr double kMB = 1024.0 * 1024.0;

// Builds `count` items with `make` into `items`; returns the live bytes the items hold.
template <typename Make>
long long BuildCounted(std::vector<std::unique_ptr<TNotatedItem>>& items, int count, Make make) {
  items.reserve(static_cast<size_t>(count));
  gUsable = 0;
  gCounting = true;
  for (int i = 0; i < count; ++i) items.push_back(make(i));
  gCounting = false;
  return gUsable.load();
}

// Heap bytes an item asks for: the object, and a chord's member array and members.
size_t RequestedBytes(const TNotatedItem& item, size_t objectSize) {
  if (item.GetType() != kvt::kItemChord) return objectSize;
  const auto& chord = ItemRef<TChordData>(item);
  return objectSize + static_cast<size_t>(chord.GetMemberCount()) * sizeof(void*) +
         static_cast<size_t>(chord.GetMemberCount()) * sizeof(TMusicNote);
}

void Report(benchmark::State& state, const TNotatedItem& sample, size_t objectSize,
            long long usableTotal, int count) {
  const double usable = static_cast<double>(usableTotal) / count;
  state.counters["sizeof"] = static_cast<double>(objectSize);
  state.counters["heap_requested"] = static_cast<double>(RequestedBytes(sample, objectSize));
  state.counters["heap_usable"] = usable;
  state.counters["per_million_MB"] = (usable + sizeof(void*)) * kMillion / kMB;
}

std::unique_ptr<TNotatedItem> MakeNote(int i) {
  return std::make_unique<TMusicNote>(i % 13 - 6, i % 7, 0, kvt::kAccNone);
}

std::unique_ptr<TNotatedItem> MakeChord(int i) {
  auto chord = std::make_unique<TChordData>(std::make_unique<TMusicNote>(6, kvt::kDurQuarter, 0, kvt::kAccNone),
                                            std::make_unique<TMusicNote>(4, kvt::kDurQuarter, 0, kvt::kAccNone));
  auto member = std::make_unique<TMusicNote>(i % 2 ? 2 : 1, kvt::kDurQuarter, 0, kvt::kAccNone);
  chord->AddNote(member);
  return chord;
}

void BM_NoteItems(benchmark::State& state) {
  long long total = 0;
  for (auto _ : state) {
    std::vector<std::unique_ptr<TNotatedItem>> items;
    total = BuildCounted(items, kItems, MakeNote);
    benchmark::DoNotOptimize(items.data());
  }
  Report(state, *MakeNote(0), sizeof(TMusicNote), total, kItems);
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_NoteItems);

void BM_RestItems(benchmark::State& state) {
  long long total = 0;
  auto makeRest = [](int i) -> std::unique_ptr<TNotatedItem> {
    return std::make_unique<kvt::TRestNote>(i % 7, 0);
  };
  for (auto _ : state) {
    std::vector<std::unique_ptr<TNotatedItem>> items;
    total = BuildCounted(items, kItems, makeRest);
    benchmark::DoNotOptimize(items.data());
  }
  Report(state, *makeRest(0), sizeof(kvt::TRestNote), total, kItems);
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_RestItems);

void BM_ChordOfThreeItems(benchmark::State& state) {
  long long total = 0;
  for (auto _ : state) {
    std::vector<std::unique_ptr<TNotatedItem>> items;
    total = BuildCounted(items, kItems, MakeChord);
    benchmark::DoNotOptimize(items.data());
  }
  Report(state, *MakeChord(0), sizeof(TChordData), total, kItems);
  // Per note of the chord, the staff slot shared by its three notes: a score of one million
  // notes all in such chords takes this many MB.
  const double perNote = (static_cast<double>(total) / kItems + sizeof(void*)) / 3;
  state.counters["bytes_per_note"] = perNote;
  state.counters["million_notes_MB"] = perNote * kMillion / kMB;
  state.SetItemsProcessed(state.iterations() * kItems);
}
BENCHMARK(BM_ChordOfThreeItems);

// A staff walk over notes: the context step and the MIDI output of each.
void BM_PerformNotes(benchmark::State& state) {
  std::vector<std::unique_ptr<TNotatedItem>> items;
  for (int i = 0; i < 1000; ++i) items.push_back(MakeNote(i));
  for (auto _ : state) {
    kvt::TStaffContextState context;
    kvt::TMidiFileBuf buffer(16);
    for (const auto& item : items) {
      item->Perform(context, &buffer);
      item->ApplyToContext(context);
    }
    benchmark::DoNotOptimize(buffer.GetEventCount());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(items.size()));
}
BENCHMARK(BM_PerformNotes);

}  // namespace
