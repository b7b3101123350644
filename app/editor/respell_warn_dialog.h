#pragma once
// TRespellWarnDlg: the modal "Staff Audit Enharmonic Spelling Warning" of command 73. It shows
// while the editor selects a chord whose intervals may not respell correctly: "Show &Next
// Chord" steps to the next such chord (disabled after the last), "&Goto Score Editor" cancels
// (reject) and "&Proceed with Audit" continues (accept). The dialog keeps itself placed by
// PlaceRespellWarning beside the caret of the chord shown, on the screen of its parent.

#include "app/editor/edit_dialogs.h"
#include "tools/kv_dlg_base.h"

class QPushButton;

namespace kvt {

class TRespellWarnDlg : public TKVDlgBase {
public:
  static constexpr int32_t kNextChordId = 101;
  static constexpr int32_t kGotoEditorId = 102;
  static constexpr int32_t kProceedId = 103;

  // steps: not owned; it must outlive the dialog.
  TRespellWarnDlg(QWidget* parent, TRespellWarnSteps& steps);
  QPushButton& NextChord() const { return *next; }
  QPushButton& GotoEditor() const { return *gotoEditor; }
  QPushButton& Proceed() const { return *proceed; }
  // Moves the dialog beside the caret.
  void PlaceBesideCaret();

protected:
  void showEvent(QShowEvent* event) override;

private:
  void ShowNextChord();

  TRespellWarnSteps& steps;
  QPushButton* next;
  QPushButton* gotoEditor;
  QPushButton* proceed;
};

}  // namespace kvt
