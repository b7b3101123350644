#include "app/shell/mbl_message.h"

#include <QString>
#include <cstdio>
#include <string>

#include "app/string_table.h"
#include "tools/message_box_service.h"
#include "tools/window_placement.h"

namespace kvt {

namespace {

// printf into a string of whatever length the text needs.
std::string FormatAll(const char* format, va_list args) {
  va_list measure;
  va_copy(measure, args);
  const int length = std::vsnprintf(nullptr, 0, format, measure);
  va_end(measure);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, args);
  text.resize(static_cast<size_t>(length));
  return text;
}

}  // namespace

int xMBLMessage(QWidget* parent, uint32_t type, int captionId, int firstTextId, int count,
                va_list args) {
  const char* caption = LoadProgramString(captionId);
  if (caption == nullptr || count <= 0) return 0;
  std::string format;
  for (int i = 0; i < count; ++i) {
    const char* piece = LoadProgramString(firstTextId + i);
    if (piece == nullptr) return 0;
    format += piece;
  }
  const QString text = QString::fromStdString(FormatAll(format.c_str(), args));
  const QString title = QString::fromUtf8(caption);
  if (parent != nullptr)
    return MessageBoxServiceOf().Show(GetCaptionedAncestor(parent), type, title, text);
  return MessageBoxServiceOf().Show(nullptr, type | MB_TASKMODAL, title, text);
}

int MBLMessage(QWidget* parent, uint32_t type, int captionId, int textId, ...) {
  va_list args;
  va_start(args, textId);
  const int result = xMBLMessage(parent, type, captionId, textId, 1, args);
  va_end(args);
  return result;
}

int MBLMessageN(QWidget* parent, uint32_t type, int captionId, int firstTextId, int count, ...) {
  va_list args;
  va_start(args, count);
  const int result = xMBLMessage(parent, type, captionId, firstTextId, count, args);
  va_end(args);
  return result;
}

}  // namespace kvt
