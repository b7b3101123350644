#pragma once
// TToolbar: a toolbar that docks at any edge of the frame, floats in its own small frame or
// hides, and keeps its place across runs. It is a QToolBar in the main window's toolbar areas
// while docked; dragging it (ours, with an outline) docks or floats it, Ctrl preventing
// docking; double-clicking its background switches between docked and floating.
//
// Toolbars are made by TToolbarList::Add, which owns their order and command ids; the main
// window owns the widget. The place is saved as a record (toolbar_record.h) under the title in
// the settings section "Toolbars" when the toolbar is destroyed, and read when it is made.

#include "tools/toolbar_flow.h"
#include "tools/toolbar_frame.h"
#include "tools/toolbar_record.h"

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QToolBar>

#include <cstdint>
#include <memory>
#include <vector>

namespace kvt {

class TDockStation;
class TToolbarButtonGadget;
class TToolbarDrag;
class TToolbarGadgets;
class TToolbarList;

inline constexpr uint16_t kDefaultAllowedPositions = 0xF010;
inline constexpr int kBorderUnit = 2;

class TToolbar : public QToolBar {
public:
  ~TToolbar() override;

  const QString& Title() const { return title; }
  uint16_t Style() const { return style; }
  bool IsVertical() const { return vertical; }
  bool IsFloating() const { return (style & TBRS_FLOATING) != 0 && !IsHidden(); }
  bool IsHidden() const { return (style & TBRS_HIDDEN) != 0; }
  int32_t CommandId() const { return commandId; }
  int ButtonSize() const { return buttonSize; }
  uint16_t AllowedPositions() const { return allowed; }
  void SetAllowedPositions(uint16_t positions) { allowed = positions; }
  int DockIndex() const { return dockIndex; }
  bool RowStart() const { return rowStart; }
  QPoint FloatPosition() const { return floatPos; }
  QPoint DockedPosition() const { return dockedPos; }
  TToolbarFrame* Frame() const { return frame; }
  TToolbarList& List() const { return list; }
  TToolbarGadgets& Gadgets() const { return *gadgets; }

  // Applies a new style word: moves the toolbar between its station, its floating frame and
  // hidden. With capture, a visible toolbar first records where it is. Precondition: the style
  // holds an edge bit ("(newStyle & TBRS_ALIGN_ANY)!=0"); of several, one is kept.
  void SetStyle(uint16_t newStyle, bool capture);
  // Hides it, makes the candidate floating layouts again, lays the gadgets out, shows it again.
  void Relayout();
  // Sizes below 6 become 6, above 120 become 120; buttons drop their glyphs and relayout.
  void SetButtonSize(int pixels);
  // Chooses a floating layout (clamped to the last one) and resizes the floating frame.
  void SetFloatLayout(int index);
  int FloatLayoutIndex() const { return layoutIndex; }
  const std::vector<TFloatLayout>& FloatLayouts() const { return layouts; }

  // Adds a gadget as the last one; buttons get the toolbar's button size and hint path.
  void AddGadget(QWidget* gadget);
  // The button with that command id, or null.
  TToolbarButtonGadget* FindButton(int32_t commandId) const;

  // The saved record as it stands now, and taking one in.
  TToolbarRecord Record() const;
  void ApplyRecord(const TToolbarRecord& record);

  // Set by the station and the list.
  void SetRowStart(bool on) { rowStart = on; }
  void SetDockIndex(int index) { dockIndex = index; }
  void SetCommandId(int32_t id) { commandId = id; }
  void SetFloatPosition(const QPoint& p) { floatPos = p; }
  void SetDockedPosition(const QPoint& p) { dockedPos = p; }

  // The size of the toolbar docked horizontally and vertically, and floating in its layout.
  QSize DockedSize(bool horizontal) const;
  QSize FloatingSize() const;

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  friend class TToolbarList;
  TToolbar(TToolbarList& list, const QString& title, uint16_t style, bool rowStart);

  void Place();
  TDockStation* CurrentStation() const;
  void SaveRecord();

  TToolbarList& list;
  QString title;
  uint16_t style;
  uint16_t allowed = kDefaultAllowedPositions;
  bool vertical = false;
  int32_t commandId = 0;
  int buttonSize = kDefaultButtonSize;
  int dockIndex = 0;
  bool rowStart;
  QPoint dockedPos{-1, -1};  // main window coordinates; (-1, -1) for none
  QPoint floatPos{10, 10};   // screen; (-1, -1): where the toolbar is now
  std::vector<TFloatLayout> layouts;
  int layoutIndex = 0;
  QPointer<TToolbarFrame> frame;
  TToolbarGadgets* gadgets;
  std::unique_ptr<TToolbarDrag> drag;
};

}  // namespace kvt
