#include "app/command_line_tool.h"

#include "app/command_line_convert.h"
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
                        std::FILE* messageOut) {
  if (arguments.size() >= kMinConvertArguments &&
      CompareTextIgnoreCase(arguments[1].c_str(), "-convert") == 0) {
    std::string messages;
    exitCode = ConvertFiles(arguments, messages);
    ShowToolMessages(messageOut, messages);
    return true;
  }
  return false;
}

}  // namespace kvt
