#pragma once
// The tree's context commands and their menu texts, and which of them apply to an item.

#include <string_view>

namespace kvt {

class TKVTreeItem;

inline constexpr int kTreeMenuId = 20220;
inline constexpr int kCmTreeExpand = 20221;
inline constexpr int kCmTreeExpandDown = 20222;
inline constexpr int kCmTreeCollapse = 20223;
inline constexpr int kCmTreeCollapseUp = 20224;

// "&Expand", "Expand &down", "&Collapse", "Collapse &up"; empty for other ids.
std::string_view TreeCommandText(int command);
// The enabler of a tree command for the item.
bool IsTreeCommandEnabled(const TKVTreeItem& item, int command);

}  // namespace kvt
