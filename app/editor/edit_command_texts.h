#pragma once
// The menu texts of the editing view's commands ("&" marks the mnemonic, a tab the key shown
// beside the text). Menus, popups and toolbars take their texts from here, so one command has
// one text everywhere.

#include <cstdint>
#include <string_view>

namespace kvt {

// The text of an editing command; empty for ids without one (commands only keys reach).
std::string_view EditCommandText(int32_t id);

}  // namespace kvt
