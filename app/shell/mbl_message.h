#pragma once
// The message-box routine of the string table: caption and text come from the table by id
// (app/string_table.h), the texts of consecutive ids joined, then filled with printf
// arguments, and shown through the application's message-box service. The text has no length
// limit. Each answers the button picked, or 0 (and shows nothing) when the count is 0 or a
// string is missing.

#include <cstdarg>
#include <cstdint>

class QWidget;

namespace kvt {

// The box is owned by the window's captioned ancestor; with no window it has no owner and is
// task-modal.
int xMBLMessage(QWidget* parent, uint32_t type, int captionId, int firstTextId, int count,
                va_list args);
int MBLMessage(QWidget* parent, uint32_t type, int captionId, int textId, ...);
int MBLMessageN(QWidget* parent, uint32_t type, int captionId, int firstTextId, int count, ...);

}  // namespace kvt
