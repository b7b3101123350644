#pragma once
// The names a score window gives its file: the name it shows and saves under when opened from
// a backup, a read-only copy or an autosave file, its display name and the recovered-file name.
// Extensions compare without regard to ASCII case; paths are UTF-8.

#include <string>
#include <string_view>

namespace kvt {

inline constexpr int kOpenModeReadOnly = 2;

// What a window makes of the path it was opened with.
struct TOpenedName {
  std::string fileName;     // the name to show and save under
  bool textFormat = false;  // the file is (or was backed up from) a text score
  bool autosave = false;    // an autosave file being recovered: the caller names the window
};

// - "x.kvt.bak" (at least 6 bytes before the last dot) becomes "x.bak", a binary score;
// - "x.kvttxt.bak" (at least 9 bytes before the last dot) becomes "x.bak", a text score;
// - ".asv": an autosave file (fileName keeps the path);
// - with openMode kOpenModeReadOnly the extension becomes ".read-only";
// - otherwise the path itself; textFormat when the extension is ".kvttxt".
TOpenedName InterpretOpenedPath(const std::string& path, int openMode);

// "Recovered File %d".
std::string RecoveredFileName(int number);

// Whether a file name is a selector's (":" and three hexadecimal digits of its number).
bool IsSelectorName(std::string_view fileName);
// The selector number of such a name; -1 when the three digits are not hexadecimal.
int SelectorNumberOf(std::string_view fileName);

// The window's title without the modified mark: "<Selector %d>" (the number minus 255) for a
// selector; otherwise the file name without folder and extension, shown between "<" and ">"
// when it has no extension, and followed by " (ext)" with the extension lower-cased when the
// extension is not ".kvt".
std::string DisplayNameOf(std::string_view fileName);

}  // namespace kvt
