#pragma once
// The two side panes of a score window: the staff-label pane on the left (background: staff
// colour 1 "Staff Label Panel") and the bar-number pane on top (staff colour 3 "Active
// Background"). They draw from the window's editing view; without one they show their
// background only.

#include <QWidget>

namespace kvt {

class TStaffColorHandles;

class TStaffLabelsWindow final : public QWidget {
public:
  // colors: the application's table; it outlives the pane.
  TStaffLabelsWindow(const TStaffColorHandles& colors, QWidget* parent);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  const TStaffColorHandles& colors;
};

class TBarNumbersPanel final : public QWidget {
public:
  TBarNumbersPanel(const TStaffColorHandles& colors, QWidget* parent);

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  const TStaffColorHandles& colors;
};

}  // namespace kvt
