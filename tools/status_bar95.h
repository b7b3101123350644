#pragma once
// TStatusBar95: the frame's status bar: flat, with a three-dimensional top edge, the frame's
// size grip in its bottom-right corner (shown only while the frame is not maximised; dragging
// it resizes the frame), and a text entry that splits a hint into its status text and its
// tooltip text. Gadgets added later stand before the grip.

#include <QStatusBar>
#include <QString>

namespace kvt {

inline constexpr int kStatusTextLimit = 199;

class TStatusBar95 : public QStatusBar {
public:
  explicit TStatusBar95(QWidget* parent = nullptr);

  // Adds a gadget at the end, before the size grip.
  void Insert(QWidget* gadget, int stretch = 0);

  // Shows a hint "status text\ntooltip text" (at most 199 characters; without a line feed
  // both parts are the whole text). While a tooltip shows, the tooltip gets the tooltip text
  // and the bar keeps its message; otherwise the bar shows the status text. An empty text
  // hides the tooltip and clears the message.
  void SetText(const QString& text);

  // The two parts of a hint, as SetText splits it.
  static QString StatusPart(const QString& hint);
  static QString TooltipPart(const QString& hint);

protected:
  void paintEvent(QPaintEvent* event) override;
};

// A gap between status-bar gadgets: (a + b + 2) border widths wide, with an etched vertical
// edge (a + 2) border widths from its start.
class TKVStatusSeparatorGadget : public QWidget {
public:
  TKVStatusSeparatorGadget(int a, int b, QWidget* parent = nullptr);
  QSize sizeHint() const override;
  int EdgeX() const { return a + 2; }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  int a, b;
};

}  // namespace kvt
