#include "scripting/builtin_lua_texts.h"

namespace kvt {

std::string_view FindBuiltinLuaText(std::string_view name) {
  for (const TBuiltinLuaText& text : GetBuiltinLuaTexts()) {
    if (name == text.name) return std::string_view(text.text, text.size);
  }
  return std::string_view();
}

}  // namespace kvt
