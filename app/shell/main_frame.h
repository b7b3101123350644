#pragma once
// TTarlowmedeFrame: the main window, a QMainWindow whose QMdiArea holds one window per open
// score. It carries the commands that belong to no score (opening files, exit, stop), the menus
// built from the command table, dropped files, the hand-over from a second start and timer 1
// (30,000 ms, 70 ms while a score plays: the timed autosave). Devices, playback, the status
// bar, toolbars, scripts and the later dialogs are not part of this frame: their commands have
// no handler, so the command table shows them disabled.
//
// UI thread only; made by TTarlowmedeApp::InitMainWindow, which owns it.

#include <QList>
#include <QMainWindow>
#include <QTimer>
#include <QUrl>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/hand_over_message.h"

class QMdiArea;
class QMdiSubWindow;

namespace kvt {

class TCommandEnabler;
class TScoreEdit;
class TScoreWindow;
class TScoreWindowHost;
class TShellScoreWindowHost;
class TTarlowmedeApp;

inline constexpr char kFrameCaption[] = "Tarlowmede Razadove";
inline constexpr char kMainPlacementName[] = "Main";
inline constexpr int kIdleTimerMs = 30000;
inline constexpr int kPlayTimerMs = 70;

// Open modes: where an open came from; the score window uses it for its title and save target.
enum TOpenMode : int {
  kOpenNew = 0,
  kOpenDialog = 1,
  kOpenReadOnly = 2,
  kOpenRecent = 3,
  kOpenImport = 5,
  kOpenRecording = 6,
  kOpenDde = 7,
  kOpenCommandLine = 8,
  kOpenDropped = 9,
  kOpenSecondStart = 10,
  kOpenBackup = 11,
  kOpenRecovered = 12,
  kOpenPasteNew = 13,
  kOpenSelectorEdit = 15,
};

class TTarlowmedeFrame final : public QMainWindow {
public:
  explicit TTarlowmedeFrame(TTarlowmedeApp& app);
  ~TTarlowmedeFrame() override;

  TTarlowmedeApp& App() { return app; }
  QMdiArea& Client() { return *client; }
  // What the score windows ask of the application and frame.
  TScoreWindowHost& Host();

  // The MDI children, in creation order.
  std::vector<QMdiSubWindow*> ScoreWindows() const;
  // The score window that shows the file at `path`, or null.
  TScoreWindow* FindScoreWindow(const std::string& path) const;
  // Applies a broadcast action (TWindowBroadcast) to every score window but `skip`.
  void BroadcastToScoreWindows(QMdiSubWindow* skip, int action);

  // Opens every autosave file that a session which ended left behind, each in a recovered
  // window (mode 12), and says so once; files another running instance holds are left alone.
  // The number of windows opened.
  int RecoverAutosavedFiles();

  // Timer 1's rhythm: 70 ms while a score plays, else 30,000 ms.
  void StartPlayTimer();
  void RestoreIdleTimer();
  int Timer1Interval() const { return timer1.interval(); }
  // What timer 1 does (public for the tests): the timed autosave when nothing plays.
  void OnTimer1();
  // Milliseconds of the monotonic clock at the last timed autosave.
  int64_t LastAutoSaveMs() const { return lastAutoSaveMs; }
  void SetLastAutoSaveMs(int64_t ms) { lastAutoSaveMs = ms; }

  // The step after the frame is shown, from the event loop: timer 1 starts, then the start's
  // arguments (the program path not included): switches, then every existing path opened
  // (mode 8); then the recovery of autosaved files.
  void PostCreate(const std::vector<std::string>& arguments);
  // A second start's frame entries: arguments open with mode 10, "[Open(...)]" commands with
  // mode 7. Raises the frame first.
  void HandleHandOver(const std::vector<THandOverEntry>& entries);
  // The caption names the active score window, as MDI frames do (also after its title
  // changed: the idle step calls this).
  void UpdateCaption();
  // Brings the frame to the front, restoring it when minimised.
  void RaiseFrame();

  // Dropped URLs: each local file opens (mode 9) from the event loop, after the drop has ended;
  // other URLs name nothing this program opens and are left alone.
  void OpenDroppedUrls(const QList<QUrl>& urls);

  // The number of score windows with unsaved changes.
  int CountUnsavedWindows() const;

protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

private:
  void RegisterCommands();
  // The active score window's editing view, or null.
  TScoreEdit* ActiveView() const;
  void EnableViewCommand(TCommandEnabler& enabler);
  void BuildMenus();
  void OpenPaths(const std::vector<std::string>& paths, int mode);
  bool ShutDownCheck();

  TTarlowmedeApp& app;
  QMdiArea* client;
  std::unique_ptr<TShellScoreWindowHost> host;
  QTimer timer1;
  int64_t lastAutoSaveMs;
};

}  // namespace kvt
