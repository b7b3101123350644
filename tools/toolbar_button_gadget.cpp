#include "tools/toolbar_button_gadget.h"

#include "tools/command_table.h"
#include "tools/kv_app_base.h"
#include "tools/system_colors.h"
#include "tools/ui_border.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <QToolTip>

#include <algorithm>
#include <vector>

namespace kvt {

namespace {

// The gadgets of the button's window around it, in their order there.
std::vector<TToolbarButtonGadget*> ExclusiveGroup(TToolbarButtonGadget& button) {
  std::vector<TToolbarButtonGadget*> group;
  QWidget* parent = button.parentWidget();
  if (parent == nullptr) return {&button};
  bool passed = false;
  for (QObject* child : parent->children()) {
    auto* gadget = qobject_cast<QWidget*>(child);
    if (gadget == nullptr) continue;
    auto* other = dynamic_cast<TToolbarButtonGadget*>(gadget);
    if (other == nullptr || other->Type() != TToolbarButtonGadget::Exclusive) {
      if (passed) break;
      group.clear();  // the run before ours ended
      continue;
    }
    group.push_back(other);
    if (other == &button) passed = true;
  }
  return group;
}

// The embossed look of a disabled glyph: its non-face pixels as a mask, drawn in the highlight
// colour one pixel right and down, then in the shadow colour. The mask is as large as the
// glyph, so a glyph of any size keeps its whole shape.
QImage Embossed(const QImage& glyph, const TSystemColors& colors) {
  QImage mask(glyph.size(), QImage::Format_ARGB32_Premultiplied);
  mask.fill(Qt::transparent);
  const QRgb face = colors.btnFace.rgb();
  for (int y = 0; y < glyph.height(); ++y)
    for (int x = 0; x < glyph.width(); ++x) {
      const QRgb p = glyph.pixel(x, y);
      if (qAlpha(p) > 0 && (p & 0xFFFFFF) != (face & 0xFFFFFF)) mask.setPixel(x, y, 0xFF000000);
    }
  auto tinted = [&](const QColor& color) {
    QImage t = mask;
    QPainter p(&t);
    p.setCompositionMode(QPainter::CompositionMode_SourceIn);
    p.fillRect(t.rect(), color);
    return t;
  };
  QImage cell(glyph.size(), QImage::Format_ARGB32_Premultiplied);
  cell.fill(Qt::transparent);
  QPainter p(&cell);
  p.drawImage(1, 1, tinted(colors.btnHighlight));
  p.drawImage(0, 0, tinted(colors.btnShadow));
  return cell;
}

QImage OverDither(const QImage& glyph, const TSystemColors& colors) {
  QImage cell(glyph.size(), QImage::Format_ARGB32_Premultiplied);
  QPainter p(&cell);
  p.fillRect(cell.rect(), colors.btnFace);
  p.fillRect(cell.rect(), QBrush(colors.btnHighlight, Qt::Dense4Pattern));
  p.drawImage(0, 0, glyph);
  return cell;
}

}  // namespace

TToolbarButtonGadget::TToolbarButtonGadget(const TGlyphResource& glyph, int32_t commandId,
                                           TType type, bool enabled, int state, TGlyphLoader loader,
                                           QWidget* parent)
    : QWidget(parent),
      glyphResource(glyph),
      commandId(commandId),
      type(type),
      state(state),
      loader(std::move(loader)) {
  setEnabled(enabled);
  setMouseTracking(true);
  setAttribute(Qt::WA_Hover, false);
}

TCommandTable& TToolbarButtonGadget::Table() const {
  if (target != nullptr) return *target;
  return GetKVAppBase()->Commands();
}

void TToolbarButtonGadget::SetState(int newState) {
  if (newState == state) return;
  if (type == Exclusive && newState == kChecked)
    for (TToolbarButtonGadget* other : ExclusiveGroup(*this))
      if (other != this && other->state == kChecked) {
        other->state = kUnchecked;
        other->update();
      }
  state = newState;
  repaint();
}

void TToolbarButtonGadget::SetGlyph(const TGlyphResource& glyph) {
  if (glyph == glyphResource) return;
  glyphResource = glyph;
  pictureLoaded = false;
  DropGlyph();
  updateGeometry();
  update();
}

void TToolbarButtonGadget::SetButtonSize(int pixels) {
  if (pixels == buttonSize) return;
  buttonSize = pixels;
  DropGlyph();
  updateGeometry();
}

void TToolbarButtonGadget::DropGlyph() {
  for (QImage& cell : cells) cell = QImage();
}

void TToolbarButtonGadget::LoadPicture() {
  if (pictureLoaded) return;
  pictureLoaded = true;
  picture = loader ? loader(glyphResource) : QImage();
  // Glyphs can be the user's own pictures: refuse what no button could show.
  if (picture.width() > kMaxGlyphPicture || picture.height() > kMaxGlyphPicture) picture = QImage();
}

QSize TToolbarButtonGadget::GlyphSize() const {
  const_cast<TToolbarButtonGadget*>(this)->LoadPicture();
  if (picture.isNull()) return {std::max(buttonSize, 2), std::max(buttonSize, 2)};
  const int height = std::max(buttonSize > 0 ? buttonSize : picture.height(), 2);
  const int width = std::max(
      static_cast<int>(static_cast<int64_t>(picture.width()) * height / picture.height()), 2);
  return {width, height};
}

void TToolbarButtonGadget::BuildCells() {
  LoadPicture();
  const QSize size = GlyphSize();
  if (picture.isNull()) return;
  const TSystemColors colors = TSystemColors::FromPalette(palette());
  const QImage scaled = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                            .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  cells[0] = scaled;
  cells[1] = Embossed(scaled, colors);
  cells[2] = OverDither(scaled, colors);
  cells[3] = OverDither(scaled, colors);
}

const QImage& TToolbarButtonGadget::Cell(int index) {
  if (cells[0].isNull() || cells[0].size() != GlyphSize()) BuildCells();
  return cells[std::clamp(index, 0, 3)];
}

int TToolbarButtonGadget::CurrentCell() const {
  if (!isEnabled()) return 1;
  if (state == kIndeterminate) return 2;
  if (state == kChecked && !hot) return 3;
  return 0;
}

QSize TToolbarButtonGadget::sizeHint() const { return GlyphSize() + QSize(4, 4); }

void TToolbarButtonGadget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const TSystemColors colors = TSystemColors::FromPalette(palette());
  painter.fillRect(rect(), colors.btnFace);
  if ((hot && isEnabled()) || state == kChecked) {
    const bool sunken = pressed || state == kChecked;
    TUIBorder::FromEdges(rect(), sunken ? TUIBorder::SunkenOuter : TUIBorder::RaisedOuter, 0)
        .Paint(painter, colors);
  }
  const QImage& cell = Cell(CurrentCell());
  if (!cell.isNull()) {
    QPoint at((width() - cell.width()) / 2, (height() - cell.height()) / 2);
    if (pressed) at += QPoint(1, 1);
    painter.drawImage(at, cell);
  }
  if (type == DropDown && isEnabled()) {
    const int size = height() / 6 + 3;
    const QColor color = hot || pressed || state == kChecked ? colors.btnText : colors.btnShadow;
    const int right = width() - 2, bottom = height() - 2;
    QPolygon triangle;
    triangle << QPoint(right - size, bottom - size / 2) << QPoint(right, bottom - size / 2)
             << QPoint(right - size / 2, bottom);
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawPolygon(triangle);
  }
}

void TToolbarButtonGadget::BeginPressed() {
  pressed = true;
  repaint();
}

void TToolbarButtonGadget::CancelPressed() {
  pressed = false;
  repaint();
}

void TToolbarButtonGadget::mousePressEvent(QMouseEvent* event) {
  QToolTip::hideText();  // a button press ends a showing tip
  if (event->button() != Qt::LeftButton || !isEnabled()) {
    QWidget::mousePressEvent(event);
    return;
  }
  tracking = true;
  BeginPressed();
}

void TToolbarButtonGadget::mouseMoveEvent(QMouseEvent* event) {
  if (!tracking) return;
  const bool inside = rect().contains(event->position().toPoint());
  if (inside && !pressed) BeginPressed();
  if (!inside && pressed) CancelPressed();
}

void TToolbarButtonGadget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !tracking) return;
  tracking = false;
  if (pressed && rect().contains(event->position().toPoint()))
    Activate();
  else if (pressed)
    CancelPressed();
}

void TToolbarButtonGadget::Activate() {
  if (type == Exclusive && state != kChecked) SetState(kChecked);
  if (type == Toggle) SetState(state == kChecked ? kUnchecked : kChecked);
  CancelPressed();
  Table().Post(commandId);
}

void TToolbarButtonGadget::enterEvent(QEnterEvent*) {
  hot = true;
  repaint();
  if (hintSink) hintSink(commandId, true);
}

void TToolbarButtonGadget::leaveEvent(QEvent*) {
  hot = false;
  repaint();
  if (hintSink) hintSink(commandId, false);
}

void TToolbarButtonGadget::changeEvent(QEvent* event) {
  // New system colours: the cells are made again in them.
  if (event->type() == QEvent::PaletteChange) DropGlyph();
  QWidget::changeEvent(event);
}

void TToolbarButtonGadget::Refresh() {
  TToolButtonGadgetEnabler enabler(*this);
  Table().Enable(enabler);
}

TToolButtonGadgetEnabler::TToolButtonGadgetEnabler(TToolbarButtonGadget& gadget)
    : TCommandEnabler(gadget.CommandId()), gadget(gadget) {}

void TToolButtonGadgetEnabler::Enable(bool on) {
  TCommandEnabler::Enable(on);
  if (gadget.isEnabled() != on) gadget.setEnabled(on);
}

void TToolButtonGadgetEnabler::SetCheck(int state) {
  TCommandEnabler::SetCheck(state);
  gadget.SetState(*check);
}

void TToolButtonGadgetEnabler::SetGlyph(const TGlyphResource& glyph) {
  TCommandEnabler::SetGlyph(glyph);
  gadget.SetGlyph(glyph);
}

TKVToolbarSeparatorGadget::TKVToolbarSeparatorGadget(QWidget* parent) : QWidget(parent) {}

void TKVToolbarSeparatorGadget::SetHorizontalLine(bool on) {
  if (on == horizontalLine) return;
  horizontalLine = on;
  update();
}

void TKVToolbarSeparatorGadget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const TSystemColors colors = TSystemColors::FromPalette(palette());
  // An etched line: shadow, then highlight beside it.
  if (horizontalLine) {
    const int y = height() / 2 - 1;
    painter.fillRect(0, y, width(), 1, colors.btnShadow);
    painter.fillRect(0, y + 1, width(), 1, colors.btnHighlight);
  } else {
    const int x = width() / 2 - 1;
    painter.fillRect(x, 0, 1, height(), colors.btnShadow);
    painter.fillRect(x + 1, 0, 1, height(), colors.btnHighlight);
  }
}

}  // namespace kvt
