#include "midi/smf/midi_export.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "midi/smf/midi_export_shell.h"
#include "midi/smf/smf_export_stream.h"
#include "notation/services/services.h"
#include "utils/busy_cursor.h"
#include "utils/debug_log.h"
#include "utils/buffered_file_stream.h"

namespace kvt {

namespace fs = std::filesystem;

namespace {

// The file a path names: a symbolic link is followed, so the link itself stays.
std::string ResolveTarget(const std::string& path) {
  std::error_code ec;
  if (!fs::is_symlink(fs::symlink_status(path, ec))) return path;
  const fs::path resolved = fs::weakly_canonical(path, ec);
  return ec ? path : resolved.string();
}

// Creates a new empty file beside target under a name no one else has; "" when none can be
// made. Exclusive creation keeps an existing file (or a planted link) from being reused.
std::string CreateTemporaryBeside(const std::string& target) {
  std::random_device random;
  for (int attempt = 0; attempt < 32; ++attempt) {
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".tmp-%08x", static_cast<unsigned>(random()));
    const std::string name = target + suffix;
    if (FILE* file = std::fopen(name.c_str(), "wbx")) {
      if (std::fclose(file) == 0) return name;
      std::remove(name.c_str());
      return "";
    }
    if (errno != EEXIST) return "";
  }
  return "";
}

// Flushes the file's data to disk.
bool SyncToDisk(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = ::fsync(fd) == 0;
  return (::close(fd) == 0) && synced;
}

}  // namespace

bool ExportMidiFile(const TMusicScore& score, const std::string& path, int type,
                    const TServices& services) {
  if (path.empty()) return false;
  const std::string target = ResolveTarget(path);
  const std::string temp = CreateTemporaryBeside(target);
  if (temp.empty()) {
    DebugPrintf("MIDI export: cannot create a file beside %s\n", target.c_str());
    return false;
  }

  bool ok = false;
  {
    // Buffered: the writer puts one byte at a time.
    TKRVBFStream file(kFileModeWrite, temp.c_str(), TKRVBFStream::kMaxBufferSize);
    if (file.IsOpen())
      ok = WriteScoreAsMidi(file, score, type, services);
    ok = file.Close() && ok;
  }
  ok = ok && SyncToDisk(temp);

  std::error_code ec;
  if (ok) {
    const fs::file_status old = fs::status(target, ec);
    if (!ec && fs::is_regular_file(old))
      fs::permissions(temp, old.permissions(), fs::perm_options::replace, ec);
    ec.clear();
    fs::rename(temp, target, ec);
    ok = !ec;
  }
  if (!ok) {
    DebugPrintf("MIDI export: writing %s failed; nothing was replaced\n", target.c_str());
    fs::remove(temp, ec);
  }
  return ok;
}

bool SaveScoreAsMidiFile(const TMusicScore& score, const std::string& path, int type,
                         const TServices& services) {
  TKVBusyCursor wait(CursorServiceOf(services));
  const bool ok = ExportMidiFile(score, path, type, services);
  if (!ok) MidiExportShellOf(services).ShowProblem(kMidiSaveProblemText, path);
  return ok;
}

}  // namespace kvt
