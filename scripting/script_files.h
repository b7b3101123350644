#pragma once
// Script files that override built-in scripts. They are looked for in the program folder
// only: a script in whatever folder the program was started from must not take over the host
// or the user-tool runtime.

#include <string>

namespace kvt {

// Scripts larger than this are not read (the sandbox could not hold them anyway).
inline constexpr size_t kMaxScriptFileBytes = size_t{16} << 20;

// The text of folder/name when that is a regular file no larger than kMaxScriptFileBytes;
// false (text untouched) otherwise, and for an empty folder.
bool ReadProgramScript(const std::string& folder, const char* name, std::string& text);

// The folder that holds the running program (from /proc/self/exe, else from argv0); empty when
// unknown.
std::string GetProgramFolder(const char* argv0);

}  // namespace kvt
