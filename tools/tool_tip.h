#pragma once
// TToolTip: the application's one hint window. Owners (toolbars, the score editor, the
// character grid, the tree lists) give it the screen rectangle of the thing under the mouse
// and a text; it shows the text after a delay (600 ms, or 50 ms when a tip was hidden less
// than 600 ms ago) and hides when the cursor leaves the rectangle or the mouse is captured.
// The text is drawn as plain text, never as rich text. The window never takes the mouse or
// the focus.
//
// The clock, the cursor, the capture and the screen come from a TTipEnvironment so that tests
// drive the timing on a fake clock; the environment must outlive the tip.

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvt {

class TTipEnvironment {
public:
  virtual ~TTipEnvironment() = default;
  virtual uint32_t NowMs() const = 0;      // a steady millisecond count
  virtual QPoint CursorPos() const = 0;    // screen coordinates
  virtual bool MouseCaptured() const = 0;  // some window has grabbed the mouse
  virtual QRect ScreenRect() const = 0;    // the screen the tips show on
};

// The real environment: the steady clock, QCursor, QWidget::mouseGrabber, the primary screen.
TTipEnvironment& SystemTipEnvironment();

// Where a tip of the given size goes: below the tool (room for the pointer: a third of the
// cursor height plus 2), above it when that runs off the screen's bottom, moved left to end at
// the tool's right edge when it runs off the right; or at placement's top-left (x minus 1).
QPoint PlaceToolTip(const QRect& tool, const std::optional<QRect>& placement, QSize tipSize,
                    const QRect& screen, int cursorHeight);

class TToolTip : public QWidget {
public:
  static constexpr int kDelayMs = 600;
  static constexpr int kQuickDelayMs = 50;
  static constexpr int kWatchMs = 200;
  static constexpr size_t kMaxChars = 1023;

  explicit TToolTip(TTipEnvironment& environment = SystemTipEnvironment());
  ~TToolTip() override;

  // Without a placement the tip goes below the tool. A null font means the default GUI font.
  void SetTool(const QRect& tool, const std::optional<QRect>& placement = std::nullopt,
               const QFont* font = nullptr);
  // The same text again changes nothing; another one hides a shown tip and starts the delay.
  void SetText(std::u16string_view text);
  void SetTextCP(int codePage, std::string_view text);  // at most 1022 characters
  void Hide() { SetText({}); }
  void SetEnabledTips(bool on) { enabled = on; }

  const std::u16string& Text() const { return text; }
  bool IsWaitingOrWatching() const { return timer.isActive(); }
  int TimerInterval() const { return timer.isActive() ? timer.interval() : 0; }
  // One timer step, as the timer runs it (public for tests on a fake clock).
  void TimerStep();

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  void ShowTip();

  TTipEnvironment& env;
  QTimer timer;
  bool enabled = true;
  uint32_t lastHideTime = 0;
  bool hiddenOnce = false;
  std::optional<QFont> font;
  QRect tool;
  std::optional<QRect> placement;
  std::u16string text;
};

}  // namespace kvt
