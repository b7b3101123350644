#include "app/editor/undo_action_mgr.h"

#include <algorithm>

namespace kvt {

namespace {
constexpr int kMaxDepth = 10000;
}

TUndoActionMgr::TUndoActionMgr(int depth, int segmentSize)
    : segmentSize(std::clamp(segmentSize, 1, 65535)) {
  Resize(depth);
}

TUndoActionMgr::~TUndoActionMgr() = default;

void TUndoActionMgr::Resize(int depth) {
  const int size = std::clamp(depth, 0, kMaxDepth) + 1;
  entries.clear();
  for (int i = 0; i < size; ++i) entries.push_back(std::make_unique<TEditUndoAction>(segmentSize));
  rotatedOut = std::make_unique<TEditUndoAction>(segmentSize);
  top = 0;
  redoCount = 0;
  cancel.valid = false;
}

TKRVStream& TUndoActionMgr::Push(int kind, int command) {
  cancel = TCancelRecord{true, false, top, redoCount, changeCounter, stateSerial};
  ++changeCounter;
  const uint64_t before = stateSerial;
  stateSerial = ++lastSerial;
  redoCount = 0;

  const int size = Size();
  TEditUndoAction* target;
  if (size == 1) {
    // Depth 0 keeps no history: the snapshot goes into the spare and is never offered.
    target = entries[0].get();
  } else if (top < size - 1) {
    // Entry `top` is the spare, so writing into it loses nothing; the redo entries behind it
    // stay intact until they are overwritten, which lets CancelPush bring them back.
    target = entries[static_cast<size_t>(top)].get();
    ++top;
  } else {
    // Full: the oldest entry leaves the array but is kept aside while the push may be
    // cancelled; the old spare takes the new snapshot and a fresh object becomes the spare.
    cancel.rotated = true;
    std::unique_ptr<TEditUndoAction> oldest = std::move(entries.front());
    std::move(entries.begin() + 1, entries.end(), entries.begin());
    entries.back() = std::move(rotatedOut);
    rotatedOut = std::move(oldest);
    target = entries[static_cast<size_t>(size - 2)].get();
  }
  target->kind = kind;
  target->command = command;
  target->serialBefore = before;
  target->serialAfter = stateSerial;
  target->stream.Clear();
  return target->stream;
}

void TUndoActionMgr::CancelPush() {
  if (!cancel.valid) return;
  if (cancel.rotated) {
    std::unique_ptr<TEditUndoAction> spare = std::move(entries.back());
    std::move_backward(entries.begin(), entries.end() - 1, entries.end());
    entries.front() = std::move(rotatedOut);
    rotatedOut = std::move(spare);
  }
  top = cancel.top;
  redoCount = cancel.redoCount;
  changeCounter = cancel.changeCounter;
  stateSerial = cancel.stateSerial;
  cancel.valid = false;
}

TKRVStream* TUndoActionMgr::CurrentPushStream() {
  if (top <= 0) return nullptr;
  return &entries[static_cast<size_t>(top - 1)]->stream;
}

TUndoEntryName TUndoActionMgr::PeekUndo(int n) const {
  if (n < 0 || n >= top) return {};
  const TEditUndoAction& e = *entries[static_cast<size_t>(top - n - 1)];
  return {e.kind, e.command};
}

TUndoEntryName TUndoActionMgr::PeekRedo(int n) const {
  if (n < 0 || n >= redoCount) return {};
  const TEditUndoAction& e = *entries[static_cast<size_t>(top + n + 1)];
  return {e.kind, e.command};
}

// An undo or redo reads the entry it applies and writes the opposite snapshot into the spare
// entry beside it, which takes the applied entry's kind, command and serials.
void TUndoActionMgr::OpenApply(TEditUndoAction& from, TEditUndoAction& spare,
                               TKRVStream*& readStream, TKRVStream*& writeStream) {
  spare.kind = from.kind;
  spare.command = from.command;
  spare.serialBefore = from.serialBefore;
  spare.serialAfter = from.serialAfter;
  spare.stream.Clear();
  from.stream.Rewind();
  writeStream = &spare.stream;
  readStream = &from.stream;
}

void TUndoActionMgr::Undo(TKRVStream*& readStream, TKRVStream*& writeStream) {
  readStream = nullptr;
  writeStream = nullptr;
  if (top <= 0) return;
  cancel.valid = false;
  TEditUndoAction& from = *entries[static_cast<size_t>(top - 1)];
  OpenApply(from, *entries[static_cast<size_t>(top)], readStream, writeStream);
  --top;
  ++redoCount;
  --changeCounter;
  stateSerial = from.serialBefore;
}

void TUndoActionMgr::Redo(TKRVStream*& writeStream, TKRVStream*& readStream) {
  writeStream = nullptr;
  readStream = nullptr;
  if (redoCount <= 0) return;
  cancel.valid = false;
  TEditUndoAction& from = *entries[static_cast<size_t>(top + 1)];
  OpenApply(from, *entries[static_cast<size_t>(top)], readStream, writeStream);
  ++top;
  --redoCount;
  ++changeCounter;
  stateSerial = from.serialAfter;
}

void TUndoActionMgr::UndoFailed() {
  if (redoCount <= 0) return;
  // The entry read is intact (only rewound); the spare written into holds nothing of value.
  ++top;
  --redoCount;
  ++changeCounter;
  stateSerial = entries[static_cast<size_t>(top - 1)]->serialAfter;
}

void TUndoActionMgr::RedoFailed() {
  if (top <= 0) return;
  --top;
  ++redoCount;
  --changeCounter;
  stateSerial = entries[static_cast<size_t>(top + 1)]->serialBefore;
}

void TUndoActionMgr::Clear() {
  cancel.valid = false;
  ++changeCounter;
  stateSerial = ++lastSerial;
  top = 0;
  redoCount = 0;
  for (auto& e : entries) e->stream.Clear();
}

}  // namespace kvt
