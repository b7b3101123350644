#include "app/shell/main_frame.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>
#include <chrono>
#include <filesystem>

#include "app/dde_execute.h"
#include "app/editor/edit_key_table.h"
#include "app/editor/editor_zoom.h"
#include "app/editor/score_edit.h"
#include "app/editor/score_window.h"
#include "app/editor/undo_menu_text.h"
#include "app/shell/alert_log_dialog.h"
#include "app/shell/app_folders.h"
#include "app/shell/edit_menus.h"
#include "app/shell/file_commands.h"
#include "app/shell/help_topics.h"
#include "app/shell/open_file.h"
#include "app/shell/score_window_factory.h"
#include "app/shell/shell_score_window_host.h"
#include "app/shell/tarlowmede_app.h"
#include "app/shell/window_placement_setting.h"
#include "app/start_arguments.h"
#include "notation/files/binary/binary_score_file.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "platform/autosave_store.h"
#include "tools/command_table.h"
#include "tools/format_message_box.h"
#include "tools/message_box_service.h"
#include "utils/path_utils.h"

namespace kvt {

namespace {

int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

bool IsExistingFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error);
}

// The main menu: command ids and texts; an id of 0 is a separator. Commands without a handler
// here (devices, playback, dialogs not part of this program yet) show disabled.
struct TMenuItem {
  int32_t id;
  const char* text;
};

const TMenuItem kFileMenu[] = {
    {2, "&New...\tCtrl+N"},
    {3, "&Open...\tCtrl+O"},
    {56, "Open &Backup..."},
    {55, "Open Sa&mple..."},
    {0, nullptr},
    {kCmdSave, "&Save\tCtrl+S"},
    {kCmdSaveAs, "Save &As..."},
    {6, "Save A&ll"},
    {kCmdExport, "&Export..."},
    {kCmdRevert, "&Revert"},
    {kCmdClose, "&Close"},
    {0, nullptr},
    {9, "&Import..."},
    {16, "&History..."},
    {kCmdInfo, "In&fo...\tCtrl+I"},
    {0, nullptr},
    {kCmdPageSetup, "Pa&ge Setup..."},
    {kCmdPrint, "&Print...\tCtrl+P"},
    {kCmdPrintPreview, "Print Pre&view"},
    {209, "Printer Set&up..."},
    {0, nullptr},
    {13, "E&xit"},
};
// The ids the editing view's commands take.
constexpr int32_t kFirstViewCommand = 14;
constexpr int32_t kLastViewCommand = 299;
// The commands of the active score window.
constexpr int32_t kWindowCommands[] = {
    kCmdSave,  kCmdSaveAs,       kCmdRevert,    kCmdClose,        kCmdExport,         kCmdInfo,
    kCmdPrint, kCmdPrintPreview, kCmdPageSetup, kCmdRefreshScore, kCmdImportRecording};
const TMenuItem kViewMenu[] = {
    {kCmdZoomIn, "Zoom &In"},
    {kCmdZoomOut, "Zoom &Out"},
    {kCmdZoomDialog, "&Zoom..."},
    {kCmdRefreshScore, "&Refresh Score\tF9"},
    {0, nullptr},
    {59, "Show Labels"},
    {58, "Show &Label Panel"},
    {165, "Show &Bar Number Panel"},
    {60, "Show &Crosshair"},
    {61, "Show Active Staff &Edges"},
    {52, "L&ayering in Edit Mode"},
};
// Whether any staff of the score is layered with the next.
bool HasLayeredStaves(const TMusicScore& score) {
  for (int i = 0; i < score.GetStaffCount(); ++i) {
    if (score.GetStaff(i)->GetLayerWithNext()) return true;
  }
  return false;
}

// The view settings the View menu toggles, each an application option.
struct TViewToggle {
  int32_t id;
  TAppOption option;
};
constexpr TViewToggle kViewToggles[] = {
    {59, kOptEditorShowStaffNames}, {58, kOptShowLabelPanel},         {165, kOptShowBarNumPanel},
    {60, kOptShowCrossHair},        {61, kOptEnableActiveStaffFrame}, {52, kOptAllowLayering},
};
const TMenuItem kOptionsMenu[] = {
    {36, "&Options..."},
    {216, "&Persistent Tools..."},
    {20304, "&Toolbars..."},
};
const TMenuItem kPlayMenu[] = {
    {81, "&Stop\tF6"},
    {kCmdImportRecording, "&Import Recording..."},
};
const TMenuItem kHelpMenu[] = {
    {192, "&Contents\tF1"},
    {193, "C&ommand Reference"},
    {195, "&Getting Started"},
    {206, "&Keyboard Reference"},
    {204, "&Did you know..."},
    {207, "Online &User Guide"},
    {0, nullptr},
    {205, "&About..."},
};

// The menu text of a command (for the names of undo entries); empty when no menu has it.
std::u16string MenuText(int command) {
  const std::pair<const TMenuItem*, size_t> menus[] = {
      {kFileMenu, std::size(kFileMenu)}, {kViewMenu, std::size(kViewMenu)},
      {kOptionsMenu, std::size(kOptionsMenu)}, {kPlayMenu, std::size(kPlayMenu)},
      {kHelpMenu, std::size(kHelpMenu)}};
  for (const auto& [items, count] : menus) {
    for (size_t i = 0; i < count; ++i) {
      if (items[i].id == command) return QString::fromLatin1(items[i].text).toStdU16String();
    }
  }
  for (const TEditMenu& menu : EditMenus()) {
    for (const TEditMenuRow& row : menu.rows) {
      if (row.id == command) {
        const std::string_view text = EditMenuRowText(row);
        return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()))
            .toStdU16String();
      }
    }
  }
  return std::u16string();
}

}  // namespace

TTarlowmedeFrame::TTarlowmedeFrame(TTarlowmedeApp& app)
    : app(app),
      client(new QMdiArea(this)),
      host(std::make_unique<TShellScoreWindowHost>(*this)),
      lastAutoSaveMs(NowMs()) {
  setObjectName(QStringLiteral("TarlowmedeVezeroza2"));
  setWindowTitle(QString::fromLatin1(kFrameCaption));
  setCentralWidget(client);
  setAcceptDrops(true);
  timer1.setInterval(kIdleTimerMs);
  connect(&timer1, &QTimer::timeout, this, &TTarlowmedeFrame::OnTimer1);
  // The caption names the active score, as MDI frames do.
  connect(client, &QMdiArea::subWindowActivated, this, &TTarlowmedeFrame::UpdateCaption);
  RegisterCommands();
  BuildMenus();
}

TTarlowmedeFrame::~TTarlowmedeFrame() {
  // The score windows go before the host they use.
  for (QMdiSubWindow* window : ScoreWindows()) delete window;
}

TScoreWindowHost& TTarlowmedeFrame::Host() { return *host; }

void TTarlowmedeFrame::UpdateCaption() {
  QString caption = QString::fromLatin1(kFrameCaption);
  if (QMdiSubWindow* window = client->activeSubWindow())
    caption += QStringLiteral(" - [") + window->windowTitle() + QStringLiteral("]");
  if (caption != windowTitle()) setWindowTitle(caption);
}

void TTarlowmedeFrame::RegisterCommands() {
  TCommandTable& commands = app.Commands();
  commands.Register(3, [this](int32_t) { CmFileOpen(*this); });
  commands.Register(56, [this](int32_t) { CmFileOpenBackup(*this); });
  commands.Register(55, [this](int32_t) { CmFileOpenSample(*this); });
  commands.Register(9, [this](int32_t) { CmFileImport(*this); });
  for (const int32_t id : kWindowCommands) {
    commands.Register(
        id,
        [this](int32_t command) {
          if (auto* window = dynamic_cast<TScoreWindow*>(client->activeSubWindow()))
            window->Execute(command);
        },
        [this](TCommandEnabler& enabler) {
          auto* window = dynamic_cast<TScoreWindow*>(client->activeSubWindow());
          if (window == nullptr || !window->Enable(enabler)) enabler.Enable(false);
        });
  }
  // The editing commands belong to the active window's editing view: its own table runs them
  // and says how they look. Undo and Redo take their texts from the frame's menus.
  commands.RegisterRange(
      kFirstViewCommand, kLastViewCommand,
      [this](int32_t id) {
        if (TScoreEdit* view = ActiveView()) view->ExecuteCommand(id);
      },
      [this](TCommandEnabler& enabler) {
        TScoreEdit* view = ActiveView();
        if (view == nullptr || !view->EnableCommand(enabler)) enabler.Enable(false);
      });
  for (const int32_t id : {kCmdUndo, kCmdRedo}) {
    commands.Register(
        id,
        [this](int32_t command) {
          if (TScoreEdit* view = ActiveView()) view->ExecuteCommand(command);
        },
        [this](TCommandEnabler& enabler) { EnableViewCommand(enabler); });
  }
  commands.Register(
      6,
      [this](int32_t) {
        BroadcastToScoreWindows(nullptr, static_cast<int>(TWindowBroadcast::kSaveIfModified));
      },
      [this](TCommandEnabler& enabler) { enabler.Enable(!ScoreWindows().empty()); });
  commands.Register(209, [this](int32_t) { host->Printer().PrinterSetup(this); });
  // Help opens the help file in the desktop's browser; without the file the commands are off.
  for (const int32_t id : {192, 193, 194, 195, 196, 197, 198, 199, 200, 201, 202, 206}) {
    commands.Register(
        id,
        [](int32_t command) {
          ShowHelpTopic(GetProgramDataFolder(), HelpCommandTopic(static_cast<int>(command)));
        },
        [](TCommandEnabler& enabler) {
          enabler.Enable(!HelpFilePath(GetProgramDataFolder()).empty());
        });
  }
  // Each view setting toggles its option, keeps it and has every window lay out again.
  for (const TViewToggle& toggle : kViewToggles) {
    commands.Register(
        toggle.id,
        [this, option = toggle.option](int32_t) {
          TAppOptions& options = app.Options();
          options.Set(option, options.Get(option) != 0 ? 0 : 1);
          app.SaveOptions();
          host->RefreshEditOptions();
          BroadcastToScoreWindows(nullptr, static_cast<int>(TWindowBroadcast::kReformat));
        },
        [this, toggle](TCommandEnabler& enabler) {
          enabler.SetCheck(app.Options().Get(toggle.option) != 0 ? kChecked : kUnchecked);
          const TScoreEdit* view = ActiveView();
          if (toggle.id == 61) enabler.Enable(view == nullptr || !view->IsViewerMode());
          if (toggle.id == 52) enabler.Enable(view != nullptr && !view->IsViewerMode() &&
                                              HasLayeredStaves(view->Score()));
        });
  }
  // Closing goes through the shut-down check, after the menu has closed.
  commands.Register(13, [this](int32_t) {
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
  });
}

void TTarlowmedeFrame::BuildMenus() {
  struct TMenu {
    const char* title;
    const TMenuItem* items;
    size_t count;
  };
  const TMenu menus[] = {
      {"&File", kFileMenu, std::size(kFileMenu)},
      {"&View", kViewMenu, std::size(kViewMenu)},
      {"&Options", kOptionsMenu, std::size(kOptionsMenu)},
      {"&Play", kPlayMenu, std::size(kPlayMenu)},
      {"&Help", kHelpMenu, std::size(kHelpMenu)},
  };
  TCommandTable& commands = app.Commands();
  // Only the application's own keys are shortcuts; the others belong to the editing view,
  // which handles them while it has the focus, so their menu items only show the key (the
  // text after the tab).
  const auto addItem = [&commands](QMenu& popup, int32_t id, const QString& text) {
    QAction* action = commands.Action(id);
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    if (tab >= 0 && IsApplicationKeyCommand(id)) {
      action->setText(text.left(tab));
      action->setShortcut(QKeySequence(text.mid(tab + 1)));
    } else {
      action->setText(text);
    }
    popup.addAction(action);
  };
  const auto addMenu = [this, &commands](const char* title) {
    QMenu* popup = menuBar()->addMenu(QString::fromLatin1(title));
    commands.WatchMenu(popup);
    return popup;
  };
  const auto addFrameMenu = [&](const TMenu& menu) {
    QMenu* popup = addMenu(menu.title);
    for (size_t i = 0; i < menu.count; ++i) {
      const TMenuItem& item = menu.items[i];
      if (item.id == 0)
        popup->addSeparator();
      else
        addItem(*popup, item.id, QString::fromLatin1(item.text));
    }
    // Without the status bar's alert indicator, the alert menu lives in the Help menu.
    if (menu.items == kHelpMenu) AddAlertMenuItems(*popup->addMenu(QStringLiteral("&Alerts")), app);
  };
  addFrameMenu(menus[0]);
  for (const TEditMenu& menu : EditMenus()) {
    QMenu* popup = addMenu(menu.title);
    QMenu* target = popup;
    for (const TEditMenuRow& row : menu.rows) {
      const std::string_view text = EditMenuRowText(row);
      const QString label = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
      if (row.id == kMenuSeparator) {
        target->addSeparator();
      } else if (row.id == kSubmenuStart) {
        target = popup->addMenu(label);
        commands.WatchMenu(target);
      } else if (row.id == kSubmenuEnd) {
        target = popup;
      } else {
        addItem(*target, row.id, label);
      }
    }
  }
  for (size_t i = 1; i < std::size(menus); ++i) addFrameMenu(menus[i]);
  commands.Refresh();
}

TScoreEdit* TTarlowmedeFrame::ActiveView() const {
  auto* window = dynamic_cast<TScoreWindow*>(client->activeSubWindow());
  return window != nullptr ? window->View() : nullptr;
}

void TTarlowmedeFrame::EnableViewCommand(TCommandEnabler& enabler) {
  auto* window = dynamic_cast<TScoreWindow*>(client->activeSubWindow());
  if (window == nullptr || window->View() == nullptr) {
    enabler.Enable(false);
    return;
  }
  if (enabler.Id() != kCmdUndo && enabler.Id() != kCmdRedo) {
    enabler.Enable(true);
    return;
  }
  const TUndoMenuItem item = enabler.Id() == kCmdUndo
                                 ? UndoMenuItem(window->Undo(), window->View()->CanEdit(), MenuText)
                                 : RedoMenuItem(window->Undo(), window->View()->CanEdit(), MenuText);
  enabler.SetText(QString::fromStdU16String(item.text));
  enabler.Enable(item.enabled);
}

std::vector<QMdiSubWindow*> TTarlowmedeFrame::ScoreWindows() const {
  const QList<QMdiSubWindow*> list = client->subWindowList(QMdiArea::CreationOrder);
  return std::vector<QMdiSubWindow*>(list.begin(), list.end());
}

TScoreWindow* TTarlowmedeFrame::FindScoreWindow(const std::string& path) const {
  if (path.empty()) return nullptr;
  for (QMdiSubWindow* child : ScoreWindows()) {
    auto* window = dynamic_cast<TScoreWindow*>(child);
    if (window != nullptr && window->Document().IsFile(path)) return window;
  }
  return nullptr;
}

void TTarlowmedeFrame::BroadcastToScoreWindows(QMdiSubWindow* skip, int action) {
  if (action < 0 || action > static_cast<int>(TWindowBroadcast::kReformatAndRedraw)) return;
  for (QMdiSubWindow* child : ScoreWindows()) {
    if (child == skip) continue;
    if (auto* window = dynamic_cast<TScoreWindow*>(child))
      window->Broadcast(static_cast<TWindowBroadcast>(action));
  }
}

int TTarlowmedeFrame::CountUnsavedWindows() const {
  int count = 0;
  for (QMdiSubWindow* child : ScoreWindows()) {
    auto* window = dynamic_cast<TScoreWindow*>(child);
    if (window != nullptr && window->Document().IsModified()) ++count;
  }
  return count;
}

int TTarlowmedeFrame::RecoverAutosavedFiles() {
  int recovered = 0;
  for (TAutosaveClaim& claim : host->AutosaveStore().ClaimRecoverableFiles()) {
    TScoreFileHeader header;
    TScoreLoadResult result = ReadScoreFromFile(claim.Path().c_str(), header, host->Services());
    // A file that does not load stays for a later look; it is skipped without a message.
    if (result.score == nullptr) continue;
    result.score->SetCompressed(true);
    const std::string path = claim.Path();
    if (CreateScoreWindow(*this, std::move(result.score), {path, kOpenRecovered, false},
                          std::move(claim)) != nullptr)
      ++recovered;
  }
  if (recovered > 0) {
    FormatMessageBox(this, MB_OK | MB_ICONEXCLAMATION, "Warning",
                     "One or more files have been automatically recovered from your last "
                     "usage.\n\nYou should save these recovered files immediately in order to "
                     "avoid losing any of the changes that you made in your last session.\n\n** "
                     "If you quit the program before saving the recovered files, your changes "
                     "will be permanently lost.");
  }
  return recovered;
}

void TTarlowmedeFrame::StartPlayTimer() { timer1.start(kPlayTimerMs); }

void TTarlowmedeFrame::RestoreIdleTimer() { timer1.start(kIdleTimerMs); }

void TTarlowmedeFrame::OnTimer1() {
  // Nothing plays in this program yet, so the timer only runs the timed autosave.
  const int32_t minutes = app.Options().Get(kOptAutoSaveMinutes);
  if (minutes <= 0) return;
  const int64_t now = NowMs();
  if (now - lastAutoSaveMs > static_cast<int64_t>(minutes) * 60000) {
    BroadcastToScoreWindows(nullptr, static_cast<int>(TWindowBroadcast::kAutoSave));
    lastAutoSaveMs = now;
  }
}

void TTarlowmedeFrame::PostCreate(const std::vector<std::string>& arguments) {
  RestoreIdleTimer();
  const TStartRequest request = WalkStartArguments(arguments);
  if (request.experimentation >= 0) app.SetExperimentation(request.experimentation == 1);
  std::vector<std::string> paths;
  for (std::string path : request.paths) {
    MakeAbsolutePath(path);
    paths.push_back(GetTrueFileName(path));
  }
  OpenPaths(paths, kOpenCommandLine);
  if (request.experimentation >= 0) {
    app.ErrorLog().Printf("Experimental features have been %s for all non-experimental files.",
                          request.experimentation == 1 ? "enabled" : "disabled");
  }
  RecoverAutosavedFiles();
}

void TTarlowmedeFrame::OpenPaths(const std::vector<std::string>& paths, int mode) {
  for (const std::string& path : paths) {
    if (IsExistingFile(path)) OpenFileByPath(*this, path, mode);
  }
}

void TTarlowmedeFrame::RaiseFrame() {
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

void TTarlowmedeFrame::HandleHandOver(const std::vector<THandOverEntry>& entries) {
  RaiseFrame();
  std::vector<std::string> arguments;
  for (const THandOverEntry& entry : entries) {
    if (entry.kind == THandOverKind::kArgument) {
      arguments.push_back(entry.text);
      continue;
    }
    int command = 0;
    std::string path;
    if (!ParseDdeExecute(entry.text, command, path)) continue;
    if (command == kDdeOpen && !path.empty() && path[0] == '/')
      OpenFileByPath(*this, GetTrueFileName(path), kOpenDde);
  }
  // Every path of the second start opens, not only the first; only absolute paths are taken,
  // since the sender's working folder is not ours.
  std::vector<std::string> paths;
  for (const std::string& path : WalkStartArguments(arguments).paths) {
    if (path[0] == '/') paths.push_back(GetTrueFileName(path));
  }
  OpenPaths(paths, kOpenSecondStart);
}

bool TTarlowmedeFrame::ShutDownCheck() {
  const int unsaved = CountUnsavedWindows();
  const int32_t threshold = app.Options().Get(kOptExitWarnThreshold);
  if (threshold > 0 && unsaved >= threshold) {
    const int answer =
        FormatMessageBox(this, MB_OKCANCEL | MB_ICONINFORMATION, "Shut Down Warning",
                         "You currently have %d unsaved window%s.\n\nContinue with the shut down?",
                         unsaved, unsaved >= 2 ? "s" : "");
    if (answer != IDOK) return false;
  }
  // Each score window asks about its own changes; one that stays open stops the shut-down.
  for (QMdiSubWindow* window : ScoreWindows()) {
    if (!window->close()) return false;
  }
  return true;
}

void TTarlowmedeFrame::closeEvent(QCloseEvent* event) {
  if (!ShutDownCheck()) {
    event->ignore();
    return;
  }
  timer1.stop();
  SaveWindowPlacement(app.Settings(), *this, kMainPlacementName);
  event->accept();
}

void TTarlowmedeFrame::dragEnterEvent(QDragEnterEvent* event) {
  const QMimeData* data = event->mimeData();
  if (data == nullptr || !data->hasUrls()) return;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile()) {
      event->acceptProposedAction();
      return;
    }
  }
}

void TTarlowmedeFrame::dropEvent(QDropEvent* event) {
  const QMimeData* data = event->mimeData();
  if (data == nullptr) return;
  event->acceptProposedAction();
  OpenDroppedUrls(data->urls());
}

void TTarlowmedeFrame::OpenDroppedUrls(const QList<QUrl>& urls) {
  std::vector<std::string> paths;
  for (const QUrl& url : urls) {
    if (url.isLocalFile()) paths.push_back(url.toLocalFile().toStdString());
  }
  // After the drop has ended, so the dragging program is not held by a question.
  QMetaObject::invokeMethod(
      this, [this, paths] { OpenPaths(paths, kOpenDropped); }, Qt::QueuedConnection);
}

}  // namespace kvt
