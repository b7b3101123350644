// "kvt2 -kvtut" on a piped 16-staff, 2,000-bar score: a tool that transposes every note
// (kvtut.items, kvtNotePos) and writes the score out, beside copy-only tools. Each iteration
// runs the program as a child; reported are the time, the score text's megabytes per second
// and the child's peak memory. The machine's core count is in the context.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

extern char** environ;

namespace {

constexpr int kStaves = 16;
constexpr int kBars = 2000;

// A score text of kStaves staves of kBars bars: eighths with accidentals, a chord, a rest.
std::string MakeScoreText() {
  std::string text = "!TarlowmedeRazadove(2.75)\r\n|SongInfo|Title:\"Bench\"\r\n";
  char line[160];
  for (int s = 0; s < kStaves; ++s) {
    std::snprintf(line, sizeof line, "|AddStaff|Name:\"Staff %d\"\r\n", s + 1);
    text += line;
    text += s % 2 ? "|Clef|Type:Bass\r\n" : "|Clef|Type:Treble\r\n";
    text += "|Key|Signature:F#|Tonic:G\r\n|TimeSig|Signature:4/4\r\n";
    for (int bar = 0; bar < kBars; ++bar) {
      for (int k = 0; k < 4; ++k) {
        std::snprintf(line, sizeof line, "|Note|Dur:8th%s|Pos:%s%d|Opts:Beam=%s\r\n",
                      k == 2 ? ",Staccato" : "", k == 1 ? "#" : "", (bar + k) % 9 - 4,
                      k == 0 ? "First" : k == 3 ? "End" : "Middle");
        text += line;
      }
      text += "|Chord|Dur:4th|Pos:-4,b0,3\r\n|Rest|Dur:4th\r\n";
      text += bar % 16 == 15 ? "|Bar|Style:Double\r\n" : "|Bar\r\n";
    }
  }
  return text + "!TarlowmedeRazadove-End\r\n";
}

constexpr char kTransposeTool[] =
    "kvtut.setlevel(2)\n"
    "kvtut.writeline(kvtut.getprop('StartingLine'))\n"
    "for item in kvtut.items() do\n"
    "  if item:ContainsNotes() then\n"
    "    for np in item:AllNotePositions() do np.Position = np.Position + 1 end\n"
    "  end\n"
    "  kvtut.writeline(item)\n"
    "end\n"
    "kvtut.writeline(kvtut.getprop('EndingLine'))\n";

// Copies every item through kvtItem at the given level (0: the lines as they are).
std::string CopyTool(int level) {
  return "kvtut.setlevel(" + std::to_string(level) + ")\n"
         "kvtut.writeline(kvtut.getprop('StartingLine'))\n"
         "for item in kvtut.items() do kvtut.writeline(item) end\n"
         "kvtut.writeline(kvtut.getprop('EndingLine'))\n";
}

struct TFiles {
  std::string folder;
  std::string score;
  size_t scoreBytes = 0;
  TFiles() {
    char pattern[] = "/tmp/kvtut-bench-XXXXXX";
    folder = mkdtemp(pattern) ? pattern : "/tmp";
    score = folder + "/score.kvttxt";
    const std::string text = MakeScoreText();
    scoreBytes = text.size();
    std::ofstream(score, std::ios::binary) << text;
  }
  std::string Tool(const std::string& name, const std::string& text) const {
    const std::string path = folder + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
};

const TFiles& Files() {
  static const TFiles files;
  return files;
}

// Runs kvt2 -kvtut tool < score > /dev/null; false when it fails. peakKb: the child's peak
// resident memory.
bool RunTool(const std::string& tool, long& peakKb) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, Files().score.c_str(), O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  std::string exe = KVT2_EXECUTABLE, option = "-kvtut", script = tool;
  char* argv[] = {exe.data(), option.data(), script.data(), nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  struct rusage usage {};
  if (wait4(pid, &status, 0, &usage) != pid) return false;
  peakKb = usage.ru_maxrss;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void RunBench(benchmark::State& state, const std::string& tool) {
  long peakKb = 0;
  for (auto _ : state) {
    if (!RunTool(tool, peakKb)) state.SkipWithError("the tool failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(Files().scoreBytes));
  state.counters["score_MB"] = static_cast<double>(Files().scoreBytes) / 1e6;
  state.counters["peak_MB"] = static_cast<double>(peakKb) / 1024.0;
  state.counters["cores"] = static_cast<double>(std::thread::hardware_concurrency());
}

void BM_KvtutTranspose(benchmark::State& state) {
  RunBench(state, Files().Tool("transpose.lua", kTransposeTool));
}
BENCHMARK(BM_KvtutTranspose)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_KvtutCopyItems(benchmark::State& state) {
  RunBench(state, Files().Tool("copy_items.lua", CopyTool(2)));
}
BENCHMARK(BM_KvtutCopyItems)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_KvtutCopyLines(benchmark::State& state) {
  RunBench(state, Files().Tool("copy_lines.lua", CopyTool(0)));
}
BENCHMARK(BM_KvtutCopyLines)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
