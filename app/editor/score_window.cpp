#include "app/editor/score_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygon>
#include <QScrollBar>
#include <QStyle>

#include <optional>

#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/score_window_host.h"
#include "app/editor/score_window_panes.h"
#include "app/editor/undo_action_mgr.h"
#include "draw/layout/score_draw_info.h"
#include "draw/music_fonts.h"
#include "draw/staff_color_handles.h"
#include "midi/play/midi_playback_service.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "platform/qpainter_context.h"
#include "tools/command_enabler.h"

namespace kvt {
namespace {

constexpr int kUndoSegmentSize = 1000;
constexpr int kLabelPanelColor = 1;
constexpr int kActiveBackgroundColor = 3;

std::optional<TMediaKey> MediaKeyOf(int key) {
  switch (key) {
    case Qt::Key_Back: return TMediaKey::kBack;
    case Qt::Key_Forward: return TMediaKey::kForward;
    case Qt::Key_HomePage: return TMediaKey::kHome;
    case Qt::Key_MediaStop: return TMediaKey::kStop;
    case Qt::Key_MediaTogglePlayPause: return TMediaKey::kPlayPause;
    case Qt::Key_MediaPlay: return TMediaKey::kPlay;
    case Qt::Key_MediaPause: return TMediaKey::kPause;
    default: return std::nullopt;
  }
}

}  // namespace

// The client area: lays the panes out when resized and paints the corner between them as two
// triangles in the panes' colours.
class TScoreWindow::TBody final : public QWidget {
public:
  TBody(TScoreWindow& window, const TStaffColorHandles& colors) : window(window), colors(colors) {}

protected:
  void resizeEvent(QResizeEvent*) override { window.LayoutPanes(); }
  void paintEvent(QPaintEvent*) override {
    const TPaneLayout& layout = window.PaneLayout();
    const int w = layout.labels.width();
    const int h = layout.barNumbers.height();
    if (w <= 0 || h <= 0) return;
    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColorOf(colors.GetColor(kActiveBackgroundColor)));
    painter.drawPolygon(QPolygon({QPoint(0, 0), QPoint(w, 0), QPoint(w, h)}));
    painter.setBrush(QColorOf(colors.GetColor(kLabelPanelColor)));
    painter.drawPolygon(QPolygon({QPoint(0, 0), QPoint(w, h), QPoint(0, h)}));
  }

private:
  TScoreWindow& window;
  const TStaffColorHandles& colors;
};

TScoreWindow::TScoreWindow(TScoreWindowHost& host, const std::string& path,
                           std::unique_ptr<TMusicScore> score, int openMode, bool hasFile,
                           TAutosaveClaim recoveredClaim, QWidget* parent)
    : QMdiSubWindow(parent), host(host) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName("TKVT2ScoreWindow");
  document = std::make_unique<TScoreDocument>(host, path, std::move(score), openMode, hasFile,
                                              std::move(recoveredClaim));
  undo = std::make_unique<TUndoActionMgr>(host.Options().undoLevels, kUndoSegmentSize);
  body = new TBody(*this, host.EditHost().Colors());
  labelsPane = new TStaffLabelsWindow(host.EditHost().Colors(), body);
  barNumbersPane = new TBarNumbersPanel(host.EditHost().Colors(), body);
  MakeView();
  setWidget(body);
  document->AttachClient(this);
  if (!document->IsUntitled() && !document->IsSelector()) host.AddRecentFile(document->FileName());
  TitleChanged();
  LayoutPanes();
  // The view edits while its window is the active one.
  connect(this, &QMdiSubWindow::windowStateChanged, this,
          [this](Qt::WindowStates, Qt::WindowStates now) {
            if (view != nullptr) view->SetActive(now.testFlag(Qt::WindowActive));
          });
}

TScoreWindow::~TScoreWindow() {
  if (document->IsPlayingHere()) host.StopPlay();
  if (!document->IsUntitled() && !document->IsSelector()) host.AddRecentFile(document->FileName());
  document->AttachClient(nullptr);
}

void TScoreWindow::MakeView() {
  delete view;
  view = new TScoreEdit(body, document->Score(), *undo, host.EditHost());
  view->setObjectName("ScoreEdit");
  view->show();
  labelsPane->SetView(view);
  barNumbersPane->SetView(view);
  setFocusProxy(view);
  seenSerial = undo->StateSerial();
}

void TScoreWindow::AddToArea(QMdiArea& area) {
  QMdiSubWindow* active = area.activeSubWindow();
  const bool maximised = active == nullptr || active->isMaximized();
  area.addSubWindow(this);
  if (maximised) {
    showMaximized();
  } else {
    show();
  }
}

void TScoreWindow::LayoutPanes() {
  const TScoreWindowOptions options = host.Options();
  TPaneMetrics metrics;
  metrics.showLabelPanel = options.showLabelPanel;
  metrics.showLabels = options.showLabels;
  metrics.showBarNumberPanel = options.showBarNumberPanel;
  metrics.borderWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
  metrics.musicFontSize = view->Fonts().GetMusicEm(0);
  const TScoreDrawInfo& layout = view->Layout();
  metrics.editorLabelWidth =
      layout.GetStaffCount() > 0 ? layout.GetStaffLabelWidth(false, true) : 0;
  paneLayout = ComputePaneLayout(body->size(), metrics);
  labelsPane->SetShowLabels(options.showLabels);
  labelsPane->setGeometry(paneLayout.labels);
  labelsPane->setVisible(!paneLayout.labels.isEmpty());
  barNumbersPane->setGeometry(paneLayout.barNumbers);
  barNumbersPane->setVisible(!paneLayout.barNumbers.isEmpty());
  view->setGeometry(paneLayout.editor);
  body->update();
}

void TScoreWindow::UpdateStatus() {
  if (view->hasFocus()) view->UpdateStatus();
  // The panes follow the caret, the active staff and the scrolling.
  const TPaneState state{view->Caret().caret, view->ActiveStaffIndex(), view->OriginX(),
                         view->ScrollY(), view->IsActive()};
  if (!(state == paneState)) {
    paneState = state;
    labelsPane->update();
    barNumbersPane->update();
  }
  if (undo->StateSerial() != seenSerial) {
    seenSerial = undo->StateSerial();
    document->SetModified(false);
  }
}

bool TScoreWindow::Execute(int command) {
  TCommandEnabler enabler(command);
  if (!Enable(enabler) || !enabler.enabled.value_or(false)) return false;
  switch (command) {
    case kCmdSave: document->Save(); break;
    case kCmdSaveAs: document->SaveAs(); break;
    case kCmdRevert: document->Revert(); break;
    case kCmdClose: QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection); break;
    case kCmdPause: MidiPlaybackServiceOf(host.Services()).TogglePause(); break;
    case kCmdExport: document->Export(); break;
    case kCmdImportRecording: document->ImportRecording(); break;
    case kCmdRefreshScore: RefreshScore(); break;
    case kCmdPrint: Print(); break;
    case kCmdPrintPreview: PrintPreview(); break;
    default: document->Play(command); break;
  }
  return true;
}

bool TScoreWindow::Enable(TCommandEnabler& enabler) {
  const TMidiPlaybackService& playback = MidiPlaybackServiceOf(host.Services());
  const TScoreDocument* playing = host.PlayingDocument();
  const bool anyPlaying = playing != nullptr || playback.IsPlaying();
  const bool recording = anyPlaying && playback.IsRecording();
  const bool here = playing == document.get();
  switch (enabler.Id()) {
    case kCmdSave:
    case kCmdSaveAs:
    case kCmdClose: enabler.Enable(true); return true;
    case kCmdRevert: enabler.Enable(!document->IsUntitled() && !anyPlaying); return true;
    case kCmdPrint:
    case kCmdPrintPreview:
    case kCmdRefreshScore: enabler.Enable(view->CanEdit()); return true;
    case kCmdExport: enabler.Enable(true); return true;
    case kCmdImportRecording: enabler.Enable(!anyPlaying); return true;
    // Their dialogs are not part of the program yet.
    case kCmdPageSetup:
    case kCmdInfo: enabler.Enable(false); return true;
    case kCmdPlay:
      enabler.SetCheck(anyPlaying && !recording ? kChecked : kUnchecked);
      enabler.Enable(!recording);
      return true;
    case kCmdRecord:
      enabler.SetCheck(recording ? kChecked : kUnchecked);
      enabler.Enable(!anyPlaying || (here && recording));
      return true;
    case kCmdStaffPlay: {
      const TMusicStaff* staff = document->Score().GetStaff(ActiveStaff());
      enabler.Enable(!anyPlaying && staff != nullptr && !staff->IsMuted());
      return true;
    }
    case kCmdPause:
      enabler.SetCheck(anyPlaying && playback.IsPaused() ? kChecked : kUnchecked);
      enabler.Enable(here && !recording);
      return true;
    default: return false;
  }
}

void TScoreWindow::Broadcast(TWindowBroadcast action) {
  switch (action) {
    case TWindowBroadcast::kDeactivate: view->clearFocus(); break;
    case TWindowBroadcast::kSaveIfModified:
      if (document->IsModified()) document->Save();
      break;
    case TWindowBroadcast::kRedraw:
      view->viewport()->update();
      labelsPane->update();
      barNumbersPane->update();
      break;
    case TWindowBroadcast::kApplyUndoDepth: break;  // the placeholder view keeps no history
    case TWindowBroadcast::kAutoSave: document->AutoSave(); break;
    case TWindowBroadcast::kDeleteAutosave: document->DeleteAutosave(); break;
    case TWindowBroadcast::kReformat:
      view->Reformat();
      LayoutPanes();
      break;
    case TWindowBroadcast::kReformatAndRedraw:
      view->Reformat();
      LayoutPanes();
      view->viewport()->update();
      labelsPane->update();
      barNumbersPane->update();
      break;
  }
}

void TScoreWindow::closeEvent(QCloseEvent* event) {
  if (document->CanClose()) {
    event->accept();
    QMdiSubWindow::closeEvent(event);
  } else {
    event->ignore();
  }
}

void TScoreWindow::keyPressEvent(QKeyEvent* event) {
  if (const std::optional<TMediaKey> key = MediaKeyOf(event->key())) {
    document->MediaKey(*key);
    event->accept();
    return;
  }
  QMdiSubWindow::keyPressEvent(event);
}

uint64_t TScoreWindow::StateSerial() const { return undo->StateSerial(); }

void TScoreWindow::CommitPendingEdit() {
  // The caret and selection are saved with the score.
  view->StoreEditorState();
}

void TScoreWindow::TitleChanged() {
  const QString title = QString::fromStdString(document->Title());
  if (windowTitle() != title) setWindowTitle(title);
}

void TScoreWindow::ScoreReplaced() {
  // No snapshot may refer to the old score.
  undo->Clear();
  MakeView();
  LayoutPanes();
  view->SetActive(true);
  view->setFocus();
}

int TScoreWindow::ActiveStaff() const { return view->ActiveScoreStaff(); }

int TScoreWindow::CaretIndex() const { return view->Caret().caret; }

void TScoreWindow::PlayStarted() {
  view->setFocus();
  if (host.Options().chasePlayingNotes) view->ScrollCaretIntoView();
}

void TScoreWindow::StaffAppended(int scoreStaff) {
  // No history entry refers to a score of this size.
  undo->Clear();
  view->RelayoutShown();
  view->ShowStaff(scoreStaff);
  LayoutPanes();
}

void TScoreWindow::ScrollByKey(int direction) {
  if (direction == 0) {
    view->ScrollToSlot(0);
    return;
  }
  // A page, as the scroll bar's own page step goes.
  view->horizontalScrollBar()->triggerAction(direction > 0 ? QAbstractSlider::SliderPageStepAdd
                                                           : QAbstractSlider::SliderPageStepSub);
}

}  // namespace kvt
