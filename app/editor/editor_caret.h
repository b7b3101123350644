#pragma once
// TEditorCaret: where the editor stands: the active staff (score staff index, -1 none), the
// caret's item index (the caret stands before that item), the other end of the selection and
// the caret's vertical staff position in half-spaces.

#include <algorithm>

namespace kvt {

inline constexpr int kMinCaretPos = -100;
inline constexpr int kMaxCaretPos = 100;

struct TEditorCaret {
  int staff = -1;
  int caret = 1;
  int anchor = 1;
  int caretPos = 0;

  bool HasSelection() const { return anchor != caret; }
  // The selected items: min(caret, anchor) .. max(caret, anchor) - 1.
  int SelectionStart() const { return std::min(caret, anchor); }
  int SelectionEnd() const { return std::max(caret, anchor) - 1; }
  bool operator==(const TEditorCaret&) const = default;
};

// Limits caret and anchor to 1..lastIndex (a staff's last index, at least 1) and the vertical
// position to -100..100; a staff index below 0 becomes 0.
TEditorCaret ClampEditorCaret(TEditorCaret c, int lastIndex);

}  // namespace kvt
