#include "app/shell/app_folders.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/autosave_store.h"
#include "utils/path_utils.h"
#include "utils/sys_info.h"

namespace kvt {

namespace {

constexpr const char* kFolderKeys[kFolderKindCount] = {"Songs",           "MidiFiles",  "Templates",
                                                       "Backups",         "Config",     "AutoSave",
                                                       "InstrumentTrees", "UserPlugins"};

bool IsFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

bool MakeFolders(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(path, error);
  return IsFolder(path);
}

// An XDG base folder: the variable when it holds an absolute path, else $HOME/fallback.
std::string XdgFolder(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  if (value != nullptr && value[0] == '/') return value;
  const char* home = std::getenv("HOME");
  std::string path = home != nullptr ? home : "";
  AppendPathComponent(path, fallback);
  return path;
}

std::string DocumentsDefault(const std::string& fallback) {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  if (documents.isEmpty()) return fallback;
  std::string path = documents.toStdString();
  std::string own = path;
  AppendPathComponent(own, "Tarlowmede Razadove");
  if (IsFolder(own) || MakeFolders(own)) return own;
  return IsFolder(path) ? path : fallback;
}

std::string InDataFolder(const char* name) {
  std::string path = GetProgramDataFolder();
  AppendPathComponent(path, name);
  return path;
}

std::string DefaultFolder(int kind) {
  switch (kind) {
    case kFolderSongs: return DocumentsDefault(GetSamplesFolder());
    case kFolderMidiFiles: return DocumentsDefault(GetProgramDataFolder());
    case kFolderTemplates: return InDataFolder("Template");
    case kFolderConfig: {
      std::string path = XdgFolder("XDG_CONFIG_HOME", ".config");
      AppendPathComponent(path, "Tarlowmede Software/kvt2");
      MakeFolders(path);
      return path;
    }
    case kFolderAutoSave: return DefaultAutosaveFolder();
    case kFolderInstrumentTrees: return GetProgramDataFolder();
    case kFolderUserPlugins: return InDataFolder("Plugin");
    default: return std::string();  // Backups: beside the score
  }
}

bool IsUnder(const std::string& path, const std::string& folder) {
  if (folder.empty() || path.empty()) return false;
  std::string base = folder;
  NormalizeDirPath(base, false);
  return path == base || GetPathUnderFolder(path, base).has_value();
}

std::string Resolved(const std::string& path) {
  std::error_code error;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
  return error ? std::string() : resolved.string();
}

}  // namespace

const char* FolderKey(int kind) {
  return kind >= 0 && kind < kFolderKindCount ? kFolderKeys[kind] : nullptr;
}

std::string GetProgramDataFolder() {
  if (QCoreApplication::instance() != nullptr) {
    std::string installed = QCoreApplication::applicationDirPath().toStdString();
    AppendPathComponent(installed, "../share/kvt2");
    if (IsFolder(installed)) return Resolved(installed);
  }
  return KVT_RESOURCES_DIR;
}

std::string GetSamplesFolder() {
  std::string samples = InDataFolder("Samples");
  return IsFolder(samples) ? samples : std::string(KVT_EXAMPLES_DIR);
}

std::string GetFolder(TSysInfo& settings, int kind, bool noDefault) {
  const char* key = FolderKey(kind);
  if (key == nullptr) return std::string();
  std::string stored = settings.GetProfileString(kFoldersSection, key, "");
  if (!stored.empty() || noDefault) return stored;
  return DefaultFolder(kind);
}

bool SetFolder(TSysInfo& settings, int kind, const std::string& path) {
  const char* key = FolderKey(kind);
  return key != nullptr && settings.WriteProfileString(kFoldersSection, key, path.c_str());
}

bool IsPathInProgramFolder(const std::string& path, const std::string& programFolder,
                           const std::string& dataFolder) {
  const std::string real = Resolved(path);
  for (const std::string& folder : {programFolder, dataFolder}) {
    if (IsUnder(path, folder)) return true;
    if (!real.empty() && IsUnder(real, Resolved(folder))) return true;
  }
  return false;
}

}  // namespace kvt
