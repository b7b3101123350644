#pragma once
// TScoreEditHost: what the score editing view asks of the application above it: the editor
// options, the staff colours and the playback state. The window installs the application's
// host; TNullScoreEditHost answers as a headless run needs (default options and colours, no
// playback), so the view runs in tests without the application.
//
// Contract: the host outlives the views that use it; UI thread only.

#include <string>
#include <vector>

#include "draw/staff_color_handles.h"

namespace kvt {

class TMusicScore;

// The application's editor options (Options dialog).
struct TScoreEditOptions {
  bool showCrosshair = false;        // "Show Crosshair"
  bool showActiveStaffEdges = true;  // "Show Active Staff Edges"
  bool caretBesidePreviousItem = false;
  bool layeringInEditMode = false;  // "layering in edit mode"
  int shapeNoteOption = 0;          // tenths, as TMusicFonts::SetShapeOption takes it
  // Top and bottom margins of the view in music font sizes.
  double topMargin = 1.0;
  double bottomMargin = 1.0;
};

class TScoreEditHost {
public:
  virtual ~TScoreEditHost() = default;
  virtual const TScoreEditOptions& Options() const = 0;
  virtual const TStaffColorHandles& Colors() const = 0;
  // The score that plays now is this one.
  virtual bool IsPlaying(const TMusicScore& score) const = 0;
  // The application follows playback in the editor / records.
  virtual bool FollowsPlayback() const = 0;
  virtual bool IsRecording() const = 0;
  // The item index the player stands at on a score staff; -1 when none.
  virtual int PlayedItem(const TMusicScore& score, int staffIndex) const = 0;
  // The status bar's position text (editor_status.h) and active staff changed.
  virtual void ShowCaretPosition(const std::string& text) {}
  virtual void ShowActiveStaff(int scoreStaff) {}
  // The piano bar: the keys (0..127, ascending) to show, all keys cleared, and the key a note
  // at the caret would sound.
  virtual void ShowPianoKeys(const std::vector<int>& keys) {}
  virtual void ClearPianoKeys() {}
  virtual void SetPianoCaretKey(int key) {}
  // The accidental a note entered at the caret takes by default, for the toolbars.
  virtual void SetImpliedAccidental(int accidental) {}
};

class TNullScoreEditHost : public TScoreEditHost {
public:
  const TScoreEditOptions& Options() const override { return options; }
  const TStaffColorHandles& Colors() const override { return colors; }
  bool IsPlaying(const TMusicScore&) const override { return false; }
  bool FollowsPlayback() const override { return false; }
  bool IsRecording() const override { return false; }
  int PlayedItem(const TMusicScore&, int) const override { return -1; }

  // Tests and the headless program change them freely.
  TScoreEditOptions options;
  TStaffColorHandles colors;
};

}  // namespace kvt
