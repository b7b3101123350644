#include "midi/import/midi_entry_builder.h"

#include <algorithm>

#include "notation/items/chord_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/items/patch_data.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_utils.h"

namespace kvt {

namespace {

// The last instrument change before the caret, scanning back; null when none.
const TPatchData* PatchBefore(const TMusicStaff& staff, int caret) {
  for (int i = std::min(caret, staff.GetItemCount()) - 1; i > 0; --i)
    if (const TPatchData* patch = ItemAs<TPatchData>(staff.GetItem(i))) return patch;
  return nullptr;
}

std::unique_ptr<TMusicNote> MakeNote(int pitch, const TEntryNoteSettings& settings,
                                     const TStaffContextState& state) {
  int position = 0;
  int accidental = kAccNatural;
  TMusicNote::SpellPitchOnStaff(state.GetClef(), state.GetKeySigCount(), pitch, position,
                                accidental);
  auto note = std::make_unique<TMusicNote>(position, settings.duration, settings.flags, accidental);
  note->SetNoteHead(settings.noteHead);
  note->SetStemDir(settings.stem);
  note->SetColor(settings.color);
  return note;
}

bool HasMemberAt(const TChordData& chord, int position) {
  for (int i = 0; i < chord.GetMemberCount(); ++i)
    if (chord.GetMember(i)->GetStaffPos() == position) return true;
  return false;
}

bool TryAdd(TChordData& chord, std::unique_ptr<TMusicNote>& note) {
  return !HasMemberAt(chord, note->GetStaffPos()) && chord.AddNote(note);
}

// Adds the note as spelled, else respelled a letter up, then down, step by step; false (the
// note dropped by the caller) when no spelling fits.
bool AddRespelled(TChordData& chord, std::unique_ptr<TMusicNote>& note,
                  const TStaffContextState& state) {
  if (TryAdd(chord, note)) return true;
  const int position = note->GetStaffPos();
  const int accidental = note->GetRawAccidental();
  for (const int direction : {1, -1}) {
    while (note->ShiftSpelling(state, direction))
      if (TryAdd(chord, note)) return true;
    note->SetStaffPos(position);
    note->SetAccidental(accidental);
  }
  return false;
}

// Members whose accidental the running state implies show none; a letter two members share
// keeps its accidentals, since a member's accidental governs the others of its letter.
void DropImpliedAccidentals(TMusicNote& item, const TStaffContextState& state) {
  const int count = item.GetMemberCount();
  for (int i = 0; i < count; ++i) {
    TMusicNote* member = item.GetMember(i);
    const int letter = member->GetNoteLetter(state);
    bool shared = false;
    for (int j = 0; j < count && !shared; ++j)
      shared = j != i && item.GetMember(j)->GetNoteLetter(state) == letter;
    if (shared) continue;
    // Implied: the automatic accidental sounds the same pitch.
    const int pitch = member->GetPitch(state);
    const int accidental = member->GetRawAccidental();
    member->SetAccidental(kAccNone);
    if (member->GetPitch(state) != pitch) member->SetAccidental(accidental);
  }
}

}  // namespace

TStaffContextState EntryStateAt(const TMusicStaff& staff, int caret) {
  caret = std::clamp(caret, 0, std::max(0, staff.GetLastIndex()));
  TStaffContextState state;
  staff.InitContextState(state);  // port and channel survive the walk's reset
  staff.GetPlayStateAt(caret, state);
  const TPatchData* patch = PatchBefore(staff, caret);
  state.SetTransposition(patch ? patch->GetInstrument().GetTransposition()
                               : staff.GetInstrument().GetTransposition());
  return state;
}

int EntryPitchForKey(int key, const TStaffContextState& state, bool ignoreTransposition) {
  // A clef shifted an octave up sounds its notes an octave above where they are written.
  if (state.GetClefOctaveShift() == 1)
    key -= 12;
  else if (state.GetClefOctaveShift() == 2)
    key += 12;
  if (!ignoreTransposition) key -= state.GetTransposition();
  return FoldPitch(key);
}

std::unique_ptr<TMusicNote> BuildEntryItem(const std::vector<int>& keys,
                                           const TEntryNoteSettings& settings,
                                           const TStaffContextState& state,
                                           bool ignoreTransposition) {
  std::vector<int> sorted = keys;
  std::sort(sorted.begin(), sorted.end());
  std::unique_ptr<TMusicNote> result;
  if (sorted.size() == 1) {
    result = MakeNote(EntryPitchForKey(sorted[0], state, ignoreTransposition), settings, state);
  } else if (!sorted.empty()) {
    auto chord = std::make_unique<TChordData>();
    for (const int key : sorted) {
      auto note = MakeNote(EntryPitchForKey(key, state, ignoreTransposition), settings, state);
      AddRespelled(*chord, note, state);
    }
    chord->SetColor(settings.color);
    if (chord->GetMemberCount() == 1)
      result = chord->RemoveNote(chord->GetMember(0));
    else
      result = std::move(chord);
  }
  if (!result) return nullptr;
  DropImpliedAccidentals(*result, state);
  if (auto* chord = ItemAs<TChordData>(result.get())) chord->Update();
  return result;
}

std::vector<std::unique_ptr<TNotatedItem>> SplitEntryItem(std::unique_ptr<TNotatedItem> item,
                                                          const TMusicStaff& staff, int caret) {
  std::vector<std::unique_ptr<TNotatedItem>> pieces;
  if (!item) return pieces;
  caret = std::clamp(caret, 1, std::max(1, staff.GetLastIndex()));
  const int total = item->GetDuration();
  int beats = 4;
  int exponent = 2;
  staff.GetTimeSigAt(caret, beats, exponent);
  const int barLength = GetBarDuration(beats, exponent);
  const int barStart = std::max(0, staff.FindPrevBar(caret - 1, -1));
  const int64_t sinceBar = staff.GetDurationBetween(caret, barStart, 0);
  const int room = barLength - static_cast<int>(sinceBar % barLength);
  const bool songNote = item->IsSongNoteClass();
  if (!songNote || total <= room) {
    pieces.push_back(std::move(item));
    return pieces;
  }
  // A room too short for any note value is left as it is: the item starts the next bar.
  std::vector<int> lengths = TiedPieceLengths(room, true);
  const int cap = kMaxEntryPieces;
  for (int left = lengths.empty() ? total : total - room;
       left > 0 && static_cast<int>(lengths.size()) < cap;) {
    const int bar = std::min(left, barLength);
    for (const int length : TiedPieceLengths(bar, true)) lengths.push_back(length);
    left -= bar;
  }
  if (static_cast<int>(lengths.size()) > cap) lengths.resize(cap);
  if (lengths.empty()) {  // bars shorter than any note value: nothing to cut at
    pieces.push_back(std::move(item));
    return pieces;
  }
  SetItemDurationToFit(item.get(), lengths[0], IsTripletLength(lengths[0]));
  pieces.push_back(std::move(item));
  for (size_t i = 1; i < lengths.size(); ++i) {
    std::unique_ptr<TNotatedItem> copy = MakeTiedCopy(pieces.back().get());
    SetItemDurationToFit(copy.get(), lengths[i], IsTripletLength(lengths[i]));
    copy->SetColor(pieces.back()->GetColor());
    pieces.push_back(std::move(copy));
  }
  return pieces;
}

std::unique_ptr<TPatchData> BuildEntryProgramChange(const TMusicStaff& staff, int caret,
                                                    int patchPlus1) {
  const TPatchData* inForce = PatchBefore(staff, caret);
  auto patch =
      std::make_unique<TPatchData>(inForce ? &inForce->GetInstrument() : &staff.GetInstrument());
  patch->SetPatch(patchPlus1);
  return patch;
}

}  // namespace kvt
