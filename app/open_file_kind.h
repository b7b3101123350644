#pragma once
// What a file is, told by its name when the editor opens it (menu, command line, second start,
// drop): the extension, the text from the last dot of the file name, compared without regard
// to case. The contents decide only later, between binary and text scores.

#include <string_view>

namespace kvt {

enum class TOpenFileKind {
  kUnknown,
  kScript,        // ".lua"
  kMidi,          // ".mid", ".midi", ".rmi", ".kar", ".smf", ".sng", ".seq"
  kTextScore,     // ".kvttxt"
  kBinaryScore,   // ".kvt", ".krv"
  kBinaryBackup,  // a name ending in ".kvt.bak"
  kTextBackup,    // a name ending in ".kvttxt.bak"
};

TOpenFileKind GetOpenFileKind(std::string_view path);

}  // namespace kvt
