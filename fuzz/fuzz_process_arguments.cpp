// Command lines come from user-tool settings: any bytes must split without fault, and the
// arguments never hold more characters than the line.
#include "utils/process_arguments.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view line(reinterpret_cast<const char*>(data), size);
  size_t total = 0;
  for (const std::string& argument : kvt::SplitCommandLine(line)) total += argument.size();
  if (total > size) std::abort();
  return 0;
}
