#include "tools/krv_edit.h"

#include <QFocusEvent>
#include <QFontDatabase>
#include <cstdarg>
#include <cstdio>

#include "utils/text_encoding.h"

namespace kvt {

void ApplyEditFont(QWidget& widget, uint32_t options) {
  widget.setFont((options & kEditFixedFont) ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                                            : QFont());
}

Qt::FocusReason EditFocusReason(Qt::FocusReason reason, uint32_t options) {
  const bool byTab = reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason;
  return byTab && (options & kEditNoSelectOnTab) ? Qt::OtherFocusReason : reason;
}

std::string CutUtf8(const QString& text, int maxBytes) {
  const QByteArray utf8 = text.toUtf8();
  const std::string_view view(utf8.constData(), static_cast<size_t>(utf8.size()));
  return std::string(view.substr(0, Utf8PrefixLength(view, maxBytes < 0 ? 0 : maxBytes)));
}

TKRVEdit::TKRVEdit(QWidget* parent, int textLimit) : QLineEdit(parent) {
  setValidator(new TTextLimitValidator(this, textLimit));
}

void TKRVEdit::SetOption(uint32_t bit) {
  options |= bit;
  ApplyEditFont(*this, options);
}

void TKRVEdit::ClearOption(uint32_t bit) {
  options &= ~bit;
  ApplyEditFont(*this, options);
}

std::string TKRVEdit::GetText(int maxBytes) const { return CutUtf8(text(), maxBytes); }

void TKRVEdit::SetTextf(const char* format, ...) {
  char buffer[512] = {};
  if (format) {
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
  }
  const std::string_view view(buffer);
  setText(QString::fromUtf8(view.data(), static_cast<qsizetype>(Utf8CompleteLength(view))));
}

void TKRVEdit::focusInEvent(QFocusEvent* event) {
  QFocusEvent adjusted(event->type(), EditFocusReason(event->reason(), options));
  QLineEdit::focusInEvent(&adjusted);
}

}  // namespace kvt
