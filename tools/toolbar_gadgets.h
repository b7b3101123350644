#pragma once
// TToolbarGadgets: the gadget window inside a toolbar. It owns the buttons and separators in
// their order and places them by the gadget flow for the toolbar's style and the number of rows
// wanted; gadgets that take no part are moved out of sight.

#include "tools/toolbar_flow.h"

#include <QWidget>

#include <cstdint>
#include <vector>

namespace kvt {

class TToolbarGadgets : public QWidget {
public:
  explicit TToolbarGadgets(QWidget* parent = nullptr);

  // Takes the gadget (a TToolbarButtonGadget, a TKVToolbarSeparatorGadget or any widget) as
  // the last one.
  void Add(QWidget* gadget);
  const std::vector<QWidget*>& Gadgets() const { return gadgets; }

  // With it off, disabled gadgets other than separators take no room.
  void SetShowDisabled(bool on);
  bool ShowDisabled() const { return showDisabled; }

  // The flow inputs of the gadgets as they are now.
  std::vector<TFlowGadget> FlowInput() const;
  // Places the gadgets for style and rows; the window takes the flow's size.
  void Place(uint16_t style, int rowsWanted);

  QSize sizeHint() const override { return placedSize; }
  QSize minimumSizeHint() const override { return placedSize; }

protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  std::vector<QWidget*> gadgets;
  bool showDisabled = true;
  uint16_t style = 0x2000;
  int rowsWanted = 1;
  QSize placedSize;
  bool placing = false;
};

}  // namespace kvt
