#pragma once
// TStaffMidiPlayerIndex: the play cursor of one staff: the index of the next item to play in
// play order (repeats, endings and flow jumps followed), the bar reached inside a multi-bar
// rest, and the staff's running TStaffContextState. It renders the staff into an event buffer
// (PlayUntil, RenderStaff) or moves without output to follow a play position (Advance, SeekTo,
// StepToNextNote).
//
// Contract:
// - The index owns nothing. The score and its staff must outlive it, and any edit of the
//   staff's items needs a Bind or Reset before the next move, since the index holds an item
//   position.
// - Every item reached is handled as a staff walk in play order handles it: Perform (PlayUntil
//   only), then GetNextPlayIndex, then ApplyToContext, all with the state as it stood before
//   the item. A next index outside the staff ends the staff (play index -1).
// - Every walk from the staff's start has a step budget (TMusicStaff::GetPlayStepBudget),
//   shared by all moves until the next Reset: when it is spent the staff counts as finished,
//   so no repeat or jump structure, however damaged, keeps any move going forever.
// - A muted staff performs no item that holds notes (notes, chords, rest chords with a chord
//   part); every other item still performs, and user objects still reach the script hook (the
//   user-object host the index was made with; none for the default index).
// - Buffer overflow is not an error here: the buffer keeps what fitted and its overflow flag
//   tells the caller.

#include <cstdint>

#include "midi/play/tie_releases.h"
#include "notation/context/staff_context_state.h"

namespace kvt {

class TMusicScore;
class TMusicStaff;
class TMidiFileBuf;
class TNotatedItem;
class TUserObjectHost;
struct TServices;

// Where a staff's play cursor stands: item index, bar inside a multi-bar rest, repeat pass
// (the larger of the state's local and master pass).
struct TStaffPlayPos {
  int32_t index = 0;
  uint8_t barOffset = 0;
  uint8_t repeatPass = 0;
  friend bool operator==(const TStaffPlayPos&, const TStaffPlayPos&) = default;
};

// The tick "to the end" of RenderStaff.
inline constexpr int32_t kPlayToEnd = 2147483647;

class TStaffMidiPlayerIndex {
public:
  // Unbound: no score, no staff, finished at once; no user-object host.
  TStaffMidiPlayerIndex() = default;
  // The same, with the services' user-object host (the caller's; it must outlive the index)
  // playing user objects.
  explicit TStaffMidiPlayerIndex(const TServices& services);
  TStaffMidiPlayerIndex(const TStaffMidiPlayerIndex&) = delete;
  TStaffMidiPlayerIndex& operator=(const TStaffMidiPlayerIndex&) = delete;

  // Takes staff staffIndex of the score (no staff when the score is null or the index is out
  // of range), then Reset.
  void Bind(const TMusicScore* score, int staffIndex);
  // Play index 0, bar offset 0, previous position cleared, the step budget renewed, and the
  // state as the staff initialises it (reset, the staff's channel, port and transposition);
  // without a staff a plain reset and play index -1.
  void Reset();

  // The staff's set-up events at time 0 (TMusicStaff::EmitStaffSetup), which initialises the
  // state again as Reset does.
  void EmitSetup(TMidiFileBuf& buffer);
  // Plays items while the staff has more and the song position is before tick; stops early
  // when the buffer overflows. True while the staff has more to play.
  bool PlayUntil(TMidiFileBuf& buffer, int32_t tick);
  // The whole staff by itself: Reset, EmitSetup, PlayUntil to the end, EndPendingTies, then any
  // key still sounding is released at the staff's end (CloseHangingNotes over the whole
  // buffer, so give it a buffer that holds this staff alone, or one that drops notes).
  void RenderStaff(TMidiFileBuf& buffer);
  // Releases, at their own played ends, the keys of tied notes that PlayUntil has struck and
  // whose continuation has not come yet (a walk that ends or stops with ties open).
  void EndPendingTies(TMidiFileBuf& buffer) { ties.EndAll(buffer); }

  // Moves without output to the item that sounds at tick. A finished staff with tick not
  // before its song position does nothing (false). Otherwise the previous position becomes
  // where the staff stands; when tick is before the song position the walk starts again from
  // the staff's start (state, index 0); then items are passed while tick is at or after their
  // end, zero-length items at tick included, and the staff is finished when none is left.
  // Standing on a multi-bar rest, the bar offset is the whole bars (of the state's bar
  // length) from the rest's start to tick; elsewhere 0. True when the index, bar offset or
  // repeat pass changed.
  bool Advance(int32_t tick);
  // A full Reset first when tick is before the song position, then Advance.
  bool SeekTo(int32_t tick);
  // Saves the previous position, then moves item by item until the item reached is a song
  // note (note, rest, chord, rest chord): true; at the staff's end play index -1 and false.
  bool StepToNextNote();

  TStaffPlayPos GetPlayPos() const;
  TStaffPlayPos GetPreviousPos() const { return previous; }

  const TMusicScore* GetScore() const { return score; }
  TMusicStaff* GetStaff() const { return staff; }
  // -1 when the staff is finished.
  int GetPlayIndex() const { return playIndex; }
  bool IsPlaying() const { return playIndex != -1; }
  int GetBarOffset() const { return barOffset; }
  const TStaffContextState& GetState() const { return state; }
  int32_t GetSongPosition() const { return state.GetSongPosition(); }

private:
  // The item at the play index; null when finished.
  const TNotatedItem* CurrentItem() const;
  // Asks the current item for the next index, applies it to the state, and moves there;
  // past the staff, or out of steps, the play index becomes -1.
  void MoveOn();
  // Spends one step of the budget; false (and finished) when none is left.
  bool TakeStep();
  // Performs the current item, with the gradual-dynamic layout and the user-object hook.
  void PerformCurrent(TMidiFileBuf& buffer);

  const TMusicScore* score = nullptr;
  TMusicStaff* staff = nullptr;
  int32_t playIndex = -1;
  int32_t barOffset = 0;
  TStaffContextState state;
  TTieReleases ties;
  TStaffPlayPos previous;
  int64_t stepsLeft = 0;
  TUserObjectHost* userObjectHost = nullptr;
};

}  // namespace kvt
