#pragma once
// TToolbarButtonGadget: a flat toolbar button showing a glyph scaled to the toolbar's button
// size, with hot, pressed, checked, indeterminate and disabled looks and an optional
// drop-down arrow. Activating it posts its command id to its command table (the application's
// when none is given). The command table's enable handler sets its enabled state, check state
// and glyph through a TToolButtonGadgetEnabler (Refresh).
//
// Glyph pictures come from the loader given at construction; a picture larger than
// kMaxGlyphPicture pixels either way, or none, leaves the button without a glyph.

#include "tools/command_enabler.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>

namespace kvt {

class TCommandTable;

inline constexpr int kMaxGlyphPicture = 1024;

using TGlyphLoader = std::function<QImage(const TGlyphResource&)>;

class TToolbarButtonGadget : public QWidget {
public:
  enum TType { Plain = 0, Exclusive = 1, Toggle = 2, DropDown = 3 };

  TToolbarButtonGadget(const TGlyphResource& glyph, int32_t commandId, TType type, bool enabled,
                       int state, TGlyphLoader loader, QWidget* parent = nullptr);

  int32_t CommandId() const { return commandId; }
  TType Type() const { return type; }
  int State() const { return state; }
  bool IsPressed() const { return pressed; }
  bool IsHot() const { return hot; }
  const TGlyphResource& Glyph() const { return glyphResource; }

  // Changes the state (0 unchecked, 1 checked, 2 indeterminate); an exclusive button that
  // becomes checked unchecks its group first. Repaints.
  void SetState(int state);
  // Replaces the glyph when it differs; the cache is rebuilt on the next paint.
  void SetGlyph(const TGlyphResource& glyph);
  // The height glyphs are scaled to (0: the picture's own height).
  void SetButtonSize(int pixels);
  void DropGlyph();
  // The command table the button posts to; null: the application's.
  void SetTarget(TCommandTable* table) { target = table; }
  // Called with the hint on mouse enter and with an empty text on leave.
  void SetHintSink(std::function<void(int32_t commandId, bool show)> sink) {
    hintSink = std::move(sink);
  }

  // Asks the command table how the button looks now.
  void Refresh();
  // What a click does: exclusive and toggle state changes, then the command is posted.
  void Activate();

  // The glyph's size: the button size (at least 2) high, the picture's width scaled to it.
  QSize GlyphSize() const;
  // The cached cell (0 normal, 1 disabled, 2 indeterminate, 3 checked); null without a glyph.
  const QImage& Cell(int index);
  // The cell the button shows now.
  int CurrentCell() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }

protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  void LoadPicture();
  void BuildCells();
  void BeginPressed();
  void CancelPressed();
  TCommandTable& Table() const;

  TGlyphResource glyphResource;
  int32_t commandId;
  TType type;
  int state;
  bool pressed = false;
  bool hot = false;
  bool tracking = false;  // the left button went down on us and is still held
  int buttonSize = 0;
  TGlyphLoader loader;
  QImage picture;
  bool pictureLoaded = false;
  std::array<QImage, 4> cells;
  TCommandTable* target = nullptr;
  std::function<void(int32_t, bool)> hintSink;
};

// The enabler a button hands to the command table.
class TToolButtonGadgetEnabler final : public TCommandEnabler {
public:
  explicit TToolButtonGadgetEnabler(TToolbarButtonGadget& gadget);
  void Enable(bool on) override;
  void SetCheck(int state) override;
  void SetText(const QString&) override {}
  void SetGlyph(const TGlyphResource& glyph) override;

private:
  TToolbarButtonGadget& gadget;
};

// The separator between toolbar gadgets: 6 pixels, an etched line across its middle (across
// the row when the toolbar runs vertically or the separator is a bar at a row break).
class TKVToolbarSeparatorGadget : public QWidget {
public:
  explicit TKVToolbarSeparatorGadget(QWidget* parent = nullptr);
  static constexpr int kSize = 6;
  void SetHorizontalLine(bool on);
  QSize sizeHint() const override { return {kSize, kSize}; }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  bool horizontalLine = false;
};

}  // namespace kvt
