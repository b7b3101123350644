#pragma once
// TSMFImport: the Standard MIDI File reader that collects a file into a TSMFData: events
// rescaled to 192 ticks per quarter in one TSMFTrackData per track, texts, system-exclusive
// data; tempo and time-signature records go to the first track (the conductor track).
//
// Rules beyond the callbacks of TSMFInStream:
// - Division 0 counts as 32; an SMPTE division (negative: frames per second and ticks per
//   frame) counts frames x ticks per frame per second at 120 beats per minute.
// - Events after the 32-bit tick range of a score are dropped, with one warning.
// - Tracks from the 257th on keep no events or texts (an import instruction names tracks
//   0-255); their tempos and time signatures still reach the first track. One warning.
// - A track whose event store is full drops the rest, with one warning per track.
// - The data and services must outlive the reader.

#include <cstdint>
#include <memory>

#include "midi/smf/smf_data.h"
#include "midi/smf/smf_in_stream.h"

namespace kvt {

// Tracks that keep their contents.
inline constexpr int kSMFMaxStoredTracks = 256;

class TSMFImport : public TSMFInStream {
public:
  TSMFImport(TSMFData& data, TKRVStream& input, TKRVStream* log,
             const TServices& services = TServices());

  // File ticks t at division d (above 0) as ticks of 192 per quarter, rounded down.
  static int64_t ScaleTime(int64_t t, int d);

protected:
  void OnHeader(int format, int trackCount, int division) override;
  void OnTrackStart() override;
  void OnTrackEnd() override;
  void OnChannelMessage(int status, int data1, int data2) override;
  void OnTempo(uint32_t microseconds) override;
  void OnTimeSignature(int nn, int dd, int cc, int bb) override;
  void OnKeySignature(int sf, int mi) override;
  void OnPortPrefix(int port) override;
  void OnSysEx(const uint8_t* data, int length) override;
  void OnSysExContinuation(const uint8_t* data, int length) override;
  void OnText(int type, const char* text) override;

private:
  // The current event's time in score ticks; false (after one warning) when it lies past
  // the score's range.
  bool EventTime(uint32_t& time);
  // The current track when it keeps contents, else null.
  TSMFTrackData* StoringTrack();
  TSMFTrackData* FirstTrack();
  void AddEvent(TSMFTrackData& track, uint32_t time, TMidiMsg msg);
  void AddSysEx(int kind, const uint8_t* bytes, int length);

  TSMFData& data;
  std::unique_ptr<TSMFTrackData> current;
  int fileDivision = 192;
  int tracksSeen = 0;
  bool warnedLate = false;
  bool warnedTracks = false;
  bool warnedFull = false;
};

// Runs a TSMFImport over the input into data (reset to no tracks first). True when no error
// was reported.
bool ImportSMF(TSMFData& data, TKRVStream& input, TKRVStream* log,
               const TServices& services = TServices());

}  // namespace kvt
