#pragma once
// Copying and comparing items through their one-line text form (writer mode 1, the form of a
// lone item). The editor, the clipboard and the removal of redundant items rest on these.
//
// Lines are compared whole, whatever their length, so two items that differ anywhere in their
// text (a long user-object value included) never compare equal, and a copy never loses the end
// of a long text.

#include <memory>

namespace kvt {

class TNotatedItem;

// A new item read back from the item's line; null when the line makes no item.
std::unique_ptr<TNotatedItem> CloneItem(const TNotatedItem& item);

// 0 when both items have the same line; otherwise negative or positive as a's line sorts
// before or after b's (byte order).
int CompareItems(const TNotatedItem& a, const TNotatedItem& b);

}  // namespace kvt
