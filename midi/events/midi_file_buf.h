#pragma once
// TMidiFileBuf: the time-sorted store of MIDI events that every producer (score player, item
// Perform, MIDI file reader, scripts) writes and the sequencer and MIDI file writer read.
//
// Events live in segments of 2048 (kMidiSegmentEvents), at most 1024 segments
// (kMidiMaxSegments). Every segment below the highest used one is full, so event i is in
// segment i / 2048 at position i % 2048. Events are ordered by time and, at equal times, by
// TMidiMsg::GetSortPriority; an event that ties with stored ones goes after them.
//
// A full buffer never throws: the event is lost and GetOverflow() turns true; producers test
// the flag and stop. The buffer owns its segments; the sequencer only borrows them
// (GetSegment) while the buffer lives and is not changed.
//
// A time limit applies to one rendering (Reset clears it):
//   end cut-off (mode 0): events at or after the limit are dropped;
//   start offset (mode 1): later events move back by the limit; earlier ones are "chased":
//     notes and waits are dropped and the rest collapse to time 0, one record per kind,
//     per controller or per channel setting, the latest winning.

#include <cstdint>
#include <memory>
#include <vector>

#include "midi/events/midi_song_event.h"

namespace kvt {

inline constexpr int kMidiMaxSegments = 1024;
inline constexpr int kMidiMaxEvents = kMidiMaxSegments * kMidiSegmentEvents;

enum TMidiTimeLimitMode : int {
  kMidiEndCutoff = 0,
  kMidiStartOffset = 1,
};

class TMidiFileBuf {
public:
  // Allocates segment 0 empty and resets. growthStep: segments added when all allocated
  // segments are full (0 = never grow; negative is taken as 0).
  explicit TMidiFileBuf(int growthStep = 0);
  TMidiFileBuf(const TMidiFileBuf&) = delete;
  TMidiFileBuf& operator=(const TMidiFileBuf&) = delete;
  ~TMidiFileBuf();

  // Empties every allocated segment; clears overflow, time limit, last chased tempo time and
  // filter. The time-limit mode keeps its value (with limit 0 it has no effect).
  void Reset();
  // Replaces the segments with n empty ones (n clamped to 1024). Precondition "NumBufs > 0".
  // Returns n.
  int AllocSegments(int NumBufs);
  // Adds up to n empty segments after the last allocated one, never beyond 1024 in all.
  // Returns how many were added.
  int Grow(int n);
  int GetGrowthStep() const { return growthStep; }
  void SetGrowthStep(int n) { growthStep = n > 0 ? n : 0; }

  void SetEndCutoff(uint32_t time);
  void SetStartOffset(uint32_t time);
  int GetTimeLimitMode() const { return timeLimitMode; }
  uint32_t GetTimeLimit() const { return timeLimit; }
  // Bit k set drops every event of record kind k.
  void SetFilter(uint16_t mask) { filter = mask; }
  uint16_t GetFilter() const { return filter; }

  void AddEvent(const TMidiSongEvent& event);
  void AddEvent(uint32_t time, TMidiMsg msg) { AddEvent(TMidiSongEvent(time, msg)); }
  // A tempo record of 60,000,000 / max(bpm, 4) microseconds per quarter.
  void AddTempo(uint32_t time, int bpm);
  void AddTimeSignature(uint32_t time, int numerator, int power);
  void AddKeySignature(uint32_t time, int count, bool minor);
  void AddWait(uint32_t time, int length);
  // A pause of `seconds` after the last event: at T = last time (+ start offset in mode 1)
  // + 1 a tempo of 60 bpm and a wait of seconds x 4 steps (clamped to 16 bits).
  void AddPause(int seconds);

  int GetEventCount() const;
  // Precondition "Count > i" (and i >= 0).
  const TMidiSongEvent& GetEvent(int i) const;
  // Segment 0 holds no event.
  bool IsEmpty() const;
  bool GetOverflow() const { return overflow; }
  // 0 when empty; otherwise the time of the last stored event.
  uint32_t GetLastTime() const;

  // 0 when the buffer is empty or the first event is at or after t; count - 2 (at least 0)
  // when the last event is before t; otherwise the first event at t, else the last before t.
  int FindTimeIndex(uint32_t t) const;
  // Milliseconds from the start to tick t (t = 0: to the last event).
  int64_t GetPlayLength(uint32_t t) const;

  // --- analyses over channel messages; channelMask bit c selects channel c ---
  // Channels (16-bit mask) that use any command whose bit is set in commandMask.
  uint16_t GetChannelsUsed(int commandMask, uint16_t channelMask) const;
  // Lowest / highest note of the note-on messages (velocity not considered); -1 when none.
  int GetLowestNote(uint16_t channelMask) const;
  int GetHighestNote(uint16_t channelMask) const;
  // The widest spread (highest minus lowest sounding note) seen after any note-on; 0 when none.
  int GetWidestSpread(uint16_t channelMask) const;
  // For one port: programs[p] gets bit c for a program change to p on channel c (of
  // channelMask), drumKeys[k] bit c for a note-on of key k on a drum channel c (of
  // drumChannelMask). Both arrays hold 128 entries and are cleared first.
  void GetPatchesAndDrumKeys(int port, uint16_t channelMask, uint16_t drumChannelMask,
                             uint16_t programs[128], uint16_t drumKeys[128]) const;

  // --- segments, for the sequencer and the writer ---
  // Number of allocated segments (last allocated index + 1).
  int GetSegmentCount() const { return static_cast<int>(segments.size()); }
  // Highest used segment index, -1 when empty.
  int GetHighestUsedSegment() const { return highestUsed; }
  // Segment i of the allocated ones; null outside them.
  const TMidiSongEventBuf* GetSegment(int i) const;

private:
  // Time-limit and filter rules; false when the event is dropped or absorbed by chasing.
  bool PrepareEvent(TMidiSongEvent& event);
  TMidiSongEvent& EventAt(int i);
  // Overwrites an equivalent record at time 0 of segment 0, keeping the order; true when one
  // was found.
  bool ReplaceChasedEvent(const TMidiSongEvent& event);
  // The cascade through the allocated segments, then growth; false when no room was found.
  bool PlaceEvent(TMidiSongEvent event);
  void MarkUsed(int segment);

  std::vector<std::unique_ptr<TMidiSongEventBuf>> segments;
  int highestUsed = -1;
  bool overflow = false;
  int timeLimitMode = kMidiEndCutoff;
  uint32_t timeLimit = 0;
  uint16_t filter = 0;
  uint32_t lastChasedTempoTime = 0;
  int growthStep = 0;
};

}  // namespace kvt
