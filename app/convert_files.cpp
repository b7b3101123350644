#include "app/command_line_convert.h"

#include "app/convert_file_kind.h"
#include "utils/file_utils.h"

namespace kvt {

namespace {

constexpr size_t kFirstConvertArgument = 2;

bool IsValidConversion(int inputKind, int outputKind) {
  return outputKind != kConvertUnknown &&
         (inputKind == kConvertBinaryScore || inputKind == kConvertTextScore) &&
         inputKind != outputKind;
}

}  // namespace

const char* GetConvertUsageText() {
  return "convert: This option can be used to convert a file from one format to another.\n"
         "\nUsage: kvt2 -convert \"[input-file]\" \"[output-file]\"\n"
         "\nBoth files are required on the command line, and the file extension determines "
         "the conversion. Supported conversions include:\n\n"
         "\t.kvt    -> .kvttxt, .mid, or .info\n"
         "\t.kvttxt -> .kvt, .mid, or .info"
         "\n\nConversions to .mid support a \"-0\" option for type 0 files.";
}

int ConvertFiles(const std::vector<std::string>& arguments, std::string& messages) {
  TConvertOptions options;
  std::vector<const std::string*> names;
  for (size_t i = kFirstConvertArgument; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!argument.empty() && argument[0] == '-') {
      if (argument.size() > 1 && argument[1] == '0') options.midiFileType = 0;
      if (argument.size() > 1 && argument[1] == '1') options.midiFileType = 1;
      continue;
    }
    if (names.size() < 2) names.push_back(&argument);
  }

  if (names.size() == 2) {
    const std::string& input = *names[0];
    const std::string& output = *names[1];
    const int inputKind = GetConvertFileKind(input);
    const int outputKind = GetConvertFileKind(output);
    if (IsValidConversion(inputKind, outputKind)) {
      if (FileExists(input)) {
        return ConvertFile(inputKind, outputKind, input, output, options, messages);
      }
      messages += "Error: The input file \"" + input + "\" could not be found.";
      return 1;
    }
  }
  messages += GetConvertUsageText();
  return 2;
}

}  // namespace kvt
