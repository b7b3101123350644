#include "midi/import/instrument_tree_store.h"

#include "utils/file_utils.h"
#include "utils/sys_info.h"

namespace kvt {

TInstrumentTreeStore::TInstrumentTreeStore(TSysInfo* settings, std::string treeFolder)
    : settings(settings), folder(std::move(treeFolder)) {}

std::string TInstrumentTreeStore::GetDefaultPath() const {
  if (folder.empty()) return kDefaultTreeFile;
  return folder.back() == '/' ? folder + kDefaultTreeFile : folder + "/" + kDefaultTreeFile;
}

std::unique_ptr<TInstrumentTreeItem> TInstrumentTreeStore::LoadInstrumentTree(const char* path) {
  if (path && *path && FileExists(path)) {
    current = path;
    if (settings) {
      if (current == GetDefaultPath())
        settings->WriteProfileString(kTreeSettingsSection, kTreeSettingsKey, nullptr);
      else
        settings->WriteProfileString(kTreeSettingsSection, kTreeSettingsKey, current.c_str());
    }
  } else if (current.empty()) {
    if (settings) current = settings->GetProfileString(kTreeSettingsSection, kTreeSettingsKey, "");
    if (current.empty()) current = GetDefaultPath();
  }
  return ReadInstrumentTreeFile(current);
}

}  // namespace kvt
