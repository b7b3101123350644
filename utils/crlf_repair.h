#pragma once
// Detecting and undoing the damage of a text-mode transfer to a binary file, where every line
// feed became a carriage return plus line feed. Both work on the file's bytes in memory.

#include <optional>
#include <string>
#include <string_view>

namespace kvt {

// True when the bytes hold at least one line feed and every line feed follows a carriage
// return; defaultResult when they hold no line feed at all; false on a bare line feed.
bool HasCrLfLineEndsOnly(std::string_view bytes, bool defaultResult);

// The bytes with each carriage return plus line feed turned into one line feed; every other
// carriage return stays as it is. Nothing on a bare line feed: such bytes were not damaged
// that way.
std::optional<std::string> ConvertCrLfToLf(std::string_view bytes);

}  // namespace kvt
