#include "tools/toolbar_drag.h"

#include "tools/toolbar.h"
#include "tools/toolbar_frame.h"
#include "tools/toolbar_list.h"

#include <QApplication>
#include <QMainWindow>
#include <QRubberBand>
#include <QStatusBar>

namespace kvt {

TToolbarDrag::TToolbarDrag(TToolbar& toolbar, const QPoint& globalStart, bool ctrlHeld)
    : toolbar(toolbar), last(globalStart) {
  QMainWindow& frame = toolbar.List().Frame();
  areas.outer = toolbar.List().FrameScreenRect();
  QWidget* central = frame.centralWidget();
  areas.inner =
      central != nullptr ? QRect(central->mapToGlobal(QPoint(0, 0)), central->size()) : areas.outer;
  areas.horizontalSize = toolbar.DockedSize(true);
  areas.verticalSize = toolbar.DockedSize(false);
  areas.floatingSize = toolbar.FloatingSize();
  areas.allowed = toolbar.AllowedPositions();

  QWidget& shown = toolbar.Frame() != nullptr ? static_cast<QWidget&>(*toolbar.Frame())
                                              : static_cast<QWidget&>(toolbar);
  moved = QRect(shown.mapToGlobal(QPoint(0, 0)), shown.frameGeometry().size());
  target = {static_cast<uint16_t>(toolbar.IsFloating() ? 0 : toolbar.Style() & TBRS_ALIGN_ANY),
            moved};

  toolbar.grabMouse(Qt::SizeAllCursor);
  toolbar.grabKeyboard();
  if (QStatusBar* bar = toolbar.List().StatusBar())
    bar->showMessage(QString::fromUtf8(kPreventDockingText));
  outline = std::make_unique<QRubberBand>(QRubberBand::Rectangle);
  outline->setGeometry(moved);
  outline->show();
  Move(globalStart, ctrlHeld);
}

TToolbarDrag::~TToolbarDrag() {
  if (QStatusBar* bar = toolbar.List().StatusBar()) bar->clearMessage();
  toolbar.releaseKeyboard();
  toolbar.releaseMouse();
}

void TToolbarDrag::Move(const QPoint& globalPos, bool ctrlHeld) {
  moved.translate(globalPos - last);
  last = globalPos;
  target = ChooseDragTarget(areas, moved, globalPos, ctrlHeld);
  outline->setGeometry(target.outline);
}

void TToolbarDrag::Drop() {
  outline->hide();
  uint16_t style = toolbar.Style();
  if (target.edge == 0) {
    // Without floating allowed, a drop that docks nowhere leaves the toolbar where it was.
    if ((toolbar.AllowedPositions() & TBRS_FLOATING) == 0) return;
    toolbar.SetFloatPosition(target.outline.topLeft());
    style |= TBRS_FLOATING;
  } else {
    toolbar.SetDockedPosition(toolbar.List().Frame().mapFromGlobal(target.outline.topLeft()));
    style = static_cast<uint16_t>((style & ~(TBRS_ALIGN_ANY | TBRS_FLOATING)) | target.edge);
  }
  toolbar.SetStyle(style, false);
}

}  // namespace kvt
