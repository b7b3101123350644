#pragma once
// Formatted message boxes: printf-style texts (UTF-8, formatted in the C library's manner and
// cut at 1023 bytes on a character boundary) shown through the application's message-box
// service (MessageBoxServiceOf). Each answers the id of the button the user picked.

#include <cstdarg>
#include <cstdint>

class QWidget;

namespace kvt {

// With a window, the box is owned by the window's captioned ancestor; without one it has no
// owner and MB_TASKMODAL is added to the type. A null caption is an empty one.
int FormatMessageBoxV(QWidget* window, uint32_t type, const char* caption, const char* format,
                      va_list args);
int FormatMessageBox(QWidget* window, uint32_t type, const char* caption, const char* format, ...)
    __attribute__((format(printf, 4, 5)));

// An information box (MB_ICONINFORMATION, caption "Information") owned by the window.
// Preconditions: a window ("p") and a format ("format") are given.
int InformationBox(QWidget* p, const char* format, ...) __attribute__((format(printf, 2, 3)));
// The same box owned by the application's main window, or by none when there is none.
// Precondition: a format ("format") is given.
int AppInformationBox(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace kvt
