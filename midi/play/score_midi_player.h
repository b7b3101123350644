#pragma once
// TScoreMidiPlayer: renders a score into MIDI events and follows the play position per staff.
//
// The player keeps one TStaffMidiPlayerIndex per staff (it owns them). Rendering starts every
// staff from time 0 and asks the staves in turn to play up to a common render time that
// grows by 384 ticks a round, so the buffer fills in time slices; the sequencer chases to the
// start position itself. The same cursors, moved without output (SeekAll), tell which item of
// each staff sounds at a tick.
//
// Contract:
// - The score is not owned and must outlive the player or be replaced (SetScore) first. After
//   any edit of the score, SetScore or Rebind must come before the next rendering or seek,
//   since the indexes hold item positions.
// - Rendering always ends: every staff walk has a step budget (see TStaffMidiPlayerIndex).
// - Buffer overflow ends rendering quietly with what was rendered; the caller reads the
//   buffer's overflow flag.
// - Per-staff queries take a staff index; one outside the indexes is a broken precondition.
// - The player keeps a copy of the services it was made with: their user-object host plays
//   user objects, their playback service says where the sequencer stands, their cursor
//   service shows the wait cursor. The services are the caller's and must outlive the player.

#include <cstdint>
#include <memory>
#include <vector>

#include "midi/play/staff_midi_player_index.h"
#include "notation/services/services.h"

namespace kvt {

class TMusicScore;
class TMidiFileBuf;

// Ticks added to the render time each round.
inline constexpr int32_t kRenderSliceTicks = 384;

class TScoreMidiPlayer {
public:
  explicit TScoreMidiPlayer(const TServices& services = TServices());
  ~TScoreMidiPlayer();
  TScoreMidiPlayer(const TScoreMidiPlayer&) = delete;
  TScoreMidiPlayer& operator=(const TScoreMidiPlayer&) = delete;

  // Clears the play position, render time and play length. With a score: staves marked as
  // needing an audit are audited whole; one index per staff (made as needed; surplus ones are
  // kept, bound to no staff), each bound to its staff.
  void SetScore(const TMusicScore* score);
  const TMusicScore* GetScore() const { return score; }
  // Render time 0; every index bound again to its staff.
  void Rebind();

  // The whole score for playing, under the services' wait cursor: the buffer is reset; a tempo of 120
  // bpm at time 0; every staff bound and its set-up emitted; rendering in time slices until
  // no staff plays or the buffer overflows; then (without overflow) the keys that ties left
  // sounding are released at the end tick and a wait of length 0 marks the end tick. The play
  // length becomes the buffer's play length to its last event.
  void BuildPlayBuffer(TMidiFileBuf& buffer);
  // The same rendering into a buffer its caller has reset (and may have given a filter):
  // only the 120 bpm tempo at time 0 is added first; after the staves, hanging tied keys are
  // released at the end tick; no end marker, no totals, no wait cursor.
  void RenderAll(TMidiFileBuf& buffer);
  // Every staff's tied keys whose continuation has not come are released at their own played
  // ends (both renderings do this before closing what still sounds).
  void EndPendingTies(TMidiFileBuf& buffer);

  // The largest song position any staff reached.
  int32_t GetEndTick() const;
  // Each index Advances to tick; true when any staff's position changed. Render time = tick.
  bool SeekAll(int32_t tick);
  // Each index SeekTos tick; true when any staff's position changed. Render time = tick.
  bool SeekAllFrom(int32_t tick);
  // SeekAll to the sequencer's position.
  bool FollowPlayPosition();

  // Per staff; precondition: 0 <= staffIndex < GetIndexCount().
  TStaffPlayPos GetStaffPlayPos(int staffIndex) const;
  TStaffPlayPos GetStaffPreviousPos(int staffIndex) const;
  const TStaffMidiPlayerIndex& GetStaffIndex(int staffIndex) const;
  int GetIndexCount() const { return static_cast<int>(indexes.size()); }

  int32_t GetPlayPosition() const { return playPosition; }
  int64_t GetRenderTime() const { return renderTime; }
  // Milliseconds of the last BuildPlayBuffer; 0 before one.
  int64_t GetPlayLengthMs() const { return playLengthMs; }
  // Milliseconds played, from the sequencer.
  int64_t GetElapsedMs() const;

private:
  // Binds every index, emits the set-ups and renders slice by slice (steps 2 and 3 of the
  // rendering). Stops at overflow or when no staff plays.
  void RenderSlices(TMidiFileBuf& buffer);
  // The staves the score has (0 without a score), never more than the indexes.
  int ActiveCount() const;

  const TMusicScore* score = nullptr;
  std::vector<std::unique_ptr<TStaffMidiPlayerIndex>> indexes;
  int32_t playPosition = 0;
  int64_t renderTime = 0;
  int64_t playLengthMs = 0;
  const TServices services;
};

}  // namespace kvt
