#pragma once
// The two side panes of a score window: the staff-label pane on the left (background: staff
// colour 1 "Staff Label Panel") with the labels of the shown staves and a mark beside the
// active staff, and the bar-number pane on top (staff colour 3 "Active Background") with the
// bar numbers of the active staff and a mark at the caret. They draw from the window's editing
// view, in its vertical and horizontal coordinates (a pane lines up with the view's edge, the
// view's drawing area lies inside its frame); without a view they show their background.

#include <QWidget>

namespace kvt {

class TScoreEdit;
class TStaffColorHandles;

class TStaffLabelsWindow final : public QWidget {
public:
  // colors: the application's table; it outlives the pane.
  TStaffLabelsWindow(const TStaffColorHandles& colors, QWidget* parent);
  // The view drawn from (null: none); it must outlive its use here.
  void SetView(TScoreEdit* newView) { view = newView; }
  void SetShowLabels(bool on) { showLabels = on; }

protected:
  void paintEvent(QPaintEvent* event) override;
  // A left click makes the staff under the mouse active.
  void mousePressEvent(QMouseEvent* event) override;
  // Over a new staff: its tooltip (staff_label_tooltip.h); the cursor tells the active staff
  // (a pointing hand) and a staff layered with the next (a split cursor) from the others.
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;

private:
  const TStaffColorHandles& colors;
  TScoreEdit* view = nullptr;
  bool showLabels = true;
  int tipStaff = -1;  // the laid-out staff whose tooltip shows; -1 none
};

class TBarNumbersPanel final : public QWidget {
public:
  TBarNumbersPanel(const TStaffColorHandles& colors, QWidget* parent);
  void SetView(TScoreEdit* newView) { view = newView; }

protected:
  void paintEvent(QPaintEvent* event) override;
  // A left click moves the caret to the clicked place on the active staff.
  void mousePressEvent(QMouseEvent* event) override;

private:
  const TStaffColorHandles& colors;
  TScoreEdit* view = nullptr;
};

}  // namespace kvt
