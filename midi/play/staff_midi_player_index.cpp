#include "midi/play/staff_midi_player_index.h"

#include <algorithm>
#include <cstdint>

#include "midi/events/hanging_note_guard.h"
#include "midi/play/dynamic_ramp.h"
#include "midi/events/midi_file_buf.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/items/notated_item.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/services/services.h"
#include "notation/services/user_object_host.h"

namespace kvt {

namespace {

uint8_t ToByte(int64_t value) { return static_cast<uint8_t>(std::clamp<int64_t>(value, 0, 255)); }

}  // namespace

TStaffMidiPlayerIndex::TStaffMidiPlayerIndex(const TServices& services)
    : userObjectHost(services.userObjectHost) {}

void TStaffMidiPlayerIndex::Bind(const TMusicScore* newScore, int staffIndex) {
  score = newScore;
  staff = score ? score->GetStaff(staffIndex) : nullptr;
  Reset();
}

void TStaffMidiPlayerIndex::Reset() {
  ties.Clear();
  barOffset = 0;
  previous = TStaffPlayPos();
  if (staff) {
    staff->InitContextState(state);
    playIndex = 0;
    stepsLeft = staff->GetPlayStepBudget();
  } else {
    state.Reset();
    playIndex = -1;
    stepsLeft = 0;
  }
}

void TStaffMidiPlayerIndex::EmitSetup(TMidiFileBuf& buffer) {
  if (staff) staff->EmitStaffSetup(&buffer, state);
}

const TNotatedItem* TStaffMidiPlayerIndex::CurrentItem() const {
  return (staff && playIndex >= 0) ? staff->GetItem(playIndex) : nullptr;
}

void TStaffMidiPlayerIndex::MoveOn() {
  const TNotatedItem* item = CurrentItem();
  if (!item || stepsLeft <= 0) {
    playIndex = -1;
    return;
  }
  --stepsLeft;
  const int next = item->GetNextPlayIndex(state, staff, playIndex);
  item->ApplyToContext(state);
  // Any index outside the staff ends it, a negative one included.
  playIndex = (next >= 0 && next <= staff->GetLastIndex()) ? next : -1;
}

void TStaffMidiPlayerIndex::PerformCurrent(TMidiFileBuf& buffer) {
  TSimpleNtnIdx at(staff, playIndex);
  const TNotatedItem* item = at.GetItem();
  if (at.GetHairpin() != 0 && state.IsDynamicChanged()) LayOutDynamicRamp(at, state, &buffer);
  if (!(staff->IsMuted() && item->HasNotes())) {
    ties.BeforeItem(*item, state, buffer);
    item->Perform(state, &buffer);
  }
  if (item->GetType() == kItemUserObject && userObjectHost)
    userObjectHost->PlayUserObject(at, state, &buffer);
}

bool TStaffMidiPlayerIndex::PlayUntil(TMidiFileBuf& buffer, int32_t tick) {
  while (CurrentItem() && state.GetSongPosition() < tick) {
    if (stepsLeft <= 0) {
      playIndex = -1;
      break;
    }
    PerformCurrent(buffer);
    MoveOn();
    // Nothing more fits: the caller reads the overflow flag and stops.
    if (buffer.GetOverflow()) break;
  }
  if (!CurrentItem()) playIndex = -1;
  return playIndex != -1;
}

void TStaffMidiPlayerIndex::RenderStaff(TMidiFileBuf& buffer) {
  Reset();
  EmitSetup(buffer);
  PlayUntil(buffer, kPlayToEnd);
  EndPendingTies(buffer);
  if (!buffer.GetOverflow())
    CloseHangingNotes(buffer, static_cast<uint32_t>(std::max(GetSongPosition(), 0)));
}

TStaffPlayPos TStaffMidiPlayerIndex::GetPlayPos() const {
  TStaffPlayPos pos;
  pos.index = playIndex;
  pos.barOffset = ToByte(barOffset);
  pos.repeatPass = ToByte(state.GetRepeatPass());
  return pos;
}

bool TStaffMidiPlayerIndex::Advance(int32_t tick) {
  const TStaffPlayPos before = GetPlayPos();
  if (playIndex == -1 && tick >= GetSongPosition()) return false;
  // Keys struck before the move are not the player's to release any more.
  ties.Clear();
  previous = before;
  if (tick < GetSongPosition()) {
    // Behind the cursor: walk again from the staff's start.
    const TStaffPlayPos saved = previous;
    Reset();
    previous = saved;
  }
  const TNotatedItem* item = CurrentItem();
  while (item &&
         static_cast<int64_t>(tick) >= static_cast<int64_t>(GetSongPosition()) + item->GetDuration()) {
    MoveOn();
    item = CurrentItem();
  }
  if (!item) playIndex = -1;
  barOffset = 0;
  if (item && item->GetType() == kItemMultiBarRest) {
    const int barLength = std::max(state.GetBarLength(), 1);
    barOffset = static_cast<int32_t>(
        std::max<int64_t>(static_cast<int64_t>(tick) - GetSongPosition(), 0) / barLength);
  }
  return !(GetPlayPos() == before);
}

bool TStaffMidiPlayerIndex::SeekTo(int32_t tick) {
  if (tick < GetSongPosition()) Reset();
  return Advance(tick);
}

bool TStaffMidiPlayerIndex::StepToNextNote() {
  previous = GetPlayPos();
  while (CurrentItem()) {
    MoveOn();
    const TNotatedItem* item = CurrentItem();
    if (item && item->IsSongNoteClass()) return true;
  }
  playIndex = -1;
  return false;
}

}  // namespace kvt
