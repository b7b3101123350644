#pragma once
// Helpers for the compressed-stream tests: fixtures compressed by zlib directly (so the reader
// is never checked only against our own writer), score-like sample text, a temporary folder
// and a runner for the real gzip program.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern char** environ;

namespace kvt::test {

using Bytes = std::vector<uint8_t>;

inline Bytes ToBytes(const std::string& s) { return Bytes(s.begin(), s.end()); }

// zlib window bits: 15 a zlib stream, 31 a gzip stream.
inline Bytes DeflateWith(const Bytes& data, int windowBits, int level = 9) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK) return {};
  Bytes out(deflateBound(&z, data.size()) + 64);
  z.next_in = const_cast<uint8_t*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  int result = deflate(&z, Z_FINISH);
  out.resize(out.size() - z.avail_out);
  deflateEnd(&z);
  return result == Z_STREAM_END ? out : Bytes{};
}

// "[KVZ]", its zero byte and a zlib stream of the data.
inline Bytes TaggedStream(const Bytes& data) {
  Bytes out = {'[', 'K', 'V', 'Z', ']', 0};
  Bytes z = DeflateWith(data, 15);
  out.insert(out.end(), z.begin(), z.end());
  return out;
}

inline Bytes GzipStream(const Bytes& data) { return DeflateWith(data, 31); }

// Decodes a whole zlib (15) or gzip (31) stream; false unless it ends properly.
inline bool InflateWith(const Bytes& in, int windowBits, Bytes& out) {
  z_stream z{};
  if (inflateInit2(&z, windowBits) != Z_OK) return false;
  out.clear();
  uint8_t buffer[4096];
  z.next_in = const_cast<uint8_t*>(in.data());
  z.avail_in = static_cast<uInt>(in.size());
  int result;
  do {
    z.next_out = buffer;
    z.avail_out = sizeof buffer;
    result = inflate(&z, Z_NO_FLUSH);
    out.insert(out.end(), buffer, buffer + (sizeof buffer - z.avail_out));
  } while (result == Z_OK);
  inflateEnd(&z);
  return result == Z_STREAM_END && z.avail_in == 0;
}

// Score-like text lines ending in CR LF, cut to exactly n bytes.
inline Bytes ScoreText(size_t n) {
  std::string s;
  s.reserve(n + 64);
  char line[64];
  for (unsigned i = 0; s.size() < n; ++i) {
    std::snprintf(line, sizeof line, "|Note|Pos:%d|Dur:%u|Tie:%u\r\n",
                  static_cast<int>((i * 7) % 13) - 6, 1u << (i % 4), (i / 5) % 2);
    s += line;
  }
  s.resize(n);
  return ToBytes(s);
}

// Bytes that do not compress: a fixed linear congruential sequence.
inline Bytes NoiseBytes(size_t n) {
  Bytes out(n);
  uint32_t x = 12345;
  for (auto& b : out) {
    x = x * 1103515245u + 12345u;
    b = static_cast<uint8_t>(x >> 24);
  }
  return out;
}

// A fresh folder under /tmp, removed with everything in it.
class TempDir {
public:
  TempDir() {
    char pattern[] = "/tmp/kvt-zlib-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (made != nullptr) path = made;
  }
  ~TempDir() {
    std::error_code ignored;
    if (!path.empty()) std::filesystem::remove_all(path, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  bool Ok() const { return !path.empty(); }
  std::string File(const char* name) const { return path + "/" + name; }

  std::string path;
};

inline bool WriteFileBytes(const std::string& path, const Bytes& data) {
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  return static_cast<bool>(f);
}

inline Bytes ReadFileBytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// Runs a program found on PATH with its standard input and output on the given files, never
// through a shell. The exit status, or -1 when it could not run or ended on a signal.
inline int RunProgram(const std::vector<std::string>& args, const std::string& inputPath,
                      const std::string& outputPath) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, inputPath.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, outputPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

}  // namespace kvt::test
