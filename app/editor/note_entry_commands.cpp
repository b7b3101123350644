#include "app/editor/note_entry_commands.h"

#include <memory>

#include "app/editor/editor_piano_keys.h"
#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "notation/edits/staff_edits.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/music_note.h"
#include "notation/items/rest_note.h"
#include "notation/staff/music_staff.h"
#include "tools/command_table.h"

namespace kvt {

namespace {

constexpr int kCmdReset = 110;
constexpr int kCmdNote = 128;
constexpr int kCmdRest = 129;
constexpr int kCmdChordMember = 130;
constexpr int kCmdBarLine = 131;
constexpr int kCmdNothing = 159;
constexpr int kCmdRemoveChordNote = 212;

// A note at the caret's vertical position with the insertion state's values.
std::unique_ptr<TMusicNote> MakeEnteredNote(TScoreEdit& view) {
  const TInsertionState& state = view.Host().Insertion();
  auto note = std::make_unique<TMusicNote>(view.Caret().caretPos, state.duration, state.attributes,
                                           state.accidental);
  note->SetNoteHead(state.noteHead);
  note->SetNoteColor(EntryColor(state, view.Host().Options().persistentNoteTools));
  note->SetStemDir(state.stem);
  return note;
}

void AfterEntry(TScoreEdit& view) {
  ResetAfterEntry(view.Host().Insertion(), view.Host().Options().persistentNoteTools);
}

void EnterNote(TScoreEdit& view) {
  if (!view.InsertItem(MakeEnteredNote(view), kCmdNote)) return;
  SoundEnteredItem(view, view.Caret().caret - 1);
  AfterEntry(view);
}

void EnterRest(TScoreEdit& view) {
  const TInsertionState& state = view.Host().Insertion();
  // A rest takes the duration and the attribute bits; pitch, head and accidental are the notes'.
  auto rest = std::make_unique<TRestNote>(state.duration, state.attributes);
  rest->SetNoteColor(EntryColor(state, view.Host().Options().persistentNoteTools));
  if (!view.InsertItem(std::move(rest), kCmdRest)) return;
  AfterEntry(view);
}

void EnterChordMember(TScoreEdit& view) {
  TMusicStaff* staff = view.ActiveStaff();
  const int at = view.Caret().caret - 1;
  if (staff == nullptr || at < 1 || !view.SaveUndoState(kUndoItems, kCmdChordMember)) {
    view.Host().Beep();
    return;
  }
  std::unique_ptr<TMusicNote> note = MakeEnteredNote(view);
  if (!MergeNoteAt(*staff, note, at)) {
    view.CancelUndoState();
    view.Host().Beep();
    return;
  }
  view.EndUndoState();
  view.StaffChanged(view.Caret().staff, at);
  SoundEnteredItem(view, at);
  AfterEntry(view);
}

void RemoveChordNote(TScoreEdit& view) {
  TMusicStaff* staff = view.ActiveStaff();
  const int at = view.Caret().caret - 1;
  const int position = view.Caret().caretPos;
  const TNotatedItem* item = staff ? staff->GetItem(at) : nullptr;
  // RemoveMemberAt refuses a plain note (Delete removes items), so only chord members come out.
  if (view.HasSelection() || item == nullptr || item->FindMemberAtPos(position) == nullptr ||
      !view.SaveUndoState(kUndoEditorAction, kUndoRemoveChordNote)) {
    view.Host().Beep();
    return;
  }
  if (RemoveMemberAt(*staff, at, position) == nullptr) {
    view.CancelUndoState();
    view.Host().Beep();
    return;
  }
  view.EndUndoState();
  view.StaffChanged(view.Caret().staff, at);
}

void ResetInsertion(TScoreEdit& view) {
  view.Host().Insertion() = TInsertionState{};
  const int caretPos = view.Caret().caretPos;
  if (caretPos != 0) view.MoveCaretVertically(-caretPos, true);
}

// Enabled when the view may edit and nothing is selected.
void EnableWithoutSelection(const TScoreEdit& view, TCommandEnabler& enabler) {
  enabler.Enable(view.CanEdit() && !view.HasSelection());
}

}  // namespace

void SoundEnteredItem(TScoreEdit& view, int index) {
  TScoreEditHost& host = view.Host();
  const TMusicStaff* staff = view.ActiveStaff();
  if (!host.Options().playAddedNotes || host.IsPlaying(view.Score()) || staff == nullptr) return;
  for (const int key : NoteKeysOfItems(*staff, index, index))
    host.EnteredNoteOutput().PlayEnteredNote(staff->GetDevice(), staff->GetChannel(), key,
                                             kEnteredNoteVelocity, kEnteredNoteMs);
}

void RegisterNoteEntryCommands(TScoreEdit& view, TCommandTable& table) {
  const auto enableEntry = [&view](TCommandEnabler& enabler) {
    EnableWithoutSelection(view, enabler);
  };
  table.Register(
      kCmdNote, [&view](int32_t) { EnterNote(view); }, enableEntry);
  table.Register(
      kCmdRest, [&view](int32_t) { EnterRest(view); }, enableEntry);
  table.Register(
      kCmdChordMember, [&view](int32_t) { EnterChordMember(view); }, enableEntry);
  table.Register(
      kCmdBarLine,
      [&view](int32_t) { view.InsertItem(std::make_unique<TBarLineData>(), kCmdBarLine); },
      enableEntry);
  table.Register(
      kCmdRemoveChordNote, [&view](int32_t) { RemoveChordNote(view); }, enableEntry);
  table.Register(
      kCmdNothing, [](int32_t) {}, enableEntry);
  table.Register(
      kCmdReset, [&view](int32_t) { ResetInsertion(view); },
      [&view](TCommandEnabler& enabler) { enabler.Enable(view.CanEdit()); });
}

}  // namespace kvt
