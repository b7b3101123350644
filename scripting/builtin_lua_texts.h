#pragma once
// The Lua scripts compiled into the program (scripting/lua/*.lua), by file name.

#include <span>
#include <string_view>

namespace kvt {

struct TBuiltinLuaText {
  const char* name;  // the file name, as "kvttxt.lua"
  const char* text;
  size_t size;
};

std::span<const TBuiltinLuaText> GetBuiltinLuaTexts();

// The built-in text of that file name; empty when there is none.
std::string_view FindBuiltinLuaText(std::string_view name);

}  // namespace kvt
