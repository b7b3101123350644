#include "app/string_table.h"

#include <algorithm>
#include <iterator>

namespace kvt {

namespace {

struct TStringEntry {
  int id;
  const char* text;
};

// Sorted by id.
constexpr TStringEntry kStrings[] = {
    {kStrFileOpen, "File Open"},
    {kStrUnknownFileType,
     "File: %s\n\nTarlowmede Razadove does not recognize the file type '%s', so it is unable to "
     "open the file."},
    {kStrFileFailedToOpen,
     "File: %s\n\nThis file failed to open. It either does not exist or may be corrupted."},
    {kStrFileFromNewerApp,
     "File: %s\n\nThis file was created by an application newer than this one and cannot safely "
     "be loaded."},
    {kStrFileVersionTooNew,
     "File: %s\n\nThis is a version '%s' file, which is from a newer version of this "
     "application. It cannot be loaded using this application version."},
    {kStrFileNotLoadable, "File: %s\n\nThis file cannot be loaded into this application"},
    {kStrOlderFormatSave,
     "Warning for File: %s\n\nThis song was last saved using an older KVT file format. If you "
     "save this file now, the original version will no longer be able to open it.\n\nProceed?"},
    {kStrFileLoadError, "File: %s\n\nAn error was detected while loading the file."},
    {kStrFileSave, "File Save"},
    {kStrFileSaveFailed, "File: %s\n\nThis file failed to be properly saved."},
    {kStrMemoryCritical, "System Memory Critical"},
    {kStrMemoryCriticalText,
     "Warning: System memory is critically low. We recommend saving your work as soon as "
     "possible.\n\nDo you wish to continue receiving this warning?"},
    {kStrReadOnlySave, "File: %s\n\nThis is a read-only file.\n\nTry anyway?"},
    {kStrExperimentalFile, "Experimental File"},
    {kStrPleaseConfirm, "Please Confirm"},
    {kStrClearHistory, "Do you really want to clear the history of recently opened files?"},
    {kStrAddScript, "File: %s\n\nThis is a Lua script.\n\nDo you want to add this to the system?"},
};

}  // namespace

const char* LoadProgramString(int id) {
  const auto found =
      std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                       [](const TStringEntry& e, int value) { return e.id < value; });
  return found != std::end(kStrings) && found->id == id ? found->text : nullptr;
}

}  // namespace kvt
