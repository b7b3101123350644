#pragma once
// TScoreUndo: what the editor writes into an undo entry before an edit and how Undo and Redo
// apply an entry to the score. Every entry starts with the 16-bit index of the staff it concerns,
// then, by kind:
//   1 item edits, 7 editor actions (sub-code = command): an item-range record: first index,
//     items in place after the edit, items saved, caret, anchor, then the saved items (range item
//     strings). The range always covers whole bars. Kind 7 sub-code 6 (spacer change) holds the
//     caret and the spacer delta instead.
//   2 whole-staff edits: all items of the staff (for 66 transpose also the instrument's
//     transposition); command 37 (lyrics) the staff's top and bottom boundaries, a presence
//     byte and the lyrics record.
//   3 new (217) or deleted (218) staff: a byte, 1 and the whole staff for a staff to put back,
//     0 for a staff to remove.
//   4 moved staff: the staff's index after the move in the head, then its index before.
//   5 staff properties of the staff.
//   6 score-wide: the score properties; 63 and 64 the staff count and one flag byte per staff
//     (layer with next, muted); 219 a staff index and that staff's properties.
// Numbers are little-endian 16-bit values; staves and properties use the older binary layout at
// the copy version, items the range item strings (range_item_strings.h).
//
// Contract:
// - The score and the manager are not owned and must outlive the object.
// - SaveUndoState pushes; EndUndoState, called once the edit is done, completes the entry from
//   what the edit did (the staff's length before and after, the index of an added staff);
//   CancelUndoState drops it (the history is as before the push). An entry left without
//   EndUndoState keeps the counts the caller announced.
// - Undo and Redo read the whole entry and check it against the score before changing anything:
//   an entry that does not parse or does not fit (indices, room for the items, the staff limit)
//   changes nothing and answers applied = false. A successful apply writes the opposite entry.
// - Entries hold only data from this process, but the checks keep even a damaged entry from
//   reaching a precondition.

#include <vector>

#include "app/editor/editor_caret.h"

namespace kvt {

class TKRVStream;
class TMusicScore;
class TMusicStaff;
class TUndoActionMgr;

// Snapshot kinds.
enum TUndoKind : int {
  kUndoItems = 1,
  kUndoWholeStaff = 2,
  kUndoStaffPresence = 3,
  kUndoStaffMove = 4,
  kUndoStaffProperties = 5,
  kUndoScore = 6,
  kUndoEditorAction = 7,
};

// Sub-codes of kind 7.
enum TUndoEditorAction : int {
  kUndoDeleteBackward = 1,
  kUndoDeleteForward = 2,
  kUndoRemoveChordNote = 3,
  kUndoChangeSelection = 4,
  kUndoMidiInput = 5,
  kUndoSpacerChange = 6,
  kUndoNoteheadChange = 7,
  kUndoPropertyChange = 8,
};

// Command ids with their own snapshot layout.
inline constexpr int kCmdUserTool = 17;
inline constexpr int kCmdLyrics = 37;
inline constexpr int kCmdLayeringTool = 63;
inline constexpr int kCmdMuteList = 64;
inline constexpr int kCmdTransposeStaff = 66;
inline constexpr int kCmdNewStaff = 217;
inline constexpr int kCmdDeleteStaff = 218;
inline constexpr int kCmdStaffProperties = 219;

// What an apply did, for the view to follow.
struct TUndoApplyResult {
  bool applied = false;
  int kind = 0;
  int command = 0;
  // Where the editor goes now (its staff may be -1 when it stays where it is).
  TEditorCaret caret;
  // The staff set changed (added, removed, moved): the shown staves are rebuilt.
  bool stavesChanged = false;
  // Score properties changed: the view reformats (fonts at the zoom, layering).
  bool scoreChanged = false;
  // A whole staff's items were replaced: the view restores its scroll position.
  bool restoreScroll = false;
};

class TScoreUndo {
public:
  TScoreUndo(TMusicScore& score, TUndoActionMgr& undo) : score(score), undo(undo) {}

  // Pushes an entry of the kind and command and writes the snapshot for the editor's position.
  // `extra`: for item records with a selection, a positive count of items that replace the
  // selection or a negative count of items removed; for kind 4 the staff's index after the
  // move; for kind 7 sub-code 6 the spacer delta; for kind 6 command 219 the staff index.
  // False (nothing pushed) when the staff the snapshot needs does not exist.
  bool SaveUndoState(int kind, int command, int extra, const TEditorCaret& at);
  // Completes the entry pushed last: item records count the items in place from the staff's
  // length now; a new-staff entry records the staff the edit added (`addedStaff` when it names
  // one, else the staff that was not there before), and is dropped when none was added.
  void EndUndoState(int addedStaff = -1);
  void CancelUndoState();

  // Apply the next undo or redo entry; `at` is the editor's position now (written into the
  // opposite entry).
  TUndoApplyResult Undo(const TEditorCaret& at);
  TUndoApplyResult Redo(const TEditorCaret& at);

private:
  struct TPending {
    bool open = false;
    int kind = 0;
    int command = 0;
    int staff = -1;
    int lengthBefore = 0;
    int savedCount = 0;
    int inPlaceOffset = -1;
    // The staves before a new staff is added, to find the one the edit added.
    std::vector<const TMusicStaff*> staves;
  };

  TUndoApplyResult Apply(TKRVStream& read, TKRVStream& write, int kind, int command,
                         const TEditorCaret& at);
  void SaveItemRange(TKRVStream& s, TMusicStaff& staff, int kind, int command, int extra,
                     const TEditorCaret& at);
  bool ApplyItemRange(TKRVStream& read, TKRVStream& write, int staffIndex, const TEditorCaret& at,
                      TUndoApplyResult& result);
  bool ApplyWholeStaff(TKRVStream& read, TKRVStream& write, int staffIndex, int command,
                       TUndoApplyResult& result);
  bool ApplyStaffPresence(TKRVStream& read, TKRVStream& write, int staffIndex,
                          TUndoApplyResult& result);
  bool ApplyStaffMove(TKRVStream& read, TKRVStream& write, int staffIndex,
                      TUndoApplyResult& result);
  bool ApplyStaffProperties(TKRVStream& read, TKRVStream& write, int staffIndex);
  bool ApplyScore(TKRVStream& read, TKRVStream& write, int staffIndex, int command);
  bool ApplySpacer(TKRVStream& read, TKRVStream& write, int staffIndex, TUndoApplyResult& result);

  TMusicScore& score;
  TUndoActionMgr& undo;
  TPending pending;
};

}  // namespace kvt
