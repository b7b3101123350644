#pragma once
// The program's main routine: where the settings live, then the command-line tools, then the
// editor. The editor is handed in (it needs Qt, this library does not); without one, or when
// it finds no display, the usage goes to the message stream and the exit code is 0 without
// arguments, else 2.

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/command_line_tool.h"

namespace kvt {

class TSysInfo;

inline constexpr char kSettingsCompany[] = "Tarlowmede Software";
inline constexpr char kDefaultProductKey[] = "Tarlowmede Razadove 2";
// The buffer the product key is read into: at most 127 bytes of it are kept.
inline constexpr int kProductKeyBufferSize = 128;

struct TProgramStart {
  std::vector<std::string> arguments;  // the process's arguments, the program first
  std::string programIniPath;          // the program's own ini file (GetProgramIniPath)
  std::FILE* messageOut = stderr;      // where the tools' messages and the usage go
  TToolServices tools;                 // what "-kvtut" tools need
  // Runs the editor with the arguments after the program path and answers the exit code, or
  // kNoEditor when it could not start (no display). Empty: no editor.
  std::function<int(const std::vector<std::string>& arguments)> runEditor;
};

inline constexpr int kNoEditor = -1;

// The exit code of the process (0 to 255). Before anything else it sets the settings store to
// company "Tarlowmede Software" and the product key of the program ini file's "RegKey" in
// section "Config" (default "Tarlowmede Razadove 2").
int ProgramEntry(const TProgramStart& start, TSysInfo& sysInfo);

// The running program's file: the executable's real path, or `argv0` when the system does not
// tell it.
std::string GetProgramFilePath(const std::string& argv0);
// The program file's path with its extension replaced by "ini" ("kvt2" -> "kvt2.ini").
std::string GetProgramIniPath(const std::string& programFilePath);

// The value of `key` in `section` of the ini file at iniPath, read into a buffer of
// bufferSize bytes (so cut to bufferSize - 1 bytes on a character boundary); the default when
// the file or the key is missing.
std::string GetProgramIniString(const char* key, const char* def, const char* section,
                                const std::string& iniPath, int bufferSize = kProductKeyBufferSize);

// The usage of the program, shown when neither a tool nor the editor runs.
const char* GetProgramUsageText();

}  // namespace kvt
