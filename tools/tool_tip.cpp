#include "tools/tool_tip.h"

#include <QCursor>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <chrono>

#include "tools/draw_routines.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

class TSystemTipEnvironment : public TTipEnvironment {
public:
  uint32_t NowMs() const override {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
  }
  QPoint CursorPos() const override { return QCursor::pos(); }
  bool MouseCaptured() const override { return QWidget::mouseGrabber() != nullptr; }
  QRect ScreenRect() const override {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
  }
};

constexpr int kCursorHeight = 32;

QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

}  // namespace

TTipEnvironment& SystemTipEnvironment() {
  static TSystemTipEnvironment environment;  // stateless
  return environment;
}

QPoint PlaceToolTip(const QRect& tool, const std::optional<QRect>& placement, QSize tipSize,
                    const QRect& screen, int cursorHeight) {
  if (placement) return QPoint(placement->left() - 1, placement->top());
  // QRect::bottom() is the last row inside; the tool's bottom edge is one further.
  int x = tool.left();
  int y = tool.top() + tool.height() + cursorHeight / 3 + 2;
  if (y + tipSize.height() > screen.top() + screen.height()) y = tool.top() - tipSize.height();
  if (x + tipSize.width() > screen.left() + screen.width() && x >= screen.left())
    x = tool.left() + tool.width() - tipSize.width();
  return QPoint(x, y);
}

TToolTip::TToolTip(TTipEnvironment& environment) : QWidget(nullptr), env(environment) {
  setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                 Qt::WindowTransparentForInput);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  timer.setSingleShot(false);
  QObject::connect(&timer, &QTimer::timeout, this, [this] { TimerStep(); });
}

TToolTip::~TToolTip() { timer.stop(); }

void TToolTip::SetTool(const QRect& toolRect, const std::optional<QRect>& placementRect,
                       const QFont* tipFont) {
  tool = toolRect;
  placement = placementRect;
  if (tipFont)
    font = *tipFont;
  else
    font.reset();
}

void TToolTip::SetText(std::u16string_view newText) {
  newText = newText.substr(0, Utf16PrefixLength(newText, kMaxChars));
  if (newText == text) return;
  text = newText;
  if (isVisible()) {
    font.reset();
    lastHideTime = env.NowMs();
    hiddenOnce = true;
    hide();
  }
  timer.stop();
  if (!text.empty() && enabled) {
    bool quick = hiddenOnce && env.NowMs() - lastHideTime < static_cast<uint32_t>(kDelayMs);
    timer.start(quick ? kQuickDelayMs : kDelayMs);
  }
}

void TToolTip::SetTextCP(int codePage, std::string_view narrow) {
  std::u16string wide = MultiByteToUtf16(codePage, narrow);
  wide.resize(Utf16PrefixLength(wide, kMaxChars - 1));
  SetText(wide);
}

void TToolTip::TimerStep() {
  if (!tool.contains(env.CursorPos()) || env.MouseCaptured()) {
    Hide();
    return;
  }
  if (!isVisible()) {
    timer.stop();
    ShowTip();
    timer.start(kWatchMs);
  }
}

void TToolTip::ShowTip() {
  QFont f = font.value_or(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
  QFontMetrics fm(f);
  QString s = ToQString(text);
  QSize size(fm.horizontalAdvance(s) + 7, fm.height() + 4);
  QPoint at = PlaceToolTip(tool, placement, size, env.ScreenRect(), kCursorHeight);
  setGeometry(QRect(at, size));
  show();
  update();
}

void TToolTip::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QPalette pal = palette();
  QRect r = rect();
  // Lit edges left and top, the frame colour right and bottom.
  QRect inside = r;
  DrawEdgeLines(p, inside, kEdgeLeft | kEdgeTop | kEdgeRight | kEdgeBottom,
                pal.color(QPalette::Light), pal.color(QPalette::Shadow));
  p.fillRect(inside, pal.color(QPalette::ToolTipBase));
  p.setFont(font.value_or(QFontDatabase::systemFont(QFontDatabase::GeneralFont)));
  p.setPen(pal.color(QPalette::ToolTipText));
  p.drawText(r, Qt::AlignCenter | Qt::TextSingleLine, ToQString(text));
}

}  // namespace kvt
