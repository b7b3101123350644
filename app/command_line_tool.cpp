#include "app/command_line_tool.h"

#include "app/command_line_convert.h"
#include "scripting/user_tool_runtime.h"
#include "utils/text_case.h"

namespace kvt {

namespace {

constexpr size_t kMinConvertArguments = 3;

// The message box of a windowed start becomes one block of text on the message stream.
void ShowToolMessages(std::FILE* out, const std::string& messages) {
  if (messages.empty() || out == nullptr) return;
  std::fwrite(messages.data(), 1, messages.size(), out);
  if (messages.back() != '\n') std::fputc('\n', out);
  std::fflush(out);
}

}  // namespace

bool RunCommandLineTool(int& exitCode, const std::vector<std::string>& arguments,
                        std::FILE* messageOut, const TToolServices& tools) {
  if (arguments.size() >= kMinConvertArguments &&
      CompareTextIgnoreCase(arguments[1].c_str(), "-convert") == 0) {
    std::string messages;
    exitCode = ConvertFiles(arguments, messages);
    ShowToolMessages(messageOut, messages);
    return true;
  }
  for (size_t i = 1; i < arguments.size(); ++i) {
    if (CompareTextIgnoreCase(arguments[i].c_str(), "-kvtut") != 0) continue;
    // Without a script the option is not a tool: the normal start goes on.
    if (i + 1 >= arguments.size() || arguments[i + 1].empty()) return false;
    TUserToolRun run;
    run.programFolder = tools.programFolder;
    run.scriptPath = arguments[i + 1];
    run.arguments.assign(arguments.begin() + static_cast<std::ptrdiff_t>(i + 2), arguments.end());
    run.errorOut = messageOut;
    run.dialogs = tools.dialogs;
    exitCode = RunUserToolRuntime(run);
    return true;
  }
  return false;
}

}  // namespace kvt
