// The MIDI output of a note: velocity from the running dynamic and the accents, grace-note
// timing, and the played length from the articulations and the performance style.

#include "midi/events/midi_file_buf.h"
#include "notation/items/music_note.h"
#include "notation/items/packed_field.h"

namespace kvt {

namespace {

// Performance styles that change how notes are played (the running state's style code).
constexpr int kStyleLegato = 7;
constexpr int kStyleMarcato = 9;
constexpr int kStyleStaccato = 18;
constexpr int kStyleTenuto = 20;

// Grace notes sound 24 ticks each, one after another from the beat.
constexpr int kGraceTicks = 24;
// The played-length percentage "none": the length loses a fixed gap instead.
constexpr int kNoPercent = -1;

int AccentWeight(uint16_t flags) {
  const bool tenuto = flags & kMaskTenuto;
  if (flags & kMaskAccent) return tenuto ? 9 : 8;
  if (flags & kMaskMarcato) return tenuto ? 11 : 10;
  return tenuto ? 1 : 0;
}

int PlayedPercent(uint16_t flags, int perfStyle) {
  const int e = ((flags & kMaskTenuto) ? 1 : 0) + ((flags & kMaskSlur) ? 1 : 0);
  int f;
  if (flags & kMaskStaccatissimo)
    f = e > 0 ? 50 : 28;
  else if (flags & kMaskStaccato)
    f = e > 0 ? 65 : 38;
  else
    f = e > 0 ? 100 : kNoPercent;
  if (perfStyle == kStyleLegato || perfStyle == kStyleTenuto) {
    f = f == kNoPercent ? 100 : f + 10;
  } else if (perfStyle == kStyleStaccato) {
    if (f == kNoPercent)
      f = 40;
    else if (f < 100)
      f -= 10;
    else if (f == 100 && e != 2)
      f = 99;
  }
  return f;
}

int PlayedLength(int length, int percent) {
  if (percent == kNoPercent) {
    if (length < 192) return length - 2;
    if (length < 384) return length - 32;
    return length - 48;
  }
  if (percent == 99) return length - 1;
  if (percent >= 100) return length;
  return static_cast<int>((static_cast<int64_t>(length) * percent + 50) / 100);
}

uint32_t EventTime(int64_t ticks) {
  return static_cast<uint32_t>(ticks < 0 ? 0 : (ticks > INT32_MAX ? INT32_MAX : ticks));
}

}  // namespace

TMidiMsg TMusicNote::MakeNoteOnEvent(const TStaffContextState& state) const {
  int velocity = state.GetNoteVelocity();
  if (GetFlags() & (kMaskAccent | kMaskMarcato)) velocity = velocity * 7 / 5;
  return TMidiMsg::Channel(kMidiNoteOn, state.GetPort(), state.GetChannel(), GetPitch(state),
                           ClampInt(velocity, 1, 127));
}

void TMusicNote::Perform(TStaffContextState& state, TMidiFileBuf* buffer) const {
  if (buffer) PerformNote(state, *buffer, false);
}

namespace {

// Where and how long a note sounds: grace notes play 24 ticks each from the beat, and a note
// after graces gives up their time.
struct TSoundingSpan {
  int64_t start;
  int length;
};

TSoundingSpan SoundingSpan(const TMusicNote& note, const TStaffContextState& state, bool silent) {
  TSoundingSpan span{state.GetSongPosition(), note.GetDuration()};
  const int graceCount = state.GetGraceCount();
  if (note.IsGrace()) {
    const bool hiddenTieContinuation = note.IsTieIn() && note.GetVisibility() == kVisNever;
    if (!silent && !hiddenTieContinuation) {
      span.start += kGraceTicks * graceCount;
      span.length = kGraceTicks;
    }
  } else if (graceCount > 0 && kGraceTicks * graceCount < span.length) {
    span.start += kGraceTicks * graceCount;
    span.length -= kGraceTicks * graceCount;
  }
  return span;
}

}  // namespace

int64_t TMusicNote::GetPlayedEnd(const TStaffContextState& state, bool ownerMuted) const {
  const TSoundingSpan span = SoundingSpan(*this, state, IsMuted() || ownerMuted);
  const int played = PlayedLength(span.length, PlayedPercent(GetFlags(), state.GetPerfStyle()));
  return span.start + (played > 1 ? played : 1);
}

void TMusicNote::PerformNote(TStaffContextState& state, TMidiFileBuf& buffer,
                             bool ownerMuted) const {
  const bool silent = IsMuted() || ownerMuted;
  const uint16_t flags = GetFlags();
  const int port = state.GetPort();
  const int channel = state.GetChannel();
  const int pitch = ClampMidiData(GetPitch(state));
  const int64_t start = SoundingSpan(*this, state, silent).start;

  const TMidiMsg noteOff = TMidiMsg::Channel(kMidiNoteOff, port, channel, pitch, 0);
  if (silent) {
    // A muted note is not played, but a tie that runs into it ends here: the key struck at the
    // tie's start would otherwise never be released.
    if (IsTieIn()) buffer.AddEvent(EventTime(start), noteOff);
    return;
  }

  if (!IsTieIn()) {
    const int v = state.GetNoteVelocity();
    int w = AccentWeight(flags);
    if (state.GetPerfStyle() == kStyleMarcato) w += 3;
    // Velocity 0 would turn the note-on into a note off.
    const int velocity = ClampInt(v + w * (v / 20 + 1), 1, 127);
    buffer.AddEvent(EventTime(start),
                    TMidiMsg::Channel(kMidiNoteOn, port, channel, pitch, velocity));
  }
  // A tied note's end comes with the last note of the tie.
  if (IsTieOut()) return;
  buffer.AddEvent(EventTime(GetPlayedEnd(state, ownerMuted)), noteOff);
}

}  // namespace kvt
