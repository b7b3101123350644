#pragma once
// The execute commands the desktop sends to a running editor: "[Open(path)]" opens a file,
// "[Null()]" does nothing. They reach the first instance through the single-instance hand-over.

#include <string>
#include <string_view>

namespace kvt {

enum TDdeCommand : int { kDdeOpen = 0, kDdeNull = 1 };

// The longest command text taken; a longer one is refused.
inline constexpr size_t kMaxDdeCommandBytes = 460;

// Parses one command: blanks, tabs, CR and LF trimmed at both ends; the text must begin with
// '[' and end with ']'; after the '[' comes "Open(" or "Null(" (without regard to case); the
// argument starts after it, one leading double quote skipped, and ends at the last ')' of the
// text, a double quote right before that ')' dropped. False (outputs unchanged) when the text
// is not such a command or has no ')'.
bool ParseDdeExecute(std::string_view text, int& command, std::string& path);

}  // namespace kvt
