#include "app/play_time.h"

#include <cstdio>

#include "midi/events/midi_file_buf.h"
#include "midi/events/midi_msg.h"
#include "midi/play/score_midi_player.h"
#include "notation/staff/music_score.h"

namespace kvt {

namespace {

constexpr int kMeasureSegments = 16;

}  // namespace

std::string FormatPlayTime(int64_t seconds) {
  if (seconds < 0) seconds = 0;
  const long long hours = seconds / 3600;
  const int minutes = static_cast<int>(seconds / 60 % 60);
  const int rest = static_cast<int>(seconds % 60);
  char text[48];
  if (hours > 0) {
    std::snprintf(text, sizeof text, "%lld:%02d:%02d", hours, minutes, rest);
  } else {
    std::snprintf(text, sizeof text, "%d:%02d", minutes, rest);
  }
  return text;
}

int64_t MeasurePlayTime(const TMusicScore& score, bool asPlayed) {
  // The same growth as the MIDI export's store, so a long score is measured whole rather
  // than cut where 16 segments end.
  TMidiFileBuf buffer(kMeasureSegments);
  buffer.AllocSegments(kMeasureSegments);
  TScoreMidiPlayer player;
  player.SetScore(&score);
  if (asPlayed) {
    player.BuildPlayBuffer(buffer);
  } else {
    buffer.Reset();
    // The file holds no pauses (fermatas, breaths, caesuras wait only in the player).
    buffer.SetFilter(1u << kMidiKindWait);
    player.RenderAll(buffer);
  }
  const int64_t milliseconds = buffer.GetPlayLength(0);
  return (milliseconds + 500) / 1000;
}

}  // namespace kvt
