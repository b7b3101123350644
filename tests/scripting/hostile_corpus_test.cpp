// The hostile corpus: every script tries to escape the sandbox, exhaust it or stop it. Each
// must end with its clear error (first line "-- expect: <text>", or "<text> | <text>" where
// the memory cap or the deadline may come first on a slow build; a bytecode file expects the
// loader's refusal) within its limits, and the host must then run a benign call that finds
// everything in place.

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/scripting/sandbox_fixture.h"

namespace kvt::test {
namespace {

constexpr char kIntegrityCheck[] =
    "assert(string.find('abc', 'b') == 2 and ('x'):upper() == 'X')"
    " assert(type(kvt.ntnidx.find) == 'function' and kvt.txt.ClefType[1] == 'Treble')"
    " assert(getmetatable('') == nil and io == nil and x == nil and rawset == nil)"
    " local t = {} for i = 1, 1000 do t[i] = i end assert(#t == 1000)";

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

TEST_F(SandboxTest, HostileCorpusEndsWithClearErrorsAndTheHostStaysSound) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(KVT_LUA_CORPUS_DIR))
    files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  ASSERT_FALSE(files.empty());
  for (const auto& path : files) {
    const std::string text = ReadFile(path);
    std::string expected = "attempt to load a binary chunk";
    const std::string marker = "-- expect: ";
    if (text.rfind(marker, 0) == 0) expected = text.substr(marker.size(), text.find('\n') - marker.size());

    const auto start = std::chrono::steady_clock::now();
    std::string error;
    const int status = host->RunText(text, path.filename().c_str(), nullptr, 0, &error);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_NE(status, 0) << path.filename();
    bool matched = false;
    for (size_t start = 0; start <= expected.size();) {
      const size_t bar = expected.find(" | ", start);
      const std::string one = expected.substr(start, bar == std::string::npos ? std::string::npos : bar - start);
      matched |= error.find(one) != std::string::npos;
      if (bar == std::string::npos) break;
      start = bar + 3;
    }
    EXPECT_TRUE(matched) << path.filename() << ": " << error;
    EXPECT_LT(elapsed, std::chrono::seconds(3)) << path.filename();
    EXPECT_LE(host->GetBytesInUse(), kSandboxMemoryCap) << path.filename();

    if (host->IsFailed()) host->ClearBans();
    std::string benign;
    EXPECT_EQ(host->RunText(kIntegrityCheck, "=benign", nullptr, 0, &benign), 0)
        << path.filename() << ": " << benign;
  }
}

}  // namespace
}  // namespace kvt::test
