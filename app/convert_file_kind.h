#pragma once
// The file kinds of the command-line converter, told by a path's extension alone (compared
// without regard to case; the file itself is never looked at).

#include <string_view>

namespace kvt {

enum TConvertFileKind : int {
  kConvertUnknown = 0,
  kConvertBinaryScore = 1,  // ".kvt"
  kConvertTextScore = 2,    // ".kvttxt"
  kConvertMidiFile = 3,     // ".mid"
  kConvertInfoReport = 4,   // ".info"
};

// The kind of a path by its extension; kConvertUnknown for any other or no extension.
int GetConvertFileKind(std::string_view path);

}  // namespace kvt
