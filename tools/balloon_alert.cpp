#include "tools/balloon_alert.h"

#include <QApplication>
#include <QGridLayout>
#include <QMouseEvent>
#include <QStyle>

#include "tools/command_table.h"
#include "tools/kv_app_base.h"

namespace kvt {

namespace {

QString FromUtf8(std::string_view text) {
  // Invalid UTF-8 becomes the replacement character in the conversion.
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QStyle::StandardPixmap IconPixmap(int icon) {
  switch (icon) {
    case TBalloonAlert::kIconWarning: return QStyle::SP_MessageBoxWarning;
    case TBalloonAlert::kIconError: return QStyle::SP_MessageBoxCritical;
    default: return QStyle::SP_MessageBoxInformation;
  }
}

}  // namespace

TBalloonAlert::TBalloonAlert(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  iconLabel = new QLabel(this);
  title = new QLabel(this);
  body = new QLabel(this);
  for (QLabel* label : {title, body}) label->setTextFormat(Qt::PlainText);
  QFont bold = title->font();
  bold.setBold(true);
  title->setFont(bold);
  body->setWordWrap(true);
  auto* layout = new QGridLayout(this);
  layout->addWidget(iconLabel, 0, 0);
  layout->addWidget(title, 0, 1);
  layout->addWidget(body, 1, 0, 1, 2);
  timer.setSingleShot(true);
  QObject::connect(&timer, &QTimer::timeout, this, [this] { Hide(); });
}

void TBalloonAlert::Show(QWidget* anchorWindow, int x, int y, std::string_view text, int icon,
                         std::string_view titleText, int commandId) {
  Hide();
  if (!anchorWindow || anchorWindow->window()->isMinimized()) return;
  body->setMaximumWidth(std::max(1, anchorWindow->width() * 2 / 3));
  bool hasTitle = !titleText.empty();
  title->setText(hasTitle ? FromUtf8(titleText) : QString());
  title->setVisible(hasTitle);
  bool hasIcon = hasTitle && icon >= kIconInformation && icon <= kIconError;
  iconLabel->setVisible(hasIcon);
  if (hasIcon) iconLabel->setPixmap(style()->standardIcon(IconPixmap(icon)).pixmap(16, 16));
  body->setText(FromUtf8(text));
  anchor = anchorWindow;
  command = commandId;
  QObject::connect(anchorWindow, &QObject::destroyed, this, [this] { Hide(); });
  adjustSize();
  move(anchorWindow->mapToGlobal(QPoint(x, y)));
  show();
  if (timeout > 0) timer.start(timeout);
}

void TBalloonAlert::Hide() {
  timer.stop();
  if (anchor) QObject::disconnect(anchor, &QObject::destroyed, this, nullptr);
  anchor = nullptr;
  command = 0;
  hide();
}

void TBalloonAlert::mousePressEvent(QMouseEvent* event) {
  event->accept();
  if (!IsShowing()) return;
  if (anchor && command != 0 && GetKVAppBase()) GetKVAppBase()->Commands().Post(command);
  Hide();
}

}  // namespace kvt
