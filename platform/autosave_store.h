#pragma once
// The private folder of autosave and recovery files, and the claim a score window holds on
// one of its files.
//
// Folder: $XDG_STATE_HOME/kvt2 ($HOME/.local/state/kvt2 when XDG_STATE_HOME is unset or not
// absolute), or a folder the caller names. It is made with mode 0700 when missing (its
// parents with 0700 too); an existing one must be a real folder (not a link) owned by this
// user, and loses any group or other permission bits.
//
// Files: "kvt000.asv" .. "kvt999.asv", each with a lock file beside it ("kvt000.asv.lock").
// A name is claimed by locking its lock file (flock, exclusive, not waiting) and then
// creating the autosave file exclusively (O_CREAT | O_EXCL | O_NOFOLLOW, mode 0600), so a
// name that exists from another session is never reused, and a claim never follows a link.
// The window writes its autosaves to the claimed path through the safe save (which replaces
// the file; the lock file keeps the claim) and holds the lock until it lets the file go.
// Another instance that lists recoverable files skips every file whose lock is held, so a
// recovery never takes over, or later overwrites, a file a running window still writes.
//
// The lock of a process that ended (a crash) is gone with it, which is what makes its files
// recoverable. Nothing here is thread-safe: one store per UI thread.

#include <string>
#include <vector>

namespace kvt {

inline constexpr int kAutosaveNameCount = 1000;

// "$XDG_STATE_HOME/kvt2" (or "$HOME/.local/state/kvt2"); empty when neither gives an
// absolute folder.
std::string DefaultAutosaveFolder();

// One claimed autosave file: its path and the held lock. Moving hands the claim on; the
// destructor releases the lock and leaves the file (a recovered or never-saved window keeps
// its file for the next start).
class TAutosaveClaim {
public:
  TAutosaveClaim() = default;
  TAutosaveClaim(std::string path, int lockFd) : path(std::move(path)), lockFd(lockFd) {}
  ~TAutosaveClaim();
  TAutosaveClaim(TAutosaveClaim&& other) noexcept;
  TAutosaveClaim& operator=(TAutosaveClaim&& other) noexcept;
  TAutosaveClaim(const TAutosaveClaim&) = delete;
  TAutosaveClaim& operator=(const TAutosaveClaim&) = delete;

  bool IsHeld() const { return lockFd >= 0; }
  // The autosave file's path; empty when nothing is held.
  const std::string& Path() const { return path; }
  // Deletes the autosave file and its lock file, then releases the lock. Nothing held: no-op.
  void Remove();
  // Releases the lock and keeps the files.
  void Release();
  // Whether the autosave file is still a regular file of its own (not a link): the check
  // before each write, since the safe save would follow a link.
  bool IsPlainFile() const;

private:
  std::string path;
  int lockFd = -1;
};

enum class TAutosaveResult {
  kOk,
  kFolderFailed,   // the folder could not be made, or is a link, not a folder, or not ours
  kAllNamesTaken,  // every one of the 1000 names exists or is held
};

class TAutosaveStore {
public:
  // folder: as DefaultAutosaveFolder gives it, or the user's choice. Not touched until used.
  explicit TAutosaveStore(std::string folder) : folder(std::move(folder)) {}

  const std::string& Folder() const { return folder; }

  // Makes the folder private and ready (see the file comment). False with errno set when it
  // cannot be had.
  bool PrepareFolder() const;

  // Claims the first free name: locked and created empty, mode 0600. kAllNamesTaken when all
  // 1000 names exist or are held elsewhere.
  TAutosaveResult ClaimNewFile(TAutosaveClaim& claim) const;

  // Claims every autosave file left by a session that ended: the files "kvt*.asv" of the
  // folder that are regular files (no links, no folders), whose lock no running instance holds,
  // in name order. An empty file (a session that ended between its claim and its first
  // autosave) holds nothing and is removed instead.
  std::vector<TAutosaveClaim> ClaimRecoverableFiles() const;

  // Claims one autosave file ("kvt*.asv") of the folder, as recovery does; false when it is
  // held elsewhere, is not a regular file or lies outside the folder.
  bool ClaimExisting(const std::string& path, TAutosaveClaim& claim) const;

  // Set while an autosave failure is being reported: the timer's autosaves of the other
  // windows wait meanwhile, so one failure box shows at a time.
  bool IsReportingFailure() const { return reportingFailure; }
  void SetReportingFailure(bool on) { reportingFailure = on; }

private:
  std::string folder;
  bool reportingFailure = false;
};

}  // namespace kvt
