#include "tools/long_task_dialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string_view>

#include "tools/format_message_box.h"
#include "tools/gauge.h"
#include "tools/message_box_service.h"
#include "tools/window_placement.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

// The shown dialogs, the active one last; a child of the application object.
class TLongTaskStack : public QObject {
public:
  static TLongTaskStack* Find(bool make) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application) return nullptr;
    auto* stack = application->findChild<TLongTaskStack*>(Name(), Qt::FindDirectChildrenOnly);
    if (!stack && make) {
      stack = new TLongTaskStack;
      stack->setParent(application);
      stack->setObjectName(Name());
    }
    return stack;
  }
  static QString Name() { return QStringLiteral("kvtLongTaskStack"); }

  TLongTaskDlg* Top() {
    while (!dialogs.empty() && !dialogs.back()) dialogs.pop_back();
    return dialogs.empty() ? nullptr : dialogs.back().data();
  }
  std::vector<QPointer<TLongTaskDlg>> dialogs;
};

// One control of a template, in dialog units.
struct TPlace {
  int x, y, w, h;
};

struct TTemplate {
  int id;
  const char* caption;
  TPlace status, bar, cancel;
  int width, height;
};

constexpr TTemplate kTemplates[] = {
    {571, "", {5, 8, 200, 10}, {0, 0, 0, 0}, {208, 4, 34, 16}, 248, 26},
    {574, "Working", {5, 8, 166, 8}, {6, 33, 136, 12}, {150, 31, 34, 16}, 189, 54},
};

QString FromUtf8(const char* text) {
  if (!text) return {};
  const std::string_view view(text);
  return QString::fromUtf8(view.data(), static_cast<qsizetype>(Utf8CompleteLength(view)));
}

}  // namespace

TLongTaskDlg::TLongTaskDlg(QWidget* parent, int resourceId, int statusLineCount,
                           int progressBarCount)
    : QDialog(parent) {
  setWindowModality(Qt::ApplicationModal);
  const QFontMetrics metrics(font());
  const int unitX = std::max(1, metrics.averageCharWidth());
  const int unitY = std::max(1, metrics.height());
  auto toPixels = [&](const TPlace& p) {
    return QRect(p.x * unitX / 4, p.y * unitY / 8, p.w * unitX / 4, p.h * unitY / 8);
  };
  const TTemplate* known = nullptr;
  for (const TTemplate& t : kTemplates)
    if (t.id == resourceId) known = &t;

  const int lineCount = std::max(statusLineCount, 0);
  const int barCount = std::clamp(progressBarCount, 0, 2);
  // Other templates: the lines, then the bars, in a column with Cancel at the right.
  const int column = 180, rowHeight = 12;
  int y = 8;
  for (int i = 0; i < lineCount; ++i, y += rowHeight) {
    auto* label = new QLabel(i == 0 ? QStringLiteral("Initializing...") : QString(), this);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(toPixels(known && i == 0 ? known->status : TPlace{5, y, column, 8}));
    lines.push_back(label);
  }
  for (int i = 0; i < barCount; ++i, y += rowHeight + 4) {
    TBarPair& bar = bars[i];
    bar.place = new QLabel(QStringLiteral("Total Progress"), this);
    bar.place->setGeometry(
        toPixels(known && known->bar.w > 0 && i == 0 ? known->bar : TPlace{6, y, column - 30, 12}));
    bar.place->hide();
    bar.gauge = new TGauge(this, 2);
    bar.gauge->setGeometry(0, 0, 100, 10);
  }
  cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  cancelButton->setGeometry(toPixels(known ? known->cancel : TPlace{column + 8, 4, 34, 16}));
  connect(cancelButton, &QPushButton::clicked, this, &TLongTaskDlg::ConfirmCancel);
  if (known) {
    setWindowTitle(QString::fromUtf8(known->caption));
    setFixedSize(known->width * unitX / 4, known->height * unitY / 8);
  } else {
    setFixedSize((column + 50) * unitX / 4, (std::max(y, 26) + 6) * unitY / 8);
  }
}

TLongTaskDlg::~TLongTaskDlg() { Deactivate(); }

QLabel* TLongTaskDlg::StatusLabel(int line) const {
  return line >= 0 && line < static_cast<int>(lines.size()) ? lines[line] : nullptr;
}

void TLongTaskDlg::SetStatusLine(int line, const char* text) {
  if (QLabel* label = StatusLabel(line)) label->setText(FromUtf8(text));
}

void TLongTaskDlg::SetStatusf(const char* format, ...) {
  if (lines.empty() || !format) return;
  char buffer[256] = {};
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  SetStatusLine(0, buffer);
}

void TLongTaskDlg::SetStatusLinef(int line, const char* format, ...) {
  if (!StatusLabel(line) || !format) return;
  char buffer[256] = {};
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  SetStatusLine(line, buffer);
}

void TLongTaskDlg::SetBarRange(int index, int maximum) {
  if (TGauge* gauge = bars[index].gauge) gauge->SetRange(maximum);
}

void TLongTaskDlg::SetBarValue(int index, int value) {
  if (TGauge* gauge = bars[index].gauge) gauge->SetValue(value);
}

void TLongTaskDlg::SetBarLed(int index, int spacing, int thicknessPercent) {
  if (TGauge* gauge = bars[index].gauge) gauge->SetLed(spacing, thicknessPercent);
}

void TLongTaskDlg::setVisible(bool visible) {
  if (visible && !active) Activate();
  QDialog::setVisible(visible);
  if (!visible) Deactivate();
}

void TLongTaskDlg::Activate() {
  CenterWindowOnScreen(*this);
  for (TBarPair& bar : bars) {
    if (!bar.gauge) continue;
    bar.gauge->setGeometry(bar.place->geometry());
    bar.gauge->SetRange(100);
  }
  if (bars[1].gauge) bars[1].gauge->SetLed(2, 90);
  if (TLongTaskStack* stack = TLongTaskStack::Find(true)) stack->dialogs.emplace_back(this);
  active = true;
}

void TLongTaskDlg::Deactivate() {
  if (!active) return;
  active = false;
  if (TLongTaskStack* stack = TLongTaskStack::Find(false)) {
    auto& dialogs = stack->dialogs;
    dialogs.erase(
        std::remove_if(dialogs.begin(), dialogs.end(),
                       [this](const QPointer<TLongTaskDlg>& d) { return !d || d == this; }),
        dialogs.end());
  }
}

bool TLongTaskDlg::IsCancelled() {
  QCoreApplication::processEvents();
  return cancelled;
}

void TLongTaskDlg::Close() { hide(); }

void TLongTaskDlg::ConfirmCancel() {
  if (!cancelled) {
    const int answer = FormatMessageBox(this, MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL,
                                        "Cancel Confirmation", "%s", "Are you sure?");
    cancelled = answer == IDYES;
  }
  cancelButton->setFocus(Qt::OtherFocusReason);
}

void TLongTaskDlg::WarnOrCancel(const char* format, ...) {
  if (!format) return;
  va_list args;
  va_start(args, format);
  const int answer = FormatMessageBoxV(this, MB_OKCANCEL | MB_ICONINFORMATION | MB_TASKMODAL,
                                       "Warning", format, args);
  va_end(args);
  if (answer == IDCANCEL) ConfirmCancel();
  cancelButton->setFocus(Qt::OtherFocusReason);
}

void TLongTaskDlg::closeEvent(QCloseEvent* event) {
  // The window's close button cancels as the Cancel button does.
  event->ignore();
  ConfirmCancel();
}

bool TLongTaskDlg::CheckCancel() {
  TLongTaskStack* stack = TLongTaskStack::Find(false);
  TLongTaskDlg* dialog = stack ? stack->Top() : nullptr;
  return dialog && dialog->IsCancelled();
}

bool TLongTaskDlg::AnyActive() {
  TLongTaskStack* stack = TLongTaskStack::Find(false);
  return stack && stack->Top() != nullptr;
}

}  // namespace kvt
