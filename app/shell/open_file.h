#pragma once
// Opening files by kind: every way of opening (menu dialogs, the command line, a second start,
// a drop, a desktop execute command) ends in OpenFileByPath, which tells the file's kind by its
// name (app/open_file_kind.h), reads it with the matching reader, reports a failure in a "File
// Open" box and hands the score to a new score window.

#include <memory>
#include <string>

class QWidget;

namespace kvt {

class TMusicScore;
class TTarlowmedeFrame;
struct TScoreFileHeader;

// Opens or activates: a file already shown in a score window activates that window, which
// reloads it.
void OpenFileByPath(TTarlowmedeFrame& frame, const std::string& path, int mode);

// What the file's kind gives: the score (null after the failure's message, or for a script,
// which is offered for installation instead) and whether a window saves back to the file.
struct TLoadedScore {
  std::unique_ptr<TMusicScore> score;
  bool bound = false;
};
TLoadedScore LoadScoreByKind(TTarlowmedeFrame& frame, const std::string& path, int mode);

// A binary score file (or a text score under a binary name), offering the repair of a binary
// file damaged by a text-mode copy ("Improper File Translation"); a repair declined or giving
// no score leaves the first load and its header as they were. Null after the failure's
// message; a score that loaded only in part comes back after its message. Mode 5 (the import
// dialog) gives null: binary scores are not imported.
std::unique_ptr<TMusicScore> LoadNativeScoreFile(QWidget* owner, const std::string& path, int mode,
                                                 TScoreFileHeader& header);

}  // namespace kvt
