#pragma once
// TUndoActionMgr: the bounded undo history of one score window. It keeps depth + 1 preallocated
// entries, each a (kind, command) pair and a segmented memory stream that holds a snapshot; what
// a snapshot holds is the editor's business (undo_snapshot.h).
//
// Layout: entries 0..top-1 are undo snapshots, oldest first; entry `top` is the spare slot that
// receives the redo snapshot during Undo; entries top+1..top+redoCount are redo snapshots,
// nearest first. top + redoCount <= size - 1.
//
// Contract:
// - The manager owns its entries and their streams; the streams handed out stay valid until the
//   next call that changes the history (Push, Undo, Redo, Clear, Resize, CancelPush).
// - Push discards the redo entries and, when the history is full, the oldest undo entry.
//   CancelPush right after a Push restores the history exactly as it was before that Push
//   (redo entries and the oldest entry included); at any other time it does nothing.
// - Undo with no undo entry and Redo with no redo entry do nothing and answer null streams.
// - ChangeCounter counts pushes minus undos plus redos (and clears). StateSerial names the
//   document state: every push or clear makes a new serial, Undo and Redo return to the serial
//   of the state they restore. A window is modified exactly when the serial differs from the one
//   recorded at its last save, so "edit, save, undo, other edit" is modified although the
//   counter is back where it was.
// - Peek* with an n outside the available entries answer (0, 0).
// - UI thread only; no virtual functions.

#include <cstdint>
#include <memory>
#include <vector>

#include "utils/seg_ram_stream.h"

namespace kvt {

// One history entry.
class TEditUndoAction {
public:
  explicit TEditUndoAction(int segmentSize) : stream(segmentSize) {}

  int kind = 0;
  int command = 0;
  // The document state before and after the recorded edit.
  uint64_t serialBefore = 0;
  uint64_t serialAfter = 0;
  TKRVSegRamStream stream;
};

struct TUndoEntryName {
  int kind = 0;
  int command = 0;
};

class TUndoActionMgr {
public:
  // depth below 0 counts as 0; segmentSize is clamped into the stream's 1..65535.
  TUndoActionMgr(int depth, int segmentSize);
  ~TUndoActionMgr();
  TUndoActionMgr(const TUndoActionMgr&) = delete;
  TUndoActionMgr& operator=(const TUndoActionMgr&) = delete;

  // Drops every entry and allocates depth + 1 empty ones (depth limited to 0..10000). The
  // change counter and the state serial are kept.
  void Resize(int depth);

  // Opens an entry for an edit about to happen and returns its cleared stream to fill.
  TKRVStream& Push(int kind, int command);
  // Closes a push (the history is already complete; kept for the callers' symmetry).
  void EndPush() { cancel.valid = false; }
  // Drops the entry just pushed, restoring what Push discarded.
  void CancelPush();
  // The stream of the newest undo entry; null when there is none.
  TKRVStream* CurrentPushStream();

  TUndoEntryName PeekUndo(int n) const;
  TUndoEntryName PeekRedo(int n) const;
  bool CanUndo() const { return top > 0; }
  bool CanRedo() const { return redoCount > 0; }

  // See the header comment; each sets both streams, or both to null when nothing is available.
  void Undo(TKRVStream*& readStream, TKRVStream*& writeStream);
  void Redo(TKRVStream*& writeStream, TKRVStream*& readStream);
  // Take back the Undo or Redo just made when its snapshot could not be applied: the entry it
  // read is offered again and counter and serial return (the score did not change).
  void UndoFailed();
  void RedoFailed();
  // Forgets every entry (a whole score was replaced); counts as a change.
  void Clear();

  int ChangeCounter() const { return changeCounter; }
  uint64_t StateSerial() const { return stateSerial; }

  int Size() const { return static_cast<int>(entries.size()); }
  int Top() const { return top; }
  int RedoCount() const { return redoCount; }
  int SegmentSize() const { return segmentSize; }

private:
  // What a Push changed, so that CancelPush can put it back.
  struct TCancelRecord {
    bool valid = false;
    bool rotated = false;
    int top = 0;
    int redoCount = 0;
    int changeCounter = 0;
    uint64_t stateSerial = 0;
  };

  static void OpenApply(TEditUndoAction& from, TEditUndoAction& spare, TKRVStream*& readStream,
                        TKRVStream*& writeStream);

  std::vector<std::unique_ptr<TEditUndoAction>> entries;
  // Holds the oldest entry a full Push rotated out until the push can no longer be cancelled.
  std::unique_ptr<TEditUndoAction> rotatedOut;
  int segmentSize;
  int top = 0;
  int redoCount = 0;
  int changeCounter = 0;
  uint64_t stateSerial = 0;
  uint64_t lastSerial = 0;
  TCancelRecord cancel;
};

}  // namespace kvt
