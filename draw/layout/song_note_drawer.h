#pragma once
// TSongNoteDrawer: how the staff drawing has notes, rests, chords and rest chords drawn. The
// standard drawer draws them with the note drawing (draw/items/song_note_drawing.h); a caller
// may install another, which the layout does not own.

namespace kvt {

class TScoreDrawInfo;
class TStaffDrawInfo;

class TSongNoteDrawer {
public:
  virtual ~TSongNoteDrawer() = default;
  // Draws the song note at draw position pos of the staff at x, in the colour selected.
  virtual void DrawSongNote(TScoreDrawInfo& score, TStaffDrawInfo& staff, int pos, int x) = 0;
};

class TStandardSongNoteDrawer final : public TSongNoteDrawer {
public:
  void DrawSongNote(TScoreDrawInfo& score, TStaffDrawInfo& staff, int pos, int x) override;
};

}  // namespace kvt
