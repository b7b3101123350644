#pragma once
// TKVAppBase: the application class the program's application object derives from. It gives
// the process one recursive lock for data shared with other threads (the error log appends
// under it), two help hooks that dialogs and property pages call instead of knowing the help
// system, the message-box service every box of the program goes through, and the one command
// table.
//
// There is one application object per process, created before any dialog. The lock does not
// belong to the object: it lives until the process exits, so a thread that logs while the
// application object is torn down never enters a destroyed lock.

#include <QApplication>
#include <QPoint>
#include <QPointer>
#include <QWidget>

#include <cstdint>

namespace kvt {

class TCommandTable;
class TMessageBoxService;

// One entry of a dialog's help map: a control id and its help topic. A map is an array ending
// with an entry whose control id is 0.
struct TCtrlHelpEntry {
  int32_t controlId;
  int32_t helpTopic;
};

// A help request for one control of a dialog (F1 with the focus on it).
struct TCtrlHelpRequest {
  int32_t controlId = 0;       // the control's id, 0 when the focus is on no registered control
  QWidget* control = nullptr;  // the control, or null
  QPoint globalPos;            // the mouse position when the request was made
};

class TKVAppBase : public QApplication {
public:
  // argc and argv as QApplication takes them: they must outlive the object.
  TKVAppBase(int& argc, char** argv);
  ~TKVAppBase() override;

  // The process-wide recursive lock; any thread may take it, also before and after the
  // application object exists.
  static void Lock();
  static void Unlock();

  // Help for a control of a dialog or page; helpMap is never null (an empty map is one entry
  // with id 0). The base does nothing.
  virtual void ShowContextHelp(const TCtrlHelpRequest& request, const TCtrlHelpEntry* helpMap,
                               int32_t dialogId);
  // Help for a command or dialog id. The base does nothing.
  virtual void ShowCommandHelp(int32_t id);

  // The service that shows message boxes: the one set, else the Qt boxes. The service set is
  // the caller's and must outlive its use here; null restores the Qt boxes. Tests set a fake.
  TMessageBoxService& MessageBoxService();
  void SetMessageBoxService(TMessageBoxService* service);

  // The program's one command table, owned by the application object.
  TCommandTable& Commands() { return *commands; }

  // The main window (owner of application-level boxes); none until the program sets it.
  QWidget* MainWindow() const { return mainWindow; }
  void SetMainWindow(QWidget* window) { mainWindow = window; }

private:
  TCommandTable* commands;                     // a child of the application object
  TMessageBoxService* messageBoxes = nullptr;  // null: the Qt boxes
  QPointer<QWidget> mainWindow;
};

// The running application object as a TKVAppBase; null when there is none or it is of another
// class.
TKVAppBase* GetKVAppBase();

// Holds the process-wide lock for its scope.
class TKVAppLock {
public:
  TKVAppLock() { TKVAppBase::Lock(); }
  ~TKVAppLock() { TKVAppBase::Unlock(); }
  TKVAppLock(const TKVAppLock&) = delete;
  TKVAppLock& operator=(const TKVAppLock&) = delete;
};

}  // namespace kvt
