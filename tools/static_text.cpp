#include "tools/static_text.h"

#include <cstdarg>
#include <cstdio>

#include "utils/path_utils.h"
#include "utils/text_encoding.h"

namespace kvt {

TKRVStatic::TKRVStatic(QWidget* parent, std::string_view title) : QLabel(parent) {
  // Texts from files and scores must never be taken for markup.
  setTextFormat(Qt::PlainText);
  SetText(title);
}

void TKRVStatic::SetText(std::string_view utf8) {
  setText(QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())));
}

void TKRVStatic::SetTextf(const char* format, ...) {
  char buffer[256];
  va_list args;
  va_start(args, format);
  int n = std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  if (n < 0) return;
  std::string_view text(buffer, std::min<size_t>(static_cast<size_t>(n), sizeof buffer - 1));
  SetText(text.substr(0, Utf8CompleteLength(text)));
}

void TKRVStatic::SetInitialText(std::string_view utf8, int mode) {
  initialText = std::string(utf8);
  initialMode = mode;
}

void TKRVStatic::SetupWindow() {
  if (!initialText) return;
  std::string_view text = *initialText;
  if (initialMode == kShowText) {
    SetText(text);
  } else if (initialMode == kShowFileName) {
    std::string_view name = GetFileNamePart(text);
    SetText(name.substr(0, GetExtensionOffset(name)));
  } else {
    SetText({});
  }
}

void TKRVStatic::TransferSet(std::string_view utf8) {
  if (textTransfer) SetText(utf8);
}

}  // namespace kvt
