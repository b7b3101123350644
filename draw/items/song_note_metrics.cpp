#include "draw/items/song_note_metrics.h"

#include <algorithm>

#include "draw/items/chord_accidentals.h"
#include "notation/items/chord_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/items/rest_chord.h"
#include "notation/items/rest_note.h"

namespace kvt {

namespace {

int HeadWidth(const TMusicNote& note, const TLayoutMetrics& m) {
  return m.GlyphWidth(SizeIndexOf(note), note.GetNoteHeadSymbol());
}

int NoteWidth(const TMusicNote& note, int accColumns, const TLayoutMetrics& m) {
  return SongNoteHeadX(note, accColumns, m) + HeadWidth(note, m) * (note.GetHeadShift() + 1);
}

int RestWidth(const TRestNote& rest, int accColumns, const TLayoutMetrics& m) {
  return SongNoteHeadX(rest, accColumns, m) +
         m.GlyphWidth(SizeIndexOf(rest), kGlyphFirstRest + rest.GetDurationCode());
}

}  // namespace

const TMusicNote* NotesOf(const TSongNote& item) {
  if (const auto* note = ItemAs<TMusicNote>(&item)) return note;
  if (item.GetType() == kItemRestChord) return static_cast<const TRestChord&>(item).GetPart();
  return nullptr;
}

int SizeIndexOf(const TSongNote& item) { return item.IsGrace() ? 1 : 0; }

int HeadGlyphOf(const TNotatedItem& item) {
  const auto* song = ItemAs<TSongNote>(&item);
  const TMusicNote* notes = song ? NotesOf(*song) : nullptr;
  return notes ? notes->GetNoteHeadSymbol() : -1;
}

int SongNoteDotsWidth(const TSongNote& item, const TLayoutMetrics& m) {
  const double dot = m.GlyphWidth(SizeIndexOf(item), kGlyphDot);
  const int single = static_cast<int>(1.5 * dot);
  if (item.IsDblDotted()) return static_cast<int>(single + 1.5 * dot);
  return item.IsDotted() ? single : 0;
}

int SongNoteHeadX(const TSongNote& item, int accColumns, const TLayoutMetrics& m) {
  const int size = SizeIndexOf(item);
  return accColumns * m.AccidentalColumnWidth(size) +
         item.GetXNoteSpace() * m.GlyphWidth(size, kGlyphFilledHead);
}

int SongNoteWidth(const TSongNote& item, int accColumns, const TLayoutMetrics& m) {
  if (const auto* note = ItemAs<TMusicNote>(&item)) return NoteWidth(*note, accColumns, m);
  if (item.GetType() == kItemRest) return RestWidth(static_cast<const TRestNote&>(item), accColumns, m);
  if (item.GetType() != kItemRestChord) return 0;
  const auto& restChord = static_cast<const TRestChord&>(item);
  const int rest = RestWidth(restChord, accColumns, m);
  const TMusicNote* part = restChord.GetPart();
  if (!part) return rest;
  const int extra = part->GetHeadColumns() >= 2 && part->GetStemDir() < 0 ? HeadWidth(*part, m) : 0;
  return std::max(rest + extra, NoteWidth(*part, accColumns, m));
}

int SongNoteAccidentalSpace(const TSongNote& item) {
  const TMusicNote* notes = NotesOf(item);
  if (!notes) return 0;
  if (notes->GetType() == kItemChord)
    return notes->GetXAccSpace() +
           LayoutChordAccidentals(static_cast<const TChordData&>(*notes)).columnsUsed;
  return notes->GetXAccSpace() + (notes->GetRawAccidental() != kAccNone ? 1 : 0);
}

int SongNoteHeadXWithShift(const TSongNote& item, int accColumns, const TLayoutMetrics& m) {
  const int headX = SongNoteHeadX(item, accColumns, m);
  const TMusicNote* notes = NotesOf(item);
  if (!notes || !notes->HasShiftedHeads(-1)) return headX;
  if (notes->GetStemDir() > 0 && !notes->HasSplitStem()) return headX;
  return headX + m.GlyphWidth(SizeIndexOf(item), kGlyphFilledHead);
}

int SongNoteStemX(const TSongNote& item, int accColumns, int stemDir, const TLayoutMetrics& m) {
  const TMusicNote* notes = NotesOf(item);
  const int headX = SongNoteHeadX(item, accColumns, m);
  if (!notes) return headX;
  if (stemDir == 0) stemDir = notes->GetStemDir();
  const int w = HeadWidth(*notes, m);
  if (stemDir > 0) return headX + w * (notes->GetStemSideHeadShift(1) + 1);
  return headX + w * ((notes->HasShiftedHeads(-1) ? 1 : 0) + notes->GetStemSideHeadShift(-1));
}

int CalcStemLength(const TMusicNote& note) {
  if (note.GetStemLength() != 0) return note.GetStemLength();
  if (note.GetDurationCode() == kDurWhole) return 0;
  static constexpr int kBase[5] = {7, 7, 7, 9, 10};
  const int flags = std::clamp(note.GetFlagCount(), 0, 4);
  int length = kBase[flags];
  const int dir = note.GetStemDir();
  const int pos = note.GetStaffPos();
  // How far the head lies towards the stem's side of the middle line (up is negative).
  const int towardsStem = dir > 0 ? -pos : pos;
  if (flags == 0) {
    if (towardsStem > 1) --length;
    if (towardsStem > 4) --length;
  }
  if (!note.IsGrace()) {
    const int beyond = -towardsStem;  // on the far side of the middle line
    if (beyond > 0) length = std::max(length, beyond);
    return length;
  }
  return length * 2 / 3;
}

}  // namespace kvt
