#include "midi/smf/smf_lyric_events.h"

#include <algorithm>
#include <string>
#include <vector>

#include "notation/items/lyric_text.h"
#include "midi/events/midi_file_buf.h"
#include "midi/events/midi_msg.h"
#include "midi/smf/smf_out_stream.h"
#include "midi/play/staff_midi_player_index.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/index/rel_ntn_idx.h"
#include "notation/items/song_note.h"
#include "notation/staff/staff_lyrics.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

// A syllable this long or longer gets no blank after it.
constexpr size_t kBlankLimitBytes = 250;

// A lyric event at `time`, or at the writer's current time when that is later (events only go
// forward in a track).
void WriteLyric(TSMFOutStream& out, uint32_t time, const std::string& text) {
  out.WriteTextAt(std::max(time, out.GetCurrentTime()), kSMFMetaLyric, text);
}

void WriteSyllable(TSMFOutStream& out, const TLyricSyllableIter& at, uint32_t time) {
  std::string text = Utf16ToUtf8(at.GetSyllable());
  text.resize(Utf8PrefixLength(text, kSMFMaxWideTextBytes));
  TLyricSyllableIter after = at;
  after.Next();
  const int separator = after.IsValid() ? after.GetSeparator() : 0;
  if (text.size() < kBlankLimitBytes && separator != kLyricHyphen) text += ' ';
  WriteLyric(out, time, text);
  if (separator == kLyricNewLine) {
    WriteLyric(out, time, "\r");
  } else if (separator == kLyricNewVerse || separator == 0) {
    WriteLyric(out, time, "\r");
    WriteLyric(out, time, "\n");
  }
}

}  // namespace

void WriteEventsWithLyrics(TSMFOutStream& out, TMidiFileBuf& store, const TMusicScore& score,
                           int staffIndex, uint32_t endTick) {
  TMusicStaff* staff = score.GetStaff(staffIndex);
  const TStaffLyrics* lyrics = staff ? staff->GetLyrics() : nullptr;
  if (!lyrics || lyrics->GetCount() == 0) {
    out.WriteEvents(store);
    return;
  }

  store.SetFilter(static_cast<uint16_t>(store.GetFilter() & ~(1u << kMidiKindWait)));
  store.AddWait(endTick + 1, 0);

  // One cursor per line; each moves on from where it last stood, so the walk over a line's
  // syllables stays linear.
  std::vector<TLyricSyllableIter> cursors;
  for (int i = 0; i < lyrics->GetCount(); ++i) cursors.emplace_back(*lyrics->GetLine(i), 0);
  TRelNtnIdx counter(staff);
  TStaffMidiPlayerIndex player;
  player.Bind(&score, staffIndex);
  player.StepToNextNote();

  const int count = store.GetEventCount();
  for (int i = 0; i < count; ++i) {
    const TMidiSongEvent& event = store.GetEvent(i);
    while (player.IsPlaying() && static_cast<int64_t>(player.GetSongPosition()) <= event.time) {
      counter.SetIndex(player.GetPlayIndex());
      const TSongNote* note = counter.GetSongNote();
      if (note && note->TakesLyric()) {
        const int verse = std::clamp(player.GetState().GetRepeatPass() - 1, 0,
                                     static_cast<int>(cursors.size()) - 1);
        const int syllable = counter.GetSyllableCount();
        auto hasSyllable = [syllable](TLyricSyllableIter& cursor) {
          return cursor.SeekTo(syllable) && cursor.IsValid() && !cursor.GetSyllable().empty();
        };
        // The pass's verse sings here; where it has no syllable (music after a repeat is often
        // written once, under the first verse), the first line that has one.
        TLyricSyllableIter* sung = &cursors[static_cast<size_t>(verse)];
        if (!hasSyllable(*sung)) {
          const auto line = std::find_if(cursors.begin(), cursors.end(), hasSyllable);
          sung = line == cursors.end() ? nullptr : &*line;
        }
        if (sung)
          WriteSyllable(out, *sung, static_cast<uint32_t>(std::max(player.GetSongPosition(), 0)));
      }
      player.StepToNextNote();
    }
    out.WriteEvent(event);
  }
}

}  // namespace kvt
