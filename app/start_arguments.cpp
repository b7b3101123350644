#include "app/start_arguments.h"

#include "utils/text_case.h"

namespace kvt {

namespace {

bool IsSwitch(const std::string& argument, const char* name) {
  return CompareTextIgnoreCase(argument.c_str(), name) == 0;
}

}  // namespace

TStartRequest WalkStartArguments(const std::vector<std::string>& arguments) {
  TStartRequest request;
  for (const std::string& argument : arguments) {
    if (argument.empty()) continue;
    if (IsSwitch(argument, "/play") || IsSwitch(argument, "/close")) continue;
    if (IsSwitch(argument, "/enableexperimentation")) {
      request.experimentation = 1;
    } else if (IsSwitch(argument, "/disableexperimentation")) {
      request.experimentation = 0;
    } else {
      request.paths.push_back(argument);
    }
  }
  return request;
}

bool IsNewInstanceRequest(const std::vector<std::string>& arguments) {
  return arguments.size() == 1 && arguments[0] == "/newinst";
}

}  // namespace kvt
