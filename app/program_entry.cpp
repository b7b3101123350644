#include "app/program_entry.h"

#include <filesystem>
#include <system_error>

#include "app/command_line_tool.h"
#include "utils/path_utils.h"
#include "utils/private_profile.h"
#include "utils/sys_info.h"

namespace kvt {

namespace {

constexpr char kConfigSection[] = "Config";
constexpr char kProductKeyName[] = "RegKey";
constexpr int kUsageExitCode = 2;

}  // namespace

const char* GetProgramUsageText() {
  return "kvt2: a music-notation editor.\n"
         "usage:\n"
         "  kvt2 [score ...]                       open scores in the editor (needs a display)\n"
         "  kvt2 -convert [-0] <input> <output>   convert a score\n"
         "      .kvt    -> .kvttxt, .mid or .info\n"
         "      .kvttxt -> .kvt, .mid or .info\n"
         "  kvt2 -kvtut <tool.lua> [arguments]      run a user tool on the score text\n"
         "                                        of standard input\n";
}

std::string GetProgramFilePath(const std::string& argv0) {
  // The kernel's link to the running executable; other systems fall back to argv[0].
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error && self.is_absolute()) return self.string();
  std::string path = argv0;
  if (!path.empty()) MakeAbsolutePath(path);
  return path;
}

std::string GetProgramIniPath(const std::string& programFilePath) {
  if (programFilePath.empty()) return std::string();
  std::string path = programFilePath;
  ReplaceExtension(path, "ini");
  return path;
}

std::string GetProgramIniString(const char* key, const char* def, const char* section,
                                const std::string& iniPath, int bufferSize) {
  if (bufferSize < 1) return std::string();
  std::string buffer(static_cast<size_t>(bufferSize), '\0');
  // A missing path names no file, so the default comes back as for a missing file.
  const int32_t length =
      GetPrivateProfileString(section, key, def, buffer.data(), bufferSize, iniPath.c_str());
  buffer.resize(length < 0 ? 0 : static_cast<size_t>(length));
  return buffer;
}

int ProgramEntry(const TProgramStart& start, TSysInfo& sysInfo) {
  const std::string productKey = GetProgramIniString(kProductKeyName, kDefaultProductKey,
                                                     kConfigSection, start.programIniPath);
  sysInfo.SetProfileLocation(kSettingsCompany, productKey.c_str());

  int exitCode = 0;
  if (RunCommandLineTool(exitCode, start.arguments, start.messageOut, start.tools)) return exitCode;

  if (start.runEditor) {
    std::vector<std::string> arguments;
    if (start.arguments.size() > 1)
      arguments.assign(start.arguments.begin() + 1, start.arguments.end());
    const int editorExit = start.runEditor(arguments);
    if (editorExit != kNoEditor) return editorExit;
  }
  // Without the editor, the start only tells what the program can do.
  if (start.messageOut != nullptr) std::fputs(GetProgramUsageText(), start.messageOut);
  return start.arguments.size() > 1 ? kUsageExitCode : 0;
}

}  // namespace kvt
