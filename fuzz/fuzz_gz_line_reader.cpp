// Reads arbitrary bytes (plain or gzip) as the user-tool runtime's standard input, line by
// line to the end: every line is bounded, and a damaged stream ends the reading.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "scripting/gz_line_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::FILE* file = std::tmpfile();
  if (file == nullptr) return 0;
  if (size > 0 && std::fwrite(data, 1, size, file) != size) {
    std::fclose(file);
    return 0;
  }
  std::fflush(file);
  std::rewind(file);
  constexpr size_t kMaxLine = 4096;
  kvt::TGzLineReader reader(fileno(file), kMaxLine);
  std::string line;
  for (int lines = 0;; ++lines) {
    const auto result = reader.ReadLine(line);
    if (result != kvt::TGzLineReader::TResult::kLine) break;
    if (line.size() > kMaxLine) std::abort();
    if (lines > 1 << 20) std::abort();
  }
  // After the end every read is the end.
  if (reader.ReadLine(line) == kvt::TGzLineReader::TResult::kLine) std::abort();
  std::fclose(file);
  return 0;
}
