#pragma once
// Cursors over a TMidiFileBuf. The buffer must outlive the cursor; a cursor over an empty
// buffer sits at index 0 and never moves.
//
// TMFBIndex: the current event index.
// TMFBTimeIndex: also follows real time: the tempo in force (microseconds per quarter,
// 500,000 at the start), the current tick, and the milliseconds elapsed up to the base tick
// (the tick of the last tempo or wait record passed, whose length is included).

#include <cstdint>

#include "midi/events/midi_file_buf.h"

namespace kvt {

// Milliseconds of a span of ticks at a tempo in microseconds per quarter (192 ticks), cut
// into pieces of at most 96,000 ticks, each rounded down as the sequencer counts time.
int64_t MidiTicksToMs(uint32_t tempoMicros, uint32_t ticks);
// ms x 192,000 / tempo (a tempo of 0 is taken as 1), saturated to 32 bits.
uint32_t MidiMsToTicks(uint32_t tempoMicros, int64_t ms);

class TMFBIndex {
public:
  explicit TMFBIndex(const TMidiFileBuf& buffer) : buffer(&buffer) {}
  virtual ~TMFBIndex() = default;

  // Index 0.
  virtual void Rewind();
  // Index i, clamped to the events.
  virtual void SetIndex(int i);
  // Advances by one when a next event exists.
  virtual void Next();

  // dir <= 0: index > 0; else index < count - 1.
  bool CanMove(int dir) const;
  // SetIndex(index +/- 1) when CanMove(dir).
  void Step(int dir);
  // Looks from the next event in the direction for a tempo or wait record and SetIndex
  // there; false (the cursor unchanged) when none is found.
  bool NextTempoOrWait(int dir);

  int GetIndex() const { return index; }
  const TMidiFileBuf& GetBuffer() const { return *buffer; }
  // An event exists at the index.
  bool IsValid() const { return index >= 0 && index < buffer->GetEventCount(); }
  // Precondition: IsValid().
  const TMidiSongEvent& GetEvent() const { return buffer->GetEvent(index); }

protected:
  int ClampIndex(int i) const;

  const TMidiFileBuf* buffer;
  int index = 0;
};

class TMFBTimeIndex : public TMFBIndex {
public:
  // Starts rewound.
  explicit TMFBTimeIndex(const TMidiFileBuf& buffer);

  // Tempo 500,000, all times 0, then accounts event 0.
  void Rewind() override;
  // i clamped to the events; rewinds when i is before the current index, then steps forward.
  void SetIndex(int i) override;
  void Next() override;

  // Milliseconds from the start to the current tick.
  int64_t GetElapsedMs() const;
  // SetIndex(FindTimeIndex(tick)), then the current tick becomes tick.
  void SeekTime(uint32_t tick);
  // Moves to the tick that plays `ms` milliseconds after the start.
  void SeekMs(int64_t ms);

  uint32_t GetTempo() const { return tempo; }
  uint32_t GetCurrentTick() const { return currentTick; }
  uint32_t GetBaseTick() const { return baseTick; }

private:
  void Account(const TMidiSongEvent& event);

  uint32_t tempo = 500000;
  uint32_t currentTick = 0;
  int64_t elapsedMs = 0;  // up to baseTick, including the length of a wait there
  uint32_t baseTick = 0;
};

}  // namespace kvt
