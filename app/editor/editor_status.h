#pragma once
// The caret's musical position for the status bar, and the snapshot of the editor's state that
// the idle step compares to decide whether the status needs refreshing.
//
// Without a selection: "%d%s of " (the beat inside the bar, "+" when the caret stands after the
// beat; only past the bar's first beat) followed by "%d/%d  Bar %d" (the time signature in
// force and the bar number, counting from the score's first bar number). With a selection:
// "Bar %d" when it lies within one bar, else "Bar %d - %d". Bar lines left out of the numbering
// do not count.

#include <string>

#include "app/editor/editor_caret.h"

namespace kvt {

class TMusicScore;
class TMusicStaff;

// The bar (counted from the score's first bar number) that holds the item at index, and the
// index of the bar line that opens it (0 for the first bar).
int BarOf(const TMusicScore& score, const TMusicStaff& staff, int index, int* opening = nullptr);

std::string CaretPositionText(const TMusicScore& score, const TMusicStaff& staff,
                              const TEditorCaret& caret);

// What the status shows depends on these; equal snapshots need no refresh.
struct TEditorStatusSnapshot {
  int staff = -1;
  int caret = 0;
  int anchor = 0;
  int caretPos = 0;
  int itemCount = 0;
  bool active = false;
  bool playing = false;
  bool recording = false;
  bool operator==(const TEditorStatusSnapshot&) const = default;
};

}  // namespace kvt
