#pragma once
// The folders the editor remembers ("Folders" in the settings) and their defaults on this
// system: the user's documents folder (XDG), the XDG config and state folders, and the
// program's data folder (share/kvt2 when installed, the source tree's resources/ when run from
// the build).

#include <string>

namespace kvt {

class TSysInfo;

enum TFolderKind : int {
  kFolderSongs = 0,
  kFolderMidiFiles = 1,
  kFolderTemplates = 2,
  kFolderBackups = 3,
  kFolderConfig = 4,
  kFolderAutoSave = 5,
  kFolderInstrumentTrees = 6,
  kFolderUserPlugins = 7,
  kFolderKindCount
};

inline constexpr char kFoldersSection[] = "Folders";

// The settings key of a kind ("Songs" ... "UserPlugins"); null for another number.
const char* FolderKey(int kind);

// The program's data folder: share/kvt2 beside the program's bin folder when that exists,
// else the build tree's resources; needs a QCoreApplication for the first.
std::string GetProgramDataFolder();
// The folder of the bundled sample scores.
std::string GetSamplesFolder();

// The stored folder of the kind when set (or, with noDefault, whatever is stored, even
// nothing); otherwise the kind's default (below). Defaults of Songs and MidiFiles are the
// folder "Tarlowmede Razadove" in the user's documents folder when it exists or can be made;
// Config is "Tarlowmede Software/kvt2" in the XDG config folder (made when missing); AutoSave
// is the autosave store's private folder in the XDG state folder (made by the store); Backups has
// none (backups beside the score); the others lie in the data folder.
std::string GetFolder(TSysInfo& settings, int kind, bool noDefault = false);
bool SetFolder(TSysInfo& settings, int kind, const std::string& path);

// True when the path lies in the program's folder or its data folder, as spelled or as the
// file system resolves them; whole path components are compared ("/opt/kvt2x" is not in
// "/opt/kvt2").
bool IsPathInProgramFolder(const std::string& path, const std::string& programFolder,
                           const std::string& dataFolder);

}  // namespace kvt
