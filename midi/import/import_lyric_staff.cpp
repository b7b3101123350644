// The lyric staff of a MIDI import: the track's lyric (or karaoke) texts become one lyric line
// sung on hidden notes of pitch 71.
#include <algorithm>
#include <cstring>
#include <string>

#include "midi/import/import_converter.h"
#include "midi/smf/smf_data.h"
#include "notation/items/lyric_text.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_lyrics.h"

namespace kvt {

namespace {

constexpr int kLyricPitch = 71;
constexpr int kLyricTextBytes = 60;
constexpr int kLyricColumns = 80;

bool In(const char* set, char c) { return c != 0 && std::strchr(set, c) != nullptr; }

struct TMarkCounts {
  int leading = 0;
  int trailing = 0;
  int blanks = 0;
  int dashes = 0;
};

void CountMark(TMarkCounts& counts, char mark) {
  if (mark == ' ') ++counts.blanks;
  if (mark == '-') ++counts.dashes;
}

}  // namespace

std::unique_ptr<TMusicStaff> TMidiImportConverter::BuildLyricStaff(TSMFTrackData& track,
                                                                   int lyricMode, bool& gotLyrics) {
  gotLyrics = false;
  TSMFImportInstructions lyricInstruction;
  lyricInstruction.noteResolution = 4;
  lyricInstruction.restResolution = 3;
  Start(kLyrics, lyricInstruction);
  staff->SetLines(0);
  staff->SetGroup(u"Lyrics");
  const std::u16string name = ImportStaffName(track);
  if (!name.empty()) staff->SetName(name);

  // First pass: do the texts carry their separators at their end or at their start?
  TMarkCounts counts;
  uint32_t time = 0;
  std::string text;
  track.GetTextStream().Rewind();
  while (track.NextText(time, text, kLyricTextBytes + 1, lyricMode)) {
    if (text.size() < 2) continue;
    if (In("- \r\n\\/", text.back())) {
      ++counts.trailing;
      CountMark(counts, text.back());
    } else if (In("- \r\n\\/", text.front())) {
      ++counts.leading;
      CountMark(counts, text.front());
    }
  }
  const bool trailingStyle = counts.trailing >= counts.leading;
  const char* separators = trailingStyle ? "- \r\n" : "- \r\n\\/";
  const char defaultSeparator = counts.blanks < counts.dashes ? ' ' : '-';

  // Second pass: one UTF-8 lyric text.
  std::string lyric;
  int column = 0;
  char pending = ' ';
  bool written = false;
  int64_t previous = 0;
  track.GetTextStream().Rewind();
  while (track.NextText(time, text, kLyricTextBytes + 1, lyricMode)) {
    if (CheckCancel() || cut) break;
    if (text == "\r" || text == "\n") {
      lyric += '\n';
      column = 0;
      continue;
    }
    std::string syllable = text;
    char separator = defaultSeparator;
    if (!trailingStyle) {
      if (In(separators, syllable.front())) {
        separator = syllable.front();
        syllable.erase(0, 1);
      }
    } else {
      separator = pending;
      if (!syllable.empty() && In(separators, syllable.back())) {
        pending = syllable.back();
        syllable.pop_back();
      } else {
        pending = defaultSeparator;
      }
    }
    for (char& c : syllable)
      if (c == ' ' || c == '-' || c == '\r' || c == '\n' || c == '\t') c = '_';
    if (!syllable.empty() && (syllable.front() == '\\' || syllable.front() == '/')) {
      if (written) lyric += syllable.front() == '\\' ? "\n\n" : "\n";
      syllable.erase(0, 1);
      column = 0;
    }
    const int length = static_cast<int>(syllable.size());
    if (!syllable.empty() && separator == ' ' && written && column + length > kLyricColumns) {
      lyric += '\n';
      column = 0;
    }
    if (separator == '\\') {
      lyric += "\n\n";
      column = 0;
    } else if (separator == '\r' || separator == '\n' || separator == '/') {
      lyric += '\n';
      column = 0;
    } else if (column != 0) {
      lyric += separator;
      ++column;
    }
    if (syllable.empty()) continue;
    if (written) NoteOff(std::min<int64_t>(time, previous + 384), kLyricPitch);
    NoteOn(time, kLyricPitch);
    lyric += syllable;
    column += length;
    previous = time;
    written = true;
  }
  if (written && !cancelled) NoteOff(previous + 192, kLyricPitch);
  if (!cancelled && written) {
    auto line = std::make_unique<TLyricText>();
    TStaffLyrics& lyrics = staff->MakeLyrics();
    lyrics.SetAlign(kLyricsAlignStandard);
    line->ReadFromText(lyric, lyrics.GetUnderscoreAsSpace(), 65001);
    if (!line->IsEmpty()) {
      lyrics.Add(std::move(line));
      gotLyrics = true;
    }
  }
  return std::move(staff);
}

}  // namespace kvt
