#include "app/open_file_kind.h"

#include <string>

#include "utils/path_utils.h"
#include "utils/text_case.h"

namespace kvt {

namespace {

bool EndsWithIgnoringCase(std::string_view path, std::string_view ending) {
  if (path.size() < ending.size()) return false;
  const std::string tail(path.substr(path.size() - ending.size()));
  return CompareTextIgnoreCase(tail.c_str(), std::string(ending).c_str()) == 0;
}

// A backup name needs at least two characters in front of its score extension.
bool IsBackupName(std::string_view path, std::string_view ending, size_t minExtensionOffset) {
  return EndsWithIgnoringCase(path, ending) && GetExtensionOffset(path) >= minExtensionOffset;
}

}  // namespace

TOpenFileKind GetOpenFileKind(std::string_view path) {
  if (HasExtension(path, "lua")) return TOpenFileKind::kScript;
  for (const char* midi : {"mid", "midi", "rmi", "kar", "smf", "sng", "seq"}) {
    if (HasExtension(path, midi)) return TOpenFileKind::kMidi;
  }
  if (HasExtension(path, "kvttxt")) return TOpenFileKind::kTextScore;
  if (HasExtension(path, "kvt") || HasExtension(path, "krv")) return TOpenFileKind::kBinaryScore;
  if (IsBackupName(path, ".kvt.bak", 6)) return TOpenFileKind::kBinaryBackup;
  if (IsBackupName(path, ".kvttxt.bak", 9)) return TOpenFileKind::kTextBackup;
  return TOpenFileKind::kUnknown;
}

}  // namespace kvt
