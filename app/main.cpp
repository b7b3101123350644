// The kvt2 executable. Command-line modes never need a display and never create the
// application object.

#include <clocale>
#include <string>
#include <vector>

#include "app/program_entry.h"
#include "app/shell/editor_start.h"
#include "scripting/qt/qt_script_dialogs.h"
#include "scripting/script_files.h"
#include "utils/sys_info.h"

int main(int argc, char** argv) {
  // Numbers in files never follow the user's locale.
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");

  kvt::TProgramStart start;
  start.arguments.assign(argv, argv + argc);
  start.programIniPath = kvt::GetProgramIniPath(kvt::GetProgramFilePath(argc > 0 ? argv[0] : ""));
  start.tools.programFolder = kvt::GetProgramFolder(argc > 0 ? argv[0] : "");
  // User tools show their dialogs only where a display is.
  kvt::TQtScriptDialogs toolDialogs;
  if (kvt::CanShowScriptDialogs()) start.tools.dialogs = &toolDialogs;
  // The one settings store: made before anything reads a setting, gone after the last use.
  kvt::TSysInfo sysInfo;
  start.runEditor = [&argc, argv, &sysInfo](const std::vector<std::string>& arguments) {
    const int result = kvt::RunEditor(argc, argv, arguments, sysInfo);
    return result == kvt::kEditorNoDisplay ? kvt::kNoEditor : result;
  };
  return kvt::ProgramEntry(start, sysInfo);
}
