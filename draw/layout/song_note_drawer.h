#pragma once
// TSongNoteDrawer: how the staff drawing has notes, rests, chords and rest chords drawn, with
// their beams, tuplet brackets and hairpins. The note drawing installs its own; the null
// drawer draws nothing (layouts that only need the other kinds, and tests).

namespace kvt {

class TScoreDrawInfo;
class TStaffDrawInfo;

class TSongNoteDrawer {
public:
  virtual ~TSongNoteDrawer() = default;
  // Draws the song note at draw position pos of the staff at x, in the colour selected.
  virtual void DrawSongNote(TScoreDrawInfo& score, TStaffDrawInfo& staff, int pos, int x) = 0;
};

class TNullSongNoteDrawer final : public TSongNoteDrawer {
public:
  void DrawSongNote(TScoreDrawInfo&, TStaffDrawInfo&, int, int) override {}
};

}  // namespace kvt
