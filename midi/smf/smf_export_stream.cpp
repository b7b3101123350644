#include "midi/smf/smf_export_stream.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "midi/smf/midi_export_shell.h"
#include "midi/events/midi_file_buf.h"
#include "midi/play/score_midi_player.h"
#include "midi/smf/smf_header_info.h"
#include "midi/smf/smf_lyric_events.h"
#include "midi/play/staff_midi_player_index.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_lyrics.h"

namespace kvt {

namespace {

// Event-kind filter bits of the store: a set bit drops that kind.
constexpr uint16_t kDropChannel = 1u << kMidiKindChannel;
constexpr uint16_t kDropTempo = 1u << kMidiKindTempo;
constexpr uint16_t kDropTimeSig = 1u << kMidiKindTimeSig;
constexpr uint16_t kDropKeySig = 1u << kMidiKindKeySig;
constexpr uint16_t kDropWait = 1u << kMidiKindWait;
constexpr uint16_t kDropSignatures = kDropTimeSig | kDropKeySig;

constexpr int kStoreSegments = 16;
constexpr int kStoreGrowth = 16;

bool HasLyricLines(const TMusicStaff& staff) {
  const TStaffLyrics* lyrics = staff.GetLyrics();
  return lyrics && lyrics->GetCount() > 0;
}

}  // namespace

TSMFExportStream::TSMFExportStream(TKRVStream& output, const TMusicScore& score,
                                   TMidiFileBuf& store, const TServices& services)
    : TSMFOutStream(output),
      score(score),
      store(store),
      services(services),
      shell(MidiExportShellOf(services)) {}

bool TSMFExportStream::WriteScore(int type) {
  if (type == 1) return WriteFile(1, score.GetStaffCount(), kSMFDivision);
  return WriteFile(0, 0, kSMFDivision);
}

void TSMFExportStream::WriteHeaderInfo(bool inTempoTrack) {
  TSMFSongInfo info;
  info.title = score.GetSongInfoText(kSongTitle);
  info.author = score.GetSongInfoText(kSongAuthor);
  info.copyright1 = score.GetSongInfoText(kSongCopyright1);
  info.copyright2 = score.GetSongInfoText(kSongCopyright2);
  WriteSMFHeaderInfo(*this, info, inTempoTrack);
}

void TSMFExportStream::WriteFirstTrackBody() {
  shell.ShowStatus("Writing Tempo Track");
  if (shell.GetHeaderPlacement() == kMidiHeaderTempoTrack) WriteHeaderInfo(true);

  store.Reset();
  const int count = score.GetStaffCount();
  uint32_t endTick = 0;
  if (GetFormat() == 1) {
    // Every staff's tempo marks count, so all staves play with only tempo events kept.
    store.SetFilter(kDropChannel | kDropWait | kDropSignatures);
    for (int i = 0; i < count && !store.GetOverflow(); ++i) {
      TStaffMidiPlayerIndex index(services);
      index.Bind(&score, i);
      index.RenderStaff(store);
    }
  } else {
    store.SetFilter(kDropWait | kDropSignatures);
    TScoreMidiPlayer player(services);
    player.SetScore(&score);
    player.RenderAll(store);
    endTick = static_cast<uint32_t>(player.GetEndTick());
  }

  // Staff 0's time and key signatures stand for the whole score.
  store.SetFilter(kDropChannel | kDropTempo | kDropWait);
  if (count > 0) {
    TStaffMidiPlayerIndex index(services);
    index.Bind(&score, 0);
    index.RenderStaff(store);
  }

  int lyricSource = -1;
  if (GetFormat() != 1) {
    for (int i = 0; i < count && lyricSource < 0; ++i) {
      if (HasLyricLines(*score.GetStaff(i))) lyricSource = i;
    }
  }
  if (lyricSource >= 0) {
    WriteEventsWithLyrics(*this, store, score, lyricSource, endTick);
  } else {
    WriteEvents(store);
  }
}

void TSMFExportStream::WriteTrackBody(int index) {
  if (shell.GetHeaderPlacement() == kMidiHeaderFirstStaffTrack && index == 0)
    WriteHeaderInfo(false);
  const TMusicStaff* staff = score.GetStaff(index);
  if (!staff) return;

  store.Reset();
  uint16_t filter = kDropTempo | kDropWait;
  if (!shell.GetExportPerTrackSignature()) filter |= kDropSignatures;
  store.SetFilter(filter);
  TStaffMidiPlayerIndex player(services);
  player.Bind(&score, index);

  const char port = static_cast<char>(std::clamp(staff->GetDevice(), 0, 255));
  WriteText(0, kSMFMetaPort, std::string(1, port));
  char status[32];
  std::snprintf(status, sizeof status, "Writing Track: %d", index);
  shell.ShowStatus(status);
  WriteTextW(0, kSMFMetaTrackName, staff->GetName());
  if (staff->IsMuted()) return;

  player.RenderStaff(store);
  if (HasLyricLines(*staff)) {
    WriteEventsWithLyrics(*this, store, score, index,
                          static_cast<uint32_t>(std::max(player.GetSongPosition(), 0)));
  } else {
    WriteEvents(store);
  }
}

bool WriteScoreAsMidi(TKRVStream& output, const TMusicScore& score, int type,
                      const TServices& services) {
  TMidiFileBuf store(kStoreGrowth);
  store.AllocSegments(kStoreSegments);
  store.Reset();
  TSMFExportStream writer(output, score, store, services);
  return writer.WriteScore(type);
}

}  // namespace kvt
