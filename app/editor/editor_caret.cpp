#include "app/editor/editor_caret.h"

namespace kvt {

TEditorCaret ClampEditorCaret(TEditorCaret c, int lastIndex) {
  const int last = std::max(1, lastIndex);
  c.staff = std::max(0, c.staff);
  c.caret = std::clamp(c.caret, 1, last);
  c.anchor = std::clamp(c.anchor, 1, last);
  c.caretPos = std::clamp(c.caretPos, kMinCaretPos, kMaxCaretPos);
  return c;
}

}  // namespace kvt
