#pragma once
// TLongTaskDlg: the progress window of a long operation that runs on the UI thread. The task
// reports through SetStatus, SetProgress and the like, and polls IsCancelled (or, from code
// that holds no reference to the dialog, CheckCancel or the services' TLongTaskCancel) between
// its steps; those pump the window events so that the dialog stays responsive. Cancel (or
// Escape) asks "Are you sure?" and only sets the flag: the task decides when to stop.
//
// The dialog is application-modal while shown, so no other window takes input. Dialogs stack:
// the one shown last is the active one until it closes, and then the one it found active is
// again. AnyActive tells the program's own timers and services (autosave, the hand-over from a
// second start, the command table) that a task is pumping events, so they keep off its data.
//
// Templates: 571 has one status line and no bar; 574 ("Working") one status line and one bar.
// Other ids get statusLineCount lines and progressBarCount bars (at most two) in a column.
// Texts are UTF-8 and shown as plain text. UI thread only.

#include <QDialog>
#include <QPointer>
#include <array>
#include <vector>

#include "notation/services/long_task_cancel.h"

class QLabel;
class QPushButton;

namespace kvt {

class TGauge;

class TLongTaskDlg : public QDialog {
public:
  static constexpr int kStatusLineId = 101;
  static constexpr int kBarPlaceId = 110;
  static constexpr int kBarId = 112;

  TLongTaskDlg(QWidget* parent, int resourceId, int statusLineCount, int progressBarCount);
  ~TLongTaskDlg() override;

  void SetStatus(const char* text) { SetStatusLine(0, text); }
  // Nothing for a line outside the dialog's count.
  void SetStatusLine(int line, const char* text);
  void SetStatusf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void SetStatusLinef(int line, const char* format, ...) __attribute__((format(printf, 3, 4)));
  // The bars; without the bar nothing happens. Values are clamped to the range.
  void SetProgressRange(int maximum) { SetBarRange(0, maximum); }
  void SetProgress(int value) { SetBarValue(0, value); }
  void SetProgressLed(int spacing, int thicknessPercent) {
    SetBarLed(0, spacing, thicknessPercent);
  }
  void SetProgress2Range(int maximum) { SetBarRange(1, maximum); }
  void SetProgress2(int value) { SetBarValue(1, value); }
  void SetProgress2Led(int spacing, int thicknessPercent) {
    SetBarLed(1, spacing, thicknessPercent);
  }

  // Handles the waiting window events, then answers whether the user confirmed a cancel.
  bool IsCancelled();
  void ResetCancel() { cancelled = false; }
  // Closes the window (the owner deletes the object).
  void Close();
  // A box "Warning" with OK and Cancel; Cancel goes on to the cancel confirmation.
  void WarnOrCancel(const char* format, ...) __attribute__((format(printf, 2, 3)));

  // The active dialog's IsCancelled; false, pumping nothing, when no dialog is active.
  static bool CheckCancel();
  // Whether a long-task dialog is shown (a task is running and may pump events).
  static bool AnyActive();

  QLabel* StatusLabel(int line) const;
  TGauge* Bar(int index) const { return bars[index].gauge; }
  QPushButton* CancelButton() const { return cancelButton; }

  void setVisible(bool visible) override;
  // Cancel and Escape ask for confirmation; the dialog stays open.
  void reject() override { ConfirmCancel(); }

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  struct TBarPair {
    QWidget* place = nullptr;
    TGauge* gauge = nullptr;
  };
  void ConfirmCancel();
  void SetBarRange(int index, int maximum);
  void SetBarValue(int index, int value);
  void SetBarLed(int index, int spacing, int thicknessPercent);
  void Activate();
  void Deactivate();

  QPushButton* cancelButton = nullptr;
  bool cancelled = false;
  bool active = false;
  std::vector<QLabel*> lines;
  std::array<TBarPair, 2> bars{};
};

// The services' cancel test on the long-task dialogs: install one in TServices::longTaskCancel.
class TLongTaskCancelProvider final : public TLongTaskCancel {
public:
  bool CheckCancel() override { return TLongTaskDlg::CheckCancel(); }
};

}  // namespace kvt
