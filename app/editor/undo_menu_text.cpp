#include "app/editor/undo_menu_text.h"

#include "app/editor/undo_action_mgr.h"
#include "app/editor/undo_snapshot.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

constexpr size_t kMaxNameUnits = 79;

const char16_t* EditorActionName(int subCode) {
  switch (subCode) {
    case kUndoDeleteBackward:
    case kUndoDeleteForward: return u"Delete";
    case kUndoRemoveChordNote: return u"Remove Chord Note";
    case kUndoChangeSelection: return u"Change Selection";
    case kUndoMidiInput: return u"MIDI Input";
    case kUndoSpacerChange: return u"Spacer Change";
    case kUndoNoteheadChange: return u"Notehead Change";
    case kUndoPropertyChange: return u"Property Change";
    default: return u"Action";
  }
}

// A menu text as an entry name: no "&", cut at a tab or "..", at most 79 units.
std::u16string MenuTextAsName(std::u16string_view text) {
  std::u16string name;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\t') break;
    if (text[i] == u'.' && i + 1 < text.size() && text[i + 1] == u'.') break;
    if (text[i] != u'&') name += text[i];
  }
  name.resize(Utf16PrefixLength(name, kMaxNameUnits));
  return name;
}

}  // namespace

std::u16string UndoEntryName(int kind, int command, const TMenuTextLookup& menuText) {
  if (kind == kUndoEditorAction) return EditorActionName(command);
  if (kind < kUndoItems || kind > kUndoScore) return u"Action";
  const std::u16string text = menuText ? menuText(command) : std::u16string();
  if (text.empty() && command >= 256 && command <= 271) return u"Selector Insert";
  return MenuTextAsName(text);
}

TUndoMenuItem UndoMenuItem(const TUndoActionMgr& undo, bool canEdit,
                           const TMenuTextLookup& menuText) {
  if (!undo.CanUndo() || !canEdit) return {u"&Undo\tCtrl+Z", false};
  const TUndoEntryName e = undo.PeekUndo(0);
  return {u"&Undo " + UndoEntryName(e.kind, e.command, menuText) + u"\tCtrl+Z", true};
}

TUndoMenuItem RedoMenuItem(const TUndoActionMgr& undo, bool canEdit,
                           const TMenuTextLookup& menuText) {
  if (!undo.CanRedo() || !canEdit) return {u"Re&do\tCtrl+Y", false};
  const TUndoEntryName e = undo.PeekRedo(0);
  return {u"Redo " + UndoEntryName(e.kind, e.command, menuText) + u"\tCtrl+Y", true};
}

}  // namespace kvt
