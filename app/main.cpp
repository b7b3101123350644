// The kvt2 executable. Command-line modes never need a display.

#include <clocale>
#include <string>
#include <vector>

#include "app/program_entry.h"
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
  return kvt::ProgramEntry(start, sysInfo);
}
