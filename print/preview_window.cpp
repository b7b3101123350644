#include "print/preview_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QStyle>
#include <QToolBar>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>

#include "draw/print/print_data.h"
#include "print/page_picture_file.h"
#include "print/preview_copy_dialog.h"
#include "print/preview_goto_dialog.h"
#include "print/preview_pictures.h"
#include "print/preview_progress.h"
#include "tools/command_table.h"
#include "tools/message_box_service.h"
#include "tools/status_bar95.h"
#include "tools/toolbar_button_gadget.h"

namespace kvt {

namespace {

constexpr int kMinPreviewWidth = 200;
constexpr int kMinPreviewHeight = 150;

}  // namespace

QString PreviewStatusText(const TPreviewStatus& status) {
  char text[96];
  std::snprintf(text, sizeof text, "Page %lld, Zoom %d/%d",
                static_cast<long long>(status.printedPage), status.zoom + 1,
                status.zoomCount);
  QString result = QString::fromLatin1(text);
  if (!status.justify) result += QStringLiteral(", Justify Disabled");
  return result;
}

TKVTPrintPreview::TKVTPrintPreview(QWidget* mainWindow, TKVTNTNPrintData& print,
                                   const TPreviewServices& services, int64_t startTime)
    : QMainWindow(mainWindow, Qt::Window),
      print(print),
      services(services),
      commands(std::make_unique<TCommandTable>()) {
  setObjectName(QStringLiteral("KVTPrintPreview"));
  setWindowTitle(QStringLiteral("Print Preview"));
  TPreviewOptions& options = services.options ? *services.options : ownOptions;
  progress = std::make_unique<TLongTaskPreviewProgress>(this);

  // The client: the preview control filling it.
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("KVTPrintPreviewClient"));
  client->setWindowTitle(QStringLiteral("Preview Cient"));
  auto* layout = new QHBoxLayout(client);
  layout->setContentsMargins(0, 0, 0, 0);
  control =
      new TScorePreviewControl(client, kPreviewControlId, print, *progress, options, startTime);
  layout->addWidget(control);
  setCentralWidget(client);
  control->setFocus();
  control->SetContextMenuSink([this](QPoint global) { optionsMenu->popup(global); });

  RegisterCommands();
  BuildOptionsMenu();
  BuildBars();
  BuildAccelerators();
  PlaceInitially(mainWindow);
  commands->AddRefreshHook(this, [this] { UpdateStatus(); });
  commands->StartIdleRefresh();
}

TKVTPrintPreview::~TKVTPrintPreview() = default;

void TKVTPrintPreview::RegisterCommands() {
  TScorePreviewControl& c = *control;
  auto reg = [this](int32_t id, std::function<void()> run,
                    TCommandTable::TEnableHandler enabler = {}) {
    commands->Register(
        id,
        [this, run = std::move(run)](int32_t) {
          run();
          UpdateStatus();
        },
        std::move(enabler));
  };
  reg(kCmPreviewClose, [this] { close(); });
  reg(kCmPreviewFirstPage, [&c] { c.FirstPage(); });
  reg(kCmPreviewLastPage, [&c] { c.LastPage(); });
  reg(
      kCmPreviewPrevious, [&c] { c.PreviousPage(); },
      [&c](TCommandEnabler& e) { e.Enable(c.Page() > 1); });
  reg(
      kCmPreviewNext, [&c] { c.NextPage(); },
      [&c](TCommandEnabler& e) { e.Enable(c.HasMorePages()); });
  reg(kCmPreviewZoomIn, [&c] { c.ZoomIn(); });
  reg(kCmPreviewZoomOut, [&c] { c.ZoomOut(); });
  reg(kCmPreviewGoto, [this] { GotoPage(); });
  reg(kCmPreviewCopyAsk, [this] { CopyPage(true); });
  reg(kCmPreviewCopy, [this] { CopyPage(false); });
  reg(
      kCmPreviewJustify, [&c] { c.ToggleJustify(); },
      [&c](TCommandEnabler& e) {
        e.Enable(true);
        e.SetCheck(c.GetStatus().justify ? kUnchecked : kChecked);
      });
  reg(
      kCmPreviewBoundary, [&c] { c.ToggleBoundary(); },
      [&c](TCommandEnabler& e) {
        e.Enable(true);
        e.SetCheck(c.IsBoundaryShown() ? kChecked : kUnchecked);
      });
  reg(kCmPreviewRepaint, [&c] { c.viewport()->update(); });
  reg(kCmPreviewOptions,
      [this] { optionsMenu->popup(control->mapToGlobal(control->rect().center())); });
}

void TKVTPrintPreview::BuildOptionsMenu() {
  optionsMenu = new QMenu(this);
  struct TItem {
    int32_t id;
    const char* text;
    bool checkable;
  };
  static const TItem kItems[] = {
      {kCmPreviewFirstPage, "&Reset to Start Page\tHome", false},
      {kCmPreviewLastPage, "Jump to &Last Page\tEnd", false},
      {kCmPreviewZoomIn, "Zoom &In\t+", false},
      {kCmPreviewZoomOut, "Zoom &Out\t-", false},
      {kCmPreviewGoto, "&Goto Page...\tCtrl+G", false},
      {kCmPreviewCopyAsk, "&Copy Page...\tCtrl+C", false},
      {kCmPreviewJustify, "Disable &Justify\tF11", true},
      {kCmPreviewBoundary, "&Unprintable Area Boundary", true},
  };
  for (const TItem& item : kItems) {
    QAction* action = commands->Action(item.id);
    action->setText(QString::fromUtf8(item.text));
    action->setCheckable(item.checkable);
    optionsMenu->addAction(action);
  }
  commands->WatchMenu(optionsMenu);
}

void TKVTPrintPreview::BuildBars() {
  auto* bar = new QToolBar(this);
  bar->setMovable(false);
  bar->setFloatable(false);
  for (int32_t id : {kCmPreviewPrevious, kCmPreviewOptions, kCmPreviewNext}) {
    auto* button = new TToolbarButtonGadget(TGlyphResource{id, {}}, id, TToolbarButtonGadget::Plain,
                                            true, 0, PreviewButtonGlyph, bar);
    button->SetTarget(commands.get());
    bar->addWidget(button);
    commands->AddRefreshHook(button, [button] { button->Refresh(); });
  }
  addToolBar(Qt::TopToolBarArea, bar);
  auto* status = new TStatusBar95(this);
  statusText = new QLabel(status);
  status->Insert(statusText, 1);
  setStatusBar(status);
}

void TKVTPrintPreview::BuildAccelerators() {
  // "KVTPrintPreview": keys that reach the commands from anywhere in the frame.
  struct TAccel {
    QKeySequence key;
    int32_t id;
  };
  const TAccel accels[] = {
      {QKeySequence(Qt::Key_Escape), kCmPreviewClose},
      {QKeySequence(Qt::Key_Menu), kCmPreviewOptions},
      {QKeySequence(Qt::Key_PageUp), kCmPreviewPrevious},
      {QKeySequence(Qt::Key_PageDown), kCmPreviewNext},
      {QKeySequence(Qt::CTRL | Qt::Key_C), kCmPreviewCopy},
      {QKeySequence(Qt::CTRL | Qt::Key_G), kCmPreviewGoto},
      {QKeySequence(Qt::Key_F9), kCmPreviewRepaint},
      {QKeySequence(Qt::Key_F11), kCmPreviewJustify},
  };
  for (const TAccel& a : accels) {
    auto* action = new QAction(this);
    action->setShortcut(a.key);
    action->setShortcutContext(Qt::WindowShortcut);
    const int32_t id = a.id;
    connect(action, &QAction::triggered, this, [this, id] { commands->Execute(id); });
    addAction(action);
  }
}

void TKVTPrintPreview::PlaceInitially(QWidget* mainWindow) {
  if (mainWindow) {
    const int side = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int caption = style()->pixelMetric(QStyle::PM_TitleBarHeight);
    const QRect inset = mainWindow->frameGeometry().adjusted(side, caption, -side, -caption);
    if (inset.isValid()) setGeometry(inset);
  } else {
    resize(800, 600);
  }
  TWindowPlacement placement;
  if (!PlacementStoreOf(services).Load(QString::fromLatin1(kPreviewPlacementName), placement))
    return;
  // A stored place comes from the settings file: it is used only where it can be seen.
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect desktop = screen ? screen->availableVirtualGeometry() : QRect();
  const QRect stored = placement.normal.normalized();
  if (!desktop.isEmpty() && !desktop.intersects(stored)) return;
  setGeometry(
      QRect(stored.topLeft(), stored.size()
                                  .boundedTo(desktop.isEmpty() ? stored.size() : desktop.size())
                                  .expandedTo(QSize(kMinPreviewWidth, kMinPreviewHeight))));
  if (placement.maximized) setWindowState(windowState() | Qt::WindowMaximized);
}

void TKVTPrintPreview::SavePlacement() {
  if (placementSaved) return;
  placementSaved = true;
  TWindowPlacement placement;
  placement.maximized = isMaximized();
  placement.normal = placement.maximized ? normalGeometry() : geometry();
  PlacementStoreOf(services).Save(QString::fromLatin1(kPreviewPlacementName), placement);
}

void TKVTPrintPreview::closeEvent(QCloseEvent* event) {
  SavePlacement();
  QMainWindow::closeEvent(event);
}

void TKVTPrintPreview::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  UpdateStatus();
}

void TKVTPrintPreview::RunModal() {
  setWindowModality(Qt::ApplicationModal);
  show();
  // Closing hides the frame; until then the program's events run here.
  while (isVisible()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

QString TKVTPrintPreview::StatusText() const { return statusText->text(); }

void TKVTPrintPreview::UpdateStatus() {
  const TPreviewStatus now = control->GetStatus();
  if (now == shown) return;
  shown = now;
  statusText->setText(PreviewStatusText(now));
}

void TKVTPrintPreview::GotoPage() {
  const int start = print.GetPageNumberStart();
  TPreviewGotoDialog dialog(this, start > 0 ? start : 1, static_cast<int>(std::min<int64_t>(control->GetStatus().printedPage, INT_MAX)));
  if (dialog.exec() != IDOK) return;
  control->GoToPrintedPage(dialog.Value());
}

void TKVTPrintPreview::CopyPage(bool ask) {
  std::string file;
  if (ask) {
    TPreviewCopyDialog dialog(this);
    if (dialog.exec() != IDOK) return;
    if (dialog.ToFile() && !ChoosePictureFile(this, services.print, file)) return;
  }
  const TPaperMeasures& paper = print.GetPaper();
  CopyPagePicture(this, print, paper.dpiX, paper.dpiY, file.empty() ? nullptr : &file,
                  control->Page(), services.print);
}

}  // namespace kvt
