#include "app/editor/score_edit.h"

#include <QScrollBar>
#include <algorithm>

#include "app/editor/editor_piano_keys.h"
#include "app/editor/editor_zoom.h"
#include "app/editor/score_edit_commands.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/selection_edit.h"
#include "app/editor/undo_action_mgr.h"
#include "app/editor/zoom_dialog.h"
#include "draw/layout/fonts_sizing_scope.h"
#include "draw/layout/score_draw_info.h"
#include "draw/music_fonts.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_range.h"
#include "platform/qt_font_catalog.h"
#include "platform/qt_text_measure.h"
#include "tools/command_table.h"
#include "tools/focus_caret.h"
#include "utils/bool_array.h"

namespace kvt {

TScoreEdit::TScoreEdit(QWidget* parent, TMusicScore& score, TUndoActionMgr& undo,
                       TScoreEditHost& host)
    : QAbstractScrollArea(parent),
      score(score),
      undo(undo),
      host(host),
      snapshots(score, undo),
      commands(std::make_unique<TCommandTable>()),
      screens(std::make_unique<TQtScreenContextFactory>()),
      catalog(std::make_unique<TQtFontCatalog>()) {
  setObjectName(QStringLiteral("TKVT2ScoreEdit"));
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // The paint event fills every pixel itself.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setAutoFillBackground(false);
  viewport()->setMouseTracking(true);
  viewport()->setCursor(Qt::PointingHandCursor);
  score.SetZoom(SanitizeZoom(score.GetZoom()));
  MakeFonts();
  MakeCaretObject();
  RestoreEditorState();
  connect(horizontalScrollBar(), &QAbstractSlider::actionTriggered, this,
          [this](int action) { OnHorizontalAction(action); });
  RebuildView(nullptr);
  RegisterScoreEditCommands(*this, *commands);
}

bool TScoreEdit::ExecuteCommand(int id) { return commands->Execute(id); }

bool TScoreEdit::EnableCommand(TCommandEnabler& enabler) const {
  if (!commands->HasHandler(enabler.Id())) return false;
  commands->Enable(enabler);
  return true;
}

TScoreEdit::~TScoreEdit() {
  // The layout refers to the fonts: it goes first.
  drawInfo.reset();
  fonts.reset();
}

int TScoreEdit::ClientWidth() const { return std::max(1, viewport()->width()); }
int TScoreEdit::ClientHeight() const { return std::max(1, viewport()->height()); }
int TScoreEdit::FontSize() const { return fonts->GetMusicEm(0); }

void TScoreEdit::MakeFonts() {
  const TScoreEditOptions& options = host.Options();
  drawInfo.reset();
  fonts = std::make_unique<TMusicFonts>(score.GetFonts(), host.Colors(), score.GetZoom(), *screens,
                                        *catalog);
  fonts->SetShapeOption(options.shapeNoteOption);
  drawInfo =
      std::make_unique<TScoreDrawInfo>(score, *fonts, viewerMode ? kDrawModeView : kDrawModeEdit);
  drawInfo->SetLayering(options.layeringInEditMode);
}

void TScoreEdit::MakeCaretObject() {
  const bool focused = caretObject && caretObject->HasFocus();
  if (caretObject) caretObject->KillFocus();
  const int size = FontSize();
  caretObject = std::make_unique<TFocusCaret>(0, size / 2, fonts->GetGlyphWidth(7) / 4 + 2, size);
  if (focused) caretObject->SetFocus(viewport());
}

void TScoreEdit::ComputeMargins() {
  const TScoreEditOptions& options = host.Options();
  const int size = FontSize();
  labelWidth = drawInfo->GetStaffCount() > 0 ? drawInfo->GetStaffLabelWidth(false, true) : 0;
  leftMargin = labelWidth + size / 2;
  topMargin = static_cast<int>(size * std::clamp(options.topMargin, 0.0, 20.0));
  bottomMargin = static_cast<int>(size * std::clamp(options.bottomMargin, 0.0, 20.0));
}

void TScoreEdit::RestoreEditorState() {
  caret = TEditorCaret{};
  activeStaffIndex = -1;
  const int stored = score.GetActiveStaff();
  const TMusicStaff* staff = score.GetStaff(stored);
  if (!staff) {
    caret.staff = score.GetStaffCount() > 0 ? 0 : -1;
    return;
  }
  caret.staff = stored;
  caret.caretPos = std::clamp(score.GetCaretPos(), kMinCaretPos, kMaxCaretPos);
  const int last = std::max(1, staff->GetLastIndex());
  if (score.GetCaretIndex() > 0) {
    caret.caret = std::min(score.GetCaretIndex(), last);
    const int anchor = score.GetSelectIndex();
    caret.anchor = anchor > 0 ? std::min(anchor, last) : caret.caret;
  }
}

void TScoreEdit::StoreEditorState() {
  score.SetEditorState(caret.staff, caret.caret, caret.anchor, caret.caretPos);
}

void TScoreEdit::UpdateStatus() {
  const TMusicStaff* staff = ActiveStaff();
  TEditorStatusSnapshot now{caret.staff,
                            caret.caret,
                            caret.anchor,
                            caret.caretPos,
                            staff ? staff->GetItemCount() : 0,
                            active,
                            host.IsPlaying(score),
                            host.IsRecording()};
  if (now == lastStatus) return;
  RefreshSelectionSummary();
  const bool moved = now.staff != lastStatus.staff || now.caret != lastStatus.caret ||
                     now.anchor != lastStatus.anchor || now.itemCount != lastStatus.itemCount;
  // While recording or playing the piano bar shows what sounds, not the caret; when that ends
  // the caret's keys come back.
  if (now.recording) {
    if (!lastStatus.recording) host.ClearPianoKeys();
  } else if (now.playing) {
    host.ClearPianoKeys();
  } else if ((moved || lastStatus.playing || lastStatus.recording) && staff) {
    host.ShowPianoKeys(caret.HasSelection()
                           ? NoteKeysOfItems(*staff, caret.SelectionStart(), caret.SelectionEnd())
                           : NoteKeysOfItems(*staff, caret.caret, caret.caret));
  }
  if (now.staff != lastStatus.staff) host.ShowActiveStaff(caret.staff);
  if (staff && !caret.HasSelection()) {
    const TCaretKey at = CaretKeyAt(*staff, caret.caret, caret.caretPos);
    host.SetImpliedAccidental(at.accidental);
    host.SetPianoCaretKey(at.key);
  }
  if (staff) host.ShowCaretPosition(CaretPositionText(score, *staff, caret));
  lastStatus = now;
}

void TScoreEdit::RefreshSelectionSummary() {
  selectionSummary = SummarizeSelection(SelectedRange(*this));
}

int TScoreEdit::ShownStaffCount() const { return drawInfo->GetStaffCount(); }

int TScoreEdit::ActiveScoreStaff() const {
  const TStaffDrawInfo* draw = ActiveDraw();
  return draw ? draw->GetStaffIndex() : -1;
}

TStaffDrawInfo* TScoreEdit::ActiveDraw() const {
  return drawInfo->GetStaffDrawInfo(activeStaffIndex);
}

TMusicStaff* TScoreEdit::ActiveStaff() const {
  const TStaffDrawInfo* draw = ActiveDraw();
  return draw ? draw->GetStaff() : nullptr;
}

void TScoreEdit::LayOutShownStaves() {
  drawInfo->ResetLayout();
  for (int i = 0; i < score.GetStaffCount() && !drawInfo->IsFull(); ++i) {
    if (!score.IsStaffIncluded(i)) continue;
    drawInfo->AddStaff(i);
    drawInfo->Restack();
    // A staff that would pass the height limit is not shown, but one staff always is.
    if (drawInfo->GetStaffCount() > 1 && drawInfo->GetTotalHeight() > kMaxLayoutHeight) {
      drawInfo->ResetLayout();
      for (int k = 0; k < i; ++k)
        if (score.IsStaffIncluded(k) && !drawInfo->IsFull()) drawInfo->AddStaff(k);
      break;
    }
  }
  drawInfo->Restack();
  activeStaffIndex = -1;
  lastSlot = 0;
  for (int i = 0; i < drawInfo->GetStaffCount(); ++i) {
    const TStaffDrawInfo* draw = drawInfo->GetStaffDrawInfo(i);
    if (draw->GetStaffIndex() == caret.staff) activeStaffIndex = i;
    const TMusicStaff* staff = draw->GetStaff();
    lastSlot = std::max<int64_t>(lastSlot, staff->GetDurationBetween(staff->GetLastIndex(), 0, 0));
  }
  if (activeStaffIndex < 0 && drawInfo->GetStaffCount() > 0) {
    activeStaffIndex = 0;
    caret = TEditorCaret{drawInfo->GetStaffDrawInfo(0)->GetStaffIndex(), 1, 1, 0};
  }
  if (TMusicStaff* staff = ActiveStaff()) caret = ClampEditorCaret(caret, staff->GetLastIndex());
  drawInfo->SetActiveStaff(active && !viewerMode ? activeStaffIndex : -1);
}

void TScoreEdit::RebuildView(const TKVBoolArray* shownStaves) {
  if (shownStaves)
    for (int i = 0; i < score.GetStaffCount(); ++i) score.SetStaffIncluded(i, shownStaves->Get(i));
  bool any = false;
  for (int i = 0; i < score.GetStaffCount(); ++i) any |= score.IsStaffIncluded(i);
  if (!any && score.GetStaffCount() > 0) {
    TKVBoolArray group(TMusicScore::MaxScoreStaffs);
    score.FindStaffsByGroup(score.GetStaff(0)->GetGroup(), group);
    for (int i = 0; i < score.GetStaffCount(); ++i) score.SetStaffIncluded(i, group.Get(i));
  }
  hScrollSlot = 0;
  LayOutShownStaves();
  ComputeMargins();
  LayoutWindow();
  UpdateScrollBars();
  ScrollCaretIntoView();
  PlaceCaretObject();
  viewport()->update();
}

void TScoreEdit::RelayoutShown() {
  bool any = false;
  for (int i = 0; i < score.GetStaffCount(); ++i) any |= score.IsStaffIncluded(i);
  if (!any) {
    RebuildView(nullptr);
    return;
  }
  LayOutShownStaves();
  ComputeMargins();
  LayoutWindow();
  UpdateScrollBars();
  PlaceCaretObject();
  viewport()->update();
}

void TScoreEdit::StaffChanged(int scoreStaff, int firstChanged) {
  for (int i = 0; i < drawInfo->GetStaffCount(); ++i) {
    TStaffDrawInfo* draw = drawInfo->GetStaffDrawInfo(i);
    if (draw->GetStaffIndex() == scoreStaff) draw->StaffChanged(std::max(0, firstChanged));
  }
  if (TMusicStaff* staff = ActiveStaff()) caret = ClampEditorCaret(caret, staff->GetLastIndex());
  LayoutWindow();
  UpdateScrollBars();
  PlaceCaretObject();
  viewport()->update();
}

void TScoreEdit::Reformat() {
  score.SetZoom(SanitizeZoom(score.GetZoom()));
  MakeFonts();
  MakeCaretObject();
  RelayoutShown();
  ScrollCaretIntoView();
}

void TScoreEdit::LayoutWindow() {
  if (drawInfo->GetStaffCount() == 0) return;
  TFontsSizingScope sizing(*fonts);
  drawInfo->Restack();
  // Lay out past the right edge by a margin so that the last item shown is whole.
  const int width = ClientWidth() + 4 * FontSize();
  for (int i = 0; i < drawInfo->GetStaffCount(); ++i)
    drawInfo->GetStaffDrawInfo(i)->BuildPositions(hScrollSlot, width);
  drawInfo->AlignStaves();
  UpdateOriginX();
}

void TScoreEdit::UpdateOriginX() {
  const TStaffDrawInfo* first = drawInfo->GetStaffDrawInfo(0);
  if (!first) return;
  if (hScrollSlot <= 0) {
    originX = leftMargin;
    return;
  }
  // The slot at the left edge stands three font sizes in, so what precedes it shows.
  const int n = first->ItemAtTimeSlot(hScrollSlot);
  const int x = n >= 0 ? first->XOfPosition(n) : first->GetTotalWidth();
  originX = 3 * FontSize() - x;
}

void TScoreEdit::SetActive(bool on) {
  if (on == active) return;
  active = on;
  drawInfo->SetActiveStaff(active && !viewerMode ? activeStaffIndex : -1);
  UpdateScrollBars();
  viewport()->update();
}

void TScoreEdit::ToggleViewerMode() {
  viewerMode = !viewerMode;
  Reformat();
}

bool TScoreEdit::CanEdit() const {
  if (!active) return false;
  return !host.IsPlaying(score) || !(host.FollowsPlayback() || host.IsRecording());
}

void TScoreEdit::ShowStaff(int scoreStaff) {
  if (!score.GetStaff(scoreStaff)) return;
  int index = -1;
  for (int i = 0; i < drawInfo->GetStaffCount(); ++i)
    if (drawInfo->GetStaffDrawInfo(i)->GetStaffIndex() == scoreStaff) index = i;
  if (index < 0) {
    TKVBoolArray alone(TMusicScore::MaxScoreStaffs);
    alone.Set(scoreStaff, true);
    caret = TEditorCaret{scoreStaff, 1, 1, 0};
    RebuildView(&alone);
    index = activeStaffIndex;
  }
  SetActiveStaff(index, true);
}

// --- zoom ---

bool TScoreEdit::ApplyZoom(int command, int value) {
  const int old = score.GetZoom();
  const int zoom = LimitZoom(value, old);
  if (zoom == old) return false;
  const bool pushed = snapshots.SaveUndoState(kUndoScore, command, 0, caret);
  score.SetZoom(zoom);
  if (pushed) snapshots.EndUndoState();
  Reformat();
  return true;
}

bool TScoreEdit::ZoomIn() { return ApplyZoom(kCmdZoomIn, score.GetZoom() + kZoomStep); }
bool TScoreEdit::ZoomOut() { return ApplyZoom(kCmdZoomOut, score.GetZoom() - kZoomStep); }

bool TScoreEdit::RunZoomDialog() {
  // A new score's zoom is the music font's normal size on the screen: 100 %.
  TZoomDialog dialog(this, score.GetZoom(), kNormalZoom);
  if (dialog.exec() != QDialog::Accepted) return false;
  return ApplyZoom(kCmdZoomDialog, dialog.ChosenZoom());
}

// --- undo ---

bool TScoreEdit::SaveUndoState(int kind, int command, int extra) {
  return snapshots.SaveUndoState(kind, command, extra, caret);
}

void TScoreEdit::EndUndoState(int addedStaff) { snapshots.EndUndoState(addedStaff); }
void TScoreEdit::CancelUndoState() { snapshots.CancelUndoState(); }

bool TScoreEdit::Undo() { return FollowApplied(snapshots.Undo(caret)); }
bool TScoreEdit::Redo() { return FollowApplied(snapshots.Redo(caret)); }

bool TScoreEdit::FollowApplied(const TUndoApplyResult& result) {
  if (!result.applied) return false;
  const int64_t slot = hScrollSlot;
  if (result.caret.staff >= 0 && score.GetStaff(result.caret.staff)) {
    caret = result.caret;
    score.SetStaffIncluded(caret.staff, true);
  }
  if (result.scoreChanged) {
    Reformat();
  } else {
    RelayoutShown();
  }
  if (result.restoreScroll) {
    hScrollSlot = slot;
    LayoutWindow();
    UpdateScrollBars();
  }
  ScrollCaretIntoView();
  PlaceCaretObject();
  viewport()->update();
  return true;
}

}  // namespace kvt
