#include "app/editor/midi_keyboard_entry.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "app/editor/entered_note_output.h"
#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/undo_snapshot.h"
#include "midi/import/midi_entry_builder.h"
#include "notation/items/music_note.h"
#include "notation/items/patch_data.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

// The items go in at the caret one after the other, the caret then after the last.
bool InsertEntryItems(TScoreEdit& view, std::vector<std::unique_ptr<TNotatedItem>> items) {
  const int count = static_cast<int>(items.size());
  const int at = view.InsertItemsAtCaret(std::move(items), kUndoEditorAction, kUndoMidiInput);
  if (at < 0) return false;
  view.EndUndoState();
  view.SetCaretIndex(at + count, false);
  return true;
}

void EnterKeys(TScoreEdit& view, const std::vector<int>& keys) {
  TScoreEditHost& host = view.Host();
  TInsertionState& insertion = host.Insertion();
  const TScoreEditOptions& options = host.Options();
  const TMusicStaff* staff = view.ActiveStaff();
  if (staff == nullptr) return;
  const int at = view.Caret().caret;
  const TStaffContextState state = EntryStateAt(*staff, at);
  const TEntryNoteSettings settings{insertion.duration, insertion.attributes, insertion.noteHead,
                                    EntryColor(insertion, options.persistentNoteTools),
                                    insertion.stem};
  std::unique_ptr<TMusicNote> item =
      BuildEntryItem(keys, settings, state, options.midiInIgnoreTransposition);
  ResetAfterEntry(insertion, options.persistentNoteTools);
  if (!item) return;
  std::vector<TMidiMsg> sounds;
  for (int i = 0; i < item->GetMemberCount(); ++i)
    sounds.push_back(item->GetMember(i)->MakeNoteOnEvent(state));
  if (!InsertEntryItems(view, SplitEntryItem(std::move(item), *staff, at))) return;
  if (!options.playAddedNotes || host.IsPlaying(view.Score())) return;
  for (const TMidiMsg& on : sounds)
    host.EnteredNoteOutput().PlayEnteredNote(on.GetPort(), on.GetChannel(), on.GetData1(),
                                             on.GetData2(), kEnteredNoteSoundMs);
}

void SetDots(TInsertionState& insertion, int dots) {
  insertion.attributes &= static_cast<uint16_t>(~(kMaskDotted | kMaskDblDotted));
  if (dots == 1) insertion.attributes |= kMaskDotted;
  if (dots == 2) insertion.attributes |= kMaskDblDotted;
}

}  // namespace

void EnterMidiAction(TScoreEdit& view, const TMidiEntryAction& action) {
  TInsertionState& insertion = view.Host().Insertion();
  switch (action.kind) {
    case TMidiEntryKind::kSetDuration:
      insertion.duration = std::clamp(action.value, 0, kDurationCodeCount - 1);
      break;
    case TMidiEntryKind::kSetDots: SetDots(insertion, action.value); break;
    case TMidiEntryKind::kSetTie:
      if (action.value != 0)
        insertion.attributes |= kMaskTieOut;
      else
        insertion.attributes &= static_cast<uint16_t>(~kMaskTieOut);
      break;
    case TMidiEntryKind::kEnterKeys: EnterKeys(view, action.keys); break;
    case TMidiEntryKind::kProgramChange:
      if (const TMusicStaff* staff = view.ActiveStaff()) {
        std::vector<std::unique_ptr<TNotatedItem>> items;
        items.push_back(BuildEntryProgramChange(*staff, view.Caret().caret, action.value));
        InsertEntryItems(view, std::move(items));
      }
      break;
    case TMidiEntryKind::kNone: break;
  }
}

}  // namespace kvt
