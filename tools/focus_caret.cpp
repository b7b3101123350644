#include "tools/focus_caret.h"

#include "utils/precondition.h"

#include <QPainter>

namespace kvt {

TFocusCaret::TFocusCaret(int originX, int originY, int width, int height)
    : width(width), height(height), originX(originX), originY(originY) {}

void TFocusCaret::SetFocus(QWidget* window) {
  if (owner != nullptr || window == nullptr) return;
  owner = window;
  InFocus();
  Show();
}

void TFocusCaret::KillFocus() {
  if (owner == nullptr) return;
  Hide();
  created = false;
  if (drawn.isValid()) owner->update(drawn);
  drawn = QRect();
  owner = nullptr;
}

void TFocusCaret::InFocus() {
  if (owner == nullptr) ThrowPrecondition("InFocus()", __FILE__, __LINE__);
  created = true;
  Place();
}

void TFocusCaret::Show() {
  if (hideCount > 0) --hideCount;
  if (hideCount == 0 && owner != nullptr) Place();
}

void TFocusCaret::Hide() {
  if (owner != nullptr && hideCount == 0 && drawn.isValid()) {
    owner->update(drawn);
    drawn = QRect();
  }
  ++hideCount;
}

void TFocusCaret::SetShape(int newOriginX, int newOriginY, int newWidth, int newHeight) {
  QWidget* had = owner;
  if (had != nullptr) KillFocus();
  originX = newOriginX;
  originY = newOriginY;
  width = newWidth;
  height = newHeight;
  if (had != nullptr) SetFocus(had);
}

void TFocusCaret::SetPos(int newX, int newY) {
  x = newX;
  y = newY;
  Place();
}

void TFocusCaret::Place() {
  // Moving a hidden caret only stores the position; the next Show places it.
  if (!IsShown()) return;
  const QRect now = CaretRect();
  if (drawn.isValid()) owner->update(drawn);
  owner->update(now);
  drawn = now;
}

void TFocusCaret::Paint(QPainter& painter) const {
  if (!IsShown()) return;
  painter.save();
  painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
  painter.fillRect(CaretRect(), Qt::white);
  painter.restore();
}

}  // namespace kvt
