#pragma once
// TIniProfile: one ini file, kept parsed in memory and written through on every change.
//
// Each access first compares the file's stamp with the one last seen and reads the file again
// when another writer (a second instance, a person with an editor, another TIniProfile on the
// same path) has replaced it, so a write never throws away a change made elsewhere. Every
// change is written at once with an atomic replacement (TIniFileIo::WriteAtomic); when the
// write fails the change is dropped and the in-memory text stays what the disk holds.
//
// A file that exists but cannot be read (no permission, not a regular file, larger than
// kIniMaxFileBytes) makes the profile unusable until that changes: reads find nothing and
// writes fail, so such a file is never overwritten. A missing file reads as empty and is
// created by the first write.
//
// Not thread-safe: one thread (the UI thread) uses a profile.

#include "utils/ini_document.h"
#include "utils/ini_file_io.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kvt {

class TIniProfile {
public:
  // io must outlive the profile. With createFolder the first write makes the missing folders.
  TIniProfile(std::string path, TIniFileIo& io, bool createFolder);
  TIniProfile(const TIniProfile&) = delete;
  TIniProfile& operator=(const TIniProfile&) = delete;

  const std::string& Path() const { return path; }

  // Reads the file again when it changed; true when the profile is usable.
  bool Refresh();

  // The value text (quotes kept), or nullopt when absent or the profile is unusable.
  std::optional<std::string> Get(std::string_view section, std::string_view key);
  bool HasSection(std::string_view section);
  std::vector<std::string> SectionNames();
  std::vector<std::pair<std::string, std::string>> Entries(std::string_view section);

  // Each returns true when the file holds the requested state afterwards (a value already so,
  // or already absent, needs no write). False when the profile is unusable, a name or value
  // is not writable (TIniDocument::Set) or the write failed.
  bool Set(std::string_view section, std::string_view key, std::string_view value);
  bool Erase(std::string_view section, std::string_view key);
  bool EraseSection(std::string_view section);

private:
  bool Commit(TIniDocument next);

  std::string path;
  TIniFileIo& io;
  bool createFolder;
  bool loaded = false;
  bool usable = false;
  TIniFileStamp stamp;
  TIniDocument document;
};

}  // namespace kvt
