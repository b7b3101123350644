#pragma once
// The alert log's views: TAlertDlg ("Alert Log", 16391) lists the kept lines of the error log,
// selects the first one not seen yet and copies a line from its context menu ("Copy Alert");
// the alert menu clears the log, switches the echo to the debug output and opens the dialog.
// Opening the dialog or clearing the log counts every alert as seen. UI thread only.

#include <QListWidget>

#include "tools/kv_dlg_base.h"

class QMenu;

namespace kvt {

class TTarlowmedeApp;

inline constexpr int32_t kAlertLogDialogId = 16391;
inline constexpr int32_t kAlertListId = 101;

class TAlertDlg final : public TKVDlgBase {
public:
  TAlertDlg(QWidget* parent, TTarlowmedeApp& app);

  QListWidget& List() { return *list; }
  // Puts the list's current line on the clipboard as text.
  void CopyCurrentLine();

protected:
  void showEvent(QShowEvent* event) override;

private:
  void Fill();

  TTarlowmedeApp& app;
  QListWidget* list;
};

// Runs the dialog over the main window while that window is enabled.
void ShowAlertLog(TTarlowmedeApp& app);

// Adds "Clear Alert Log", "Copy Alerts to Debug Monitor" (checked while the echo is on) and
// "View Alert Log..." to the menu.
void AddAlertMenuItems(QMenu& menu, TTarlowmedeApp& app);

}  // namespace kvt
