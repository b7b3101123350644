#include "tools/format_message_box.h"

#include "tools/kv_app_base.h"
#include "tools/message_box_service.h"
#include "tools/window_placement.h"
#include "utils/precondition.h"
#include "utils/text_encoding.h"

#include <QString>

#include <cstdio>
#include <string_view>

namespace kvt {

namespace {

constexpr int kBoxTextBytes = 1024;
constexpr const char* kInformationCaption = "Information";

QString FormatBoxText(const char* format, va_list args) {
  char buffer[kBoxTextBytes] = {};
  const int written = std::vsnprintf(buffer, sizeof buffer, format, args);
  std::string_view text(buffer);
  // A cut text ends on a whole character, never on half of one.
  if (written >= kBoxTextBytes) text = text.substr(0, Utf8CompleteLength(text));
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

int FormatMessageBoxV(QWidget* window, uint32_t type, const char* caption, const char* format,
                      va_list args) {
  KVT_PRECONDITION(format);
  const QString text = FormatBoxText(format, args);
  const QString title = QString::fromUtf8(caption != nullptr ? caption : "");
  if (window != nullptr)
    return MessageBoxServiceOf().Show(GetCaptionedAncestor(window), type, title, text);
  return MessageBoxServiceOf().Show(nullptr, type | MB_TASKMODAL, title, text);
}

int FormatMessageBox(QWidget* window, uint32_t type, const char* caption, const char* format, ...) {
  KVT_PRECONDITION(format);
  va_list args;
  va_start(args, format);
  const int result = FormatMessageBoxV(window, type, caption, format, args);
  va_end(args);
  return result;
}

int InformationBox(QWidget* p, const char* format, ...) {
  KVT_PRECONDITION(p);
  KVT_PRECONDITION(format);
  va_list args;
  va_start(args, format);
  const int result =
      FormatMessageBoxV(p, MB_OK | MB_ICONINFORMATION, kInformationCaption, format, args);
  va_end(args);
  return result;
}

int AppInformationBox(const char* format, ...) {
  KVT_PRECONDITION(format);
  TKVAppBase* app = GetKVAppBase();
  QWidget* owner = app != nullptr ? app->MainWindow() : nullptr;
  va_list args;
  va_start(args, format);
  const int result =
      FormatMessageBoxV(owner, MB_OK | MB_ICONINFORMATION, kInformationCaption, format, args);
  va_end(args);
  return result;
}

}  // namespace kvt
