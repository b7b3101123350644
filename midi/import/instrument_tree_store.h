#pragma once
// TInstrumentTreeStore: the application's current instrument tree file. The file picked last
// is remembered for the session and in the settings ("Options"/"InstrumentTree"; the value is
// removed when the file is the default one); without either, the default tree
// "Default.kvtitree" of the program's instrument-tree folder is used.
//
// The settings store must outlive this object (null: nothing is remembered across runs).

#include <memory>
#include <string>

#include "midi/import/instrument_tree.h"

namespace kvt {

class TSysInfo;

inline constexpr char kTreeSettingsSection[] = "Options";
inline constexpr char kTreeSettingsKey[] = "InstrumentTree";
inline constexpr char kDefaultTreeFile[] = "Default.kvtitree";

class TInstrumentTreeStore {
public:
  TInstrumentTreeStore(TSysInfo* settings, std::string treeFolder);

  // With the path of an existing file: that file becomes the current tree (and is stored);
  // otherwise the remembered one, else the stored setting, else the default. Reads the current
  // file into a new tree (never null; the caller owns it).
  std::unique_ptr<TInstrumentTreeItem> LoadInstrumentTree(const char* path);

  std::string GetDefaultPath() const;
  const std::string& GetCurrentPath() const { return current; }

private:
  TSysInfo* settings;
  std::string folder;
  std::string current;
};

}  // namespace kvt
