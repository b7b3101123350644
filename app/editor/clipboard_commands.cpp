#include "app/editor/clipboard_commands.h"

#include <memory>
#include <optional>
#include <vector>

#include "app/editor/clipboard_service.h"
#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/selection_picture.h"
#include "app/editor/undo_snapshot.h"
#include "notation/files/text/clip_exchange.h"
#include "notation/staff/music_staff.h"
#include "platform/clipboard_stream.h"
#include "tools/command_table.h"
#include "tools/message_box_service.h"

namespace kvt {

namespace {

int SelectedCount(const TScoreEdit& view) {
  return view.HasSelection() ? view.Caret().SelectionEnd() - view.Caret().SelectionStart() + 1 : 0;
}

void ReportOperationError(TScoreEdit& view) {
  view.Host().MessageBox(MB_OK | MB_ICONEXCLAMATION, "Operation Error",
                         "An error was detected during the execution of the operation.");
}

void ReportPasteError(TScoreEdit& view) {
  view.Host().MessageBox(MB_OK | MB_ICONEXCLAMATION, "Paste Error",
                         "An error was detected during the Paste operation. The clipboard is "
                         "either empty, corrupted, or too large for the active staff.");
}

std::vector<uint8_t> OwnOrClipboardClip(const TClipboardService& clipboard) {
  // The program's own copy is read back as it was written, not as the clipboard renders it.
  if (clipboard.OwnsClipboard() && !clipboard.StoredClip().empty()) return clipboard.StoredClip();
  return clipboard.ReadFormat(kClipboardFormatScore).value_or(std::vector<uint8_t>());
}

// The clip on the clipboard from the first format it holds; null when it gives no item.
std::unique_ptr<TMusicStaff> ClipboardItems(TScoreEdit& view) {
  const TClipboardService& clipboard = view.Host().Clipboard();
  if (clipboard.HasFormat(kClipboardFormatScore))
    return ReadPastedClip(OwnOrClipboardClip(clipboard), TClipFormat::kScore, &view.Score());
  if (clipboard.HasFormat(kClipboardFormatText)) {
    const std::vector<uint8_t> text =
        clipboard.ReadFormat(kClipboardFormatText).value_or(std::vector<uint8_t>());
    return ReadPastedClip(text, TClipFormat::kText, &view.Score());
  }
  return nullptr;
}

// Deletes the selection after an undo entry of kind 1 for the command.
void DeleteSelection(TScoreEdit& view, int command) {
  if (!view.HasSelection()) return;
  if (!view.SaveUndoState(kUndoItems, command, -SelectedCount(view))) return;
  const int at = view.DeleteSelectionForEdit();
  view.EndUndoState();
  view.StaffChanged(view.Caret().staff, at);
  view.EnsureItemVisible(at);
}

void CopySpecial(TScoreEdit& view) {
  bool allStaves = false;
  TClipboardService& clipboard = view.Host().Clipboard();
  if (view.ShownStaffCount() > 1) {
    const TCopyHowMuch howMuch = clipboard.AskCopyHowMuch();
    if (howMuch == TCopyHowMuch::kCancel) return;
    allStaves = howMuch == TCopyHowMuch::kAllStaves;
  }
  const std::optional<TSelectionPicture> picture = MakeSelectionPicture(view, allStaves);
  if (!picture || !clipboard.OfferPicture({picture->svg.begin(), picture->svg.end()},
                                          {picture->png.begin(), picture->png.end()}))
    ReportOperationError(view);
}

}  // namespace

bool CopySelection(TScoreEdit& view) {
  TMusicStaff* staff = view.ActiveStaff();
  if (staff == nullptr || !view.HasSelection()) return false;
  std::optional<std::vector<uint8_t>> clip =
      WriteCompressedClip(*staff, view.Caret().SelectionStart(), view.Caret().SelectionEnd());
  if (!clip || !view.Host().Clipboard().OfferClip(std::move(*clip))) {
    ReportOperationError(view);
    return false;
  }
  return true;
}

bool PasteClip(TScoreEdit& view) {
  TMusicStaff* staff = view.ActiveStaff();
  if (staff == nullptr) return false;
  std::unique_ptr<TMusicStaff> items = ClipboardItems(view);
  if (!items) {
    ReportPasteError(view);
    return false;
  }
  // The caret stays before the pasted items.
  const int at = view.InsertItemsAtCaret(TakeClipItems(*items), kUndoItems, kCmdPaste);
  if (at < 0) return false;
  view.EndUndoState();
  view.EnsureItemVisible(at);
  return true;
}

void RegisterClipboardCommands(TScoreEdit& view, TCommandTable& table) {
  const auto selectionAndEdit = [&view](TCommandEnabler& enabler) {
    enabler.Enable(view.HasSelection() && view.CanEdit());
  };
  const auto clipAndEdit = [&view](TCommandEnabler& enabler) {
    const TClipboardService& clipboard = view.Host().Clipboard();
    enabler.Enable(view.CanEdit() && (clipboard.HasFormat(kClipboardFormatScore) ||
                                      clipboard.HasFormat(kClipboardFormatText)));
  };
  table.Register(
      kCmdCut,
      [&view](int32_t) {
        if (CopySelection(view)) DeleteSelection(view, kCmdCut);
      },
      selectionAndEdit);
  table.Register(
      kCmdCopy, [&view](int32_t) { CopySelection(view); }, selectionAndEdit);
  table.Register(
      kCmdPaste, [&view](int32_t) { PasteClip(view); }, clipAndEdit);
  table.Register(
      kCmdClear, [&view](int32_t) { DeleteSelection(view, kCmdClear); }, selectionAndEdit);
  table.Register(
      kCmdCopySpecial, [&view](int32_t) { CopySpecial(view); }, selectionAndEdit);
}

}  // namespace kvt
