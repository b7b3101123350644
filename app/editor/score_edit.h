#pragma once
// TScoreEdit: the editing view inside a score window. It shows the score's shown staves laid out
// one above another as one long horizontal strip, with one active staff that holds the caret
// and the selection; it owns the music fonts and the layout of the shown staves, keeps the
// caret (an item index and a vertical staff position), the selection anchor and the scroll
// position, paints the staves with the active band, the selection (inverted), the crosshair and
// the play highlight, scrolls, zooms and moves the caret from the keyboard, the mouse and the
// scroll bars. Editing commands are built on it elsewhere: they call SaveUndoState before they
// change the score, EndUndoState after, and RelayoutShown (or StaffChanged) to show the result.
//
// Layout: the strip is laid out from the time slot at the left edge (hScrollSlot, in ticks)
// across the window's width, so the cost of a paint or a scroll does not grow with the score.
//
// Contract:
// - The score, the undo manager and the host are not owned and must outlive the view.
// - The view never leaves its caret outside the active staff: caret and anchor are 1 .. the
//   staff's last index, caretPos -100..100, and a stored editor state that says otherwise
//   (a file saved with another staff length) is limited, never trusted.
// - The score's zoom is kept valid (even, 2..200) by every path that sets it.
// - UI thread only.

#include <QAbstractScrollArea>
#include <memory>
#include <vector>

#include "app/editor/drag_scroll_pacer.h"
#include "app/editor/editor_caret.h"
#include "app/editor/editor_status.h"
#include "app/editor/insertion_state.h"
#include "app/editor/undo_snapshot.h"

class QPainter;
class QTimer;

namespace kvt {

class TCommandEnabler;
class TCommandTable;
class TFocusCaret;
class TMusicFonts;
class TMusicScore;
class TMusicStaff;
class TNotatedItem;
class TScoreDrawInfo;
class TScoreEditHost;
class TStaffDrawInfo;
class TUndoActionMgr;
class TKVBoolArray;
class TScreenContextFactory;
class IFontCatalog;

class TScoreEdit : public QAbstractScrollArea {
public:
  // Layout limits of the shown set.
  static constexpr int kMaxShownStaves = 64;
  static constexpr int kMaxLayoutHeight = 25000;

  TScoreEdit(QWidget* parent, TMusicScore& score, TUndoActionMgr& undo, TScoreEditHost& host);
  ~TScoreEdit() override;

  TMusicScore& Score() const { return score; }
  TScoreEditHost& Host() const { return host; }
  TUndoActionMgr& UndoManager() const { return undo; }

  // --- commands ---
  // The view's command table: the editing commands' handlers and enablers. Menus, toolbars,
  // keys and tests run the commands by id through it.
  TCommandTable& Commands() const { return *commands; }
  // Runs the command when it is the view's and enabled now; false otherwise.
  bool ExecuteCommand(int id);
  // Fills the enabler when the id is one of the view's commands and answers true; false
  // (the enabler untouched) for other ids.
  bool EnableCommand(TCommandEnabler& enabler) const;

  // --- activation and modes ---
  void SetActive(bool active);
  bool IsActive() const { return active; }
  bool IsViewerMode() const { return viewerMode; }
  void ToggleViewerMode();
  // Active and not following playback of this score or recording.
  bool CanEdit() const;

  // --- the shown staves ---
  // Replaces the score's shown set when one is given (bit per score staff); no shown staff:
  // those of the first staff's group. Lays them out and scrolls the active staff into view.
  void RebuildView(const TKVBoolArray* shownStaves);
  // Lays out the shown set again (after an edit).
  void RelayoutShown();
  // A staff's items from firstChanged on changed: lays the window out again with the places
  // before them kept (cheaper than RelayoutShown after an edit of one staff).
  void StaffChanged(int scoreStaff, int firstChanged);
  // After a settings or zoom change: new fonts at the score's zoom, caret and margins.
  void Reformat();
  // Shows the score staff (alone when it is not shown) and makes it active.
  void ShowStaff(int scoreStaff);
  // Makes the laid-out staff `index` active (limited to the shown staves).
  void SetActiveStaff(int index, bool scroll);
  int ActiveStaffIndex() const { return activeStaffIndex; }
  int ShownStaffCount() const;
  // The score staff of the active staff; -1 without one.
  int ActiveScoreStaff() const;

  // --- caret and selection ---
  const TEditorCaret& Caret() const { return caret; }
  void SetCaretIndex(int index, bool extend);
  void MoveCaretBy(int delta, bool extend);
  void SetCaretToTimeSlot(int64_t slot);
  void SetCaretFromPoint(int x, int y, bool extend);
  void MoveCaretVertically(int delta, bool keepSelection);
  bool HasSelection() const { return caret.HasSelection(); }
  // Writes the caret record into the score (saved with the file).
  void StoreEditorState();

  // From the application's idle step: refreshes the status bar's position and active staff
  // when the editor's state changed since the last call.
  void UpdateStatus();

  // --- geometry (viewport coordinates) ---
  int ItemIndexFromX(int x) const;
  // The laid-out staff at y; with preferActive a y inside the active band answers it. -1 none.
  int StaffFromY(int y, bool preferActive) const;
  QRect StaffRect(int index) const;
  QPoint CaretPoint() const;

  // --- scrolling ---
  int64_t HScrollSlot() const { return hScrollSlot; }
  void ScrollToSlot(int64_t slot);
  void ScrollVertically(int dy);
  void ScrollCaretIntoView();
  void EnsureItemVisible(int index);
  int OriginX() const { return originX; }
  int ScrollY() const { return scrollY; }

  // --- zoom (commands 48, 49, 50) ---
  // Sets the score's zoom to LimitZoom(value); when it changed, pushes an undo entry of kind 6
  // with the command and reformats. False when nothing changed.
  bool ApplyZoom(int command, int value);
  bool ZoomIn();
  bool ZoomOut();
  // Command 50: the "Editor Zoom" dialog, then ApplyZoom with its answer.
  bool RunZoomDialog();

  // --- inserting and deleting at the caret ---
  // Inserts the item at the caret (replacing the selection) after an undo entry of kind 1 for
  // the command; caret and anchor then stand after it. A full staff gets "Staff Capacity
  // Test" and no change. False when nothing was inserted (the item is dropped).
  bool InsertItem(std::unique_ptr<TNotatedItem> item, int command);
  // Inserts the items at the caret (replacing the selection) after an undo entry of the kind
  // and command, all or none: without room for every one, "Staff Capacity Test" and no change.
  // They are audited together and the window laid out again; caret and anchor stand before
  // them. The undo entry is left open: the caller ends (or cancels) it. Answers the index of
  // the first item, -1 when nothing went in.
  int InsertItemsAtCaret(std::vector<std::unique_ptr<TNotatedItem>> items, int kind, int command);
  // Whether the active staff has room for `count` new items once the selection is gone.
  bool HasRoomFor(int count) const;
  // "Staff Capacity Test": the active staff lacks room for the edit.
  void ReportStaffFull();
  // Inside an edit whose undo entry is written: deletes the selected items (auditing around
  // them) and collapses caret and anchor to where they stood; answers the caret's index.
  int DeleteSelectionForEdit();
  // The active staff's items (null without an active staff).
  TMusicStaff* ActiveStaff() const;

  // --- note entry and note tools ---
  // What the selected items offer and share; refreshed with the status and after each edit of
  // the selection (the enablers of the note tools read it).
  const TSelectionSummary& SelectionSummary() const { return selectionSummary; }
  void RefreshSelectionSummary();

  // --- undo ---
  bool SaveUndoState(int kind, int command, int extra = 0);
  void EndUndoState(int addedStaff = -1);
  void CancelUndoState();
  // Apply the next entry and show the result; false when none was applied.
  bool Undo();
  bool Redo();

  // The fonts and layout, for the window's panes and for tests.
  TMusicFonts& Fonts() const { return *fonts; }
  TScoreDrawInfo& Layout() const { return *drawInfo; }
  TFocusCaret& CaretObject() const { return *caretObject; }
  int LeftMargin() const { return leftMargin; }
  int TopMargin() const { return topMargin; }

protected:
  // Keys the view handles win over menu shortcuts (QEvent::ShortcutOverride accepted).
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  // Shift or Ctrl pressed or released changes the cursor under a still mouse.
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

private:
  // Keys: the accelerator tables first ("EditMenu", then the application's); true when the key
  // was a table's.
  bool RunKeyCommand(int key, Qt::KeyboardModifiers modifiers, const QString& text);
  static bool IsNavigationKey(int key);

  // The shown staves into the layout (at most 64, until 25000 height units) and the active
  // staff found among them.
  void LayOutShownStaves();
  void MakeFonts();
  void MakeCaretObject();
  void ComputeMargins();
  void RestoreEditorState();
  // Lays out the shown staves from hScrollSlot across the window and places the origin.
  void LayoutWindow();
  void UpdateOriginX();
  void UpdateScrollBars();
  void PlaceCaretObject();
  // The cross (Ctrl) or hand over the active staff, the arrow elsewhere.
  void SetCursorFor(QPoint at, bool ctrl);
  void RefreshCursor(bool ctrl);
  TStaffDrawInfo* ActiveDraw() const;
  int CaretX() const;
  int ContentHeight() const;
  int FontSize() const;
  // The next time step from the slot in a direction (the next or previous position's time).
  int64_t StepSlot(int64_t slot, int direction) const;
  void OnHorizontalAction(int action);
  bool FollowApplied(const TUndoApplyResult& result);
  int ClientWidth() const;
  int ClientHeight() const;
  int YOffset() const { return scrollY + topMargin; }

  void PaintActiveBand(QPainter& p, const QRect& clip);
  void PaintSelection(QPainter& p);
  void PaintCrosshair(QPainter& p);
  void PaintPlayHighlight(QPainter& p);

  TMusicScore& score;
  TUndoActionMgr& undo;
  TScoreEditHost& host;
  TScoreUndo snapshots;
  std::unique_ptr<TCommandTable> commands;
  std::unique_ptr<TScreenContextFactory> screens;
  std::unique_ptr<IFontCatalog> catalog;
  std::unique_ptr<TMusicFonts> fonts;
  std::unique_ptr<TScoreDrawInfo> drawInfo;
  std::unique_ptr<TFocusCaret> caretObject;

  bool active = false;
  bool viewerMode = false;
  bool holdScroll = false;
  int64_t hScrollSlot = 0;
  int activeStaffIndex = -1;
  TEditorCaret caret;
  int originX = 0;
  int scrollY = 0;
  int leftMargin = 0;
  int topMargin = 0;
  int bottomMargin = 0;
  int labelWidth = 0;
  bool settingScrollBars = false;
  TEditorStatusSnapshot lastStatus;
  // Ticks of the longest shown staff: the horizontal scroll range.
  int64_t lastSlot = 0;
  TSelectionSummary selectionSummary;

  // --- mouse and context menus (score_edit_mouse.cpp, context_popup.h) ---
public:
  // A viewport point in the laid-out staves' coordinates (what TStaffDrawInfo measures in).
  QPoint ViewportToLayout(QPoint at) const { return {at.x() - originX, at.y() - YOffset()}; }
  // A left drag (button held since a press in the view) is in progress.
  bool IsLeftDragging() const { return leftDrag; }
  bool IsPanning() const { return panning; }
  bool HoldsScroll() const { return holdScroll; }
  // The edge timer of a drag (object name "dragScrollTimer"); the direction it steps, 0 none.
  int DragScrollDirection() const;
  // The mouse capture ended without a release (the view lost the focus or its window): the
  // drag and the pan end and scrolling is free again.
  void MouseCaptureLost();

protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

private:
  // The left drag to a point, its edge timer's tick, the middle-button pan.
  void DragTo(QPoint at);
  void OnDragTimer();
  void StopDragScroll();
  void PanTo(QPoint at);

  bool leftDrag = false;
  bool panning = false;
  QPoint panFrom;
  QTimer* dragTimer = nullptr;
  int dragDirection = 0;
  TDragScrollPacer dragPacer;
};

}  // namespace kvt
