#pragma once
// Test helpers of the converter: a small score, fixture files made from it by the writers,
// folder listings, a file-size limit that makes writes fail, and the MIDI file dump.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "notation/files/binary/binary_score_file.h"
#include "notation/items/clef_data.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_note.h"
#include "utils/atomic_file_write.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/context/staff_context_state.h"
#include "notation/items/tempo_data.h"
#include "notation/items/time_signature_data.h"
#include "tests/utils/process_runner.h"
#include "tests/utils/temp_folder.h"
#include "utils/stream.h"

namespace kvt::test {

inline constexpr int kSmallScoreChannel = 3;
inline constexpr int kSmallScoreTempo = 90;

// One staff "Melody" on channel 3 (0-based) at 90 quarter notes a minute in 4/4: C4, E4
// (quarters), G4 (half), then a whole rest. As played 8 beats (5.33 s); as exported up to the
// end of the last note, which sounds for 7/8 of its half (720 ticks, just under 2.5 s).
inline std::unique_ptr<TMusicScore> MakeSmallScore() {
  auto score = std::make_unique<TMusicScore>();
  score->SetSongInfoText(kSongTitle, u"Small Tune");
  score->SetSongInfoText(kSongAuthor, u"A. Writer");
  auto staff = std::make_unique<TMusicStaff>();
  staff->SetName(u"Melody");
  staff->SetChannel(kSmallScoreChannel);
  auto add = [&](std::unique_ptr<TNotatedItem> item) {
    staff->InsertItem(std::move(item), staff->GetLastIndex());
  };
  add(std::make_unique<TClefData>(kClefTreble));
  add(std::make_unique<TTimeSignatureData>(4, 2));
  add(std::make_unique<TTempoData>(kSmallScoreTempo, kTempoQuarter));
  add(std::make_unique<TMusicNote>(6, kDurQuarter, 0, kAccNone));  // C4
  add(std::make_unique<TMusicNote>(4, kDurQuarter, 0, kAccNone));  // E4
  add(std::make_unique<TMusicNote>(2, kDurHalf, 0, kAccNone));     // G4
  add(std::make_unique<TRestNote>(kDurWhole, 0));
  score->AddStaff(std::move(staff));
  return score;
}

inline std::string ScoreText(const TMusicScore& score) {
  std::string text;
  TTempFolder folder;
  const std::string path = folder / "score.kvttxt";
  const bool written = WriteFileAtomically(path, TSaveBackups{}, [&](TKRVStream& file) {
    WriteScoreText(file, score);
    return !file.IsError();
  });
  EXPECT_TRUE(written);
  return TTempFolder::ReadFile(path);
}

inline void WriteTextScore(const std::string& path, const TMusicScore& score) {
  TTempFolder::WriteFile(path, ScoreText(score));
}

inline void WriteBinaryScore(const std::string& path, const TMusicScore& score, bool compressed) {
  ASSERT_TRUE(WriteScoreToFile(path.c_str(), compressed, score)) << path;
}

// The names in a folder, sorted.
inline std::vector<std::string> ListFolder(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Every LF of the text turned into CR LF, as a text-mode transfer does to a binary file.
inline std::string DamageByTextMode(const std::string& bytes) {
  std::string out;
  for (char c : bytes) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

// While it lives, no file of this process (or of a child started meanwhile) can grow past
// `bytes`: writes beyond fail with EFBIG instead of raising SIGXFSZ.
class TFileSizeLimit {
public:
  explicit TFileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &savedAction);
    struct rlimit limit = saved;
    limit.rlim_cur = bytes;
    active = setrlimit(RLIMIT_FSIZE, &limit) == 0;
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &savedAction, nullptr);
  }
  TFileSizeLimit(const TFileSizeLimit&) = delete;
  TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;
  bool IsActive() const { return active; }

private:
  struct rlimit saved {};
  struct sigaction savedAction {};
  bool active = false;
};

// The MIDI file as mido reads it (tests/midi/data/smf_dump.py): one event a line.
inline std::string DumpMidiFile(const std::string& path) {
  TProcessResult run = RunProcess({"/usr/bin/python3", KVT_SMF_DUMP_SCRIPT, path});
  EXPECT_TRUE(run.started);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return run.out;
}

// The playing time of the MIDI file in seconds, as mido works it out.
inline double MidiFileSeconds(const std::string& path) {
  TProcessResult run = RunProcess({"/usr/bin/python3", KVT_SMF_DUMP_SCRIPT, path, "--length"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return std::atof(run.out.c_str());
}

// The lines of a dump that contain `part`.
inline std::vector<std::string> LinesWith(const std::string& text, const std::string& part) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (line.find(part) != std::string::npos) lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

}  // namespace kvt::test
