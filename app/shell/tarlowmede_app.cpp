#include "app/shell/tarlowmede_app.h"

#include <QAbstractEventDispatcher>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <clocale>

#include "app/editor/score_window.h"
#include "app/shell/app_folders.h"
#include "app/shell/main_frame.h"
#include "utils/sys_info.h"

namespace kvt {

namespace {

constexpr char kVersionKey[] = "Version";

// The log that ErrorLogPrintf writes to, set while the application object lives. Other threads
// read it, so it changes and is read only under the application lock.
TKVErrorLog* runningLog = nullptr;

}  // namespace

TTarlowmedeApp::TTarlowmedeApp(int& argc, char** argv, TSysInfo& settings)
    : TKVAppBase(argc, argv), settings(settings) {
  // The application object took the user's locale; numbers in files never follow it.
  std::setlocale(LC_NUMERIC, "C");
  setApplicationName(QString::fromLatin1(kAppName));
  options.Load(settings);
  StartIdleStep();
  TKVAppLock lock;
  runningLog = &errorLog;
}

TTarlowmedeApp::~TTarlowmedeApp() {
  {
    TKVAppLock lock;
    runningLog = nullptr;
  }
  SaveOptions();
  delete frame;
}

TTarlowmedeApp* TTarlowmedeApp::Running() {
  return dynamic_cast<TTarlowmedeApp*>(QCoreApplication::instance());
}

TTarlowmedeFrame& TTarlowmedeApp::InitMainWindow() {
  remembered[0] = GetFolder(kFolderSongs);
  remembered[1] = GetFolder(kFolderMidiFiles);
  if (frame == nullptr) {
    frame = new TTarlowmedeFrame(*this);
    SetMainWindow(frame);
  }
  return *frame;
}

bool TTarlowmedeApp::SaveOptions() {
  bool ok = options.Save(settings);
  return settings.WriteProfileString(nullptr, kVersionKey, kProductVersion) && ok;
}

std::string TTarlowmedeApp::GetFolder(int kind, bool noDefault) {
  return kvt::GetFolder(settings, kind, noDefault);
}

bool TTarlowmedeApp::SetFolder(int kind, const std::string& path) {
  return kvt::SetFolder(settings, kind, path);
}

bool TTarlowmedeApp::ConfirmAdminAction(const std::string& action) {
  return adminConfirm.Confirm(frame, action, IsRunningAsAdministrator());
}

bool TTarlowmedeApp::IsPathInProgramFolder(const std::string& path) const {
  return kvt::IsPathInProgramFolder(path, applicationDirPath().toStdString(),
                                    GetProgramDataFolder());
}

void TTarlowmedeApp::StartIdleStep() {
  QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance(thread());
  if (dispatcher == nullptr) return;
  // The loop wakes for events and blocks when none are left: one idle step per such round, so
  // an idle step that posts nothing does not start another round.
  connect(dispatcher, &QAbstractEventDispatcher::awake, this, [this] { eventsSinceIdle = true; });
  connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
    if (!eventsSinceIdle) return;
    eventsSinceIdle = false;
    IdleAction();
  });
}

void TTarlowmedeApp::IdleAction() {
  ++idleRuns;
  QMdiSubWindow* active = frame != nullptr ? frame->Client().activeSubWindow() : nullptr;
  if (auto* window = dynamic_cast<TScoreWindow*>(active)) {
    window->UpdateStatus();
    // The window's status is shown now: clear it once when no score window is active.
    lastStatus.insertion = 0;
  } else if (lastStatus.insertion != -1) {
    lastStatus = TEditStatusInfo();
  }
  if (frame != nullptr) frame->UpdateCaption();
}

void ErrorLogPrintf(const char* format, ...) {
  TKVAppLock lock;  // the log is not torn down while a line goes in
  if (runningLog == nullptr) return;
  va_list args;
  va_start(args, format);
  runningLog->PrintfV(format, args);
  va_end(args);
}

}  // namespace kvt
