#pragma once
// The main menu's editing menus (Edit, Insert, Notes, Staff) as data. Their items take their
// texts from the editing commands' table (EditCommandText), so a command has one text
// everywhere; only the frame's own items carry a text here. A command nobody registers shows
// disabled.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace kvt {

// One row of a menu: a command (text null: the editing command's text), a separator (id 0),
// or the start and end of a submenu.
struct TEditMenuRow {
  int32_t id;
  const char* text = nullptr;
};
inline constexpr int32_t kMenuSeparator = 0;
inline constexpr int32_t kSubmenuStart = -1;  // text: the submenu's title
inline constexpr int32_t kSubmenuEnd = -2;

struct TEditMenu {
  const char* title;
  std::span<const TEditMenuRow> rows;
};

// Edit, Insert, Notes and Staff, in menu-bar order.
std::span<const TEditMenu> EditMenus();

// The text a row shows: its own, else the editing command's ("&" marks the mnemonic; after a
// tab the key). Empty for separators and submenu ends.
std::string_view EditMenuRowText(const TEditMenuRow& row);

}  // namespace kvt
