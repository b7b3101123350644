#include "midi/play/score_midi_player.h"

#include <algorithm>
#include <cstdint>

#include "midi/events/hanging_note_guard.h"
#include "midi/events/midi_file_buf.h"
#include "midi/play/midi_playback_service.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/audit/staff_audit.h"
#include "utils/busy_cursor.h"
#include "utils/precondition.h"

namespace kvt {

namespace {

constexpr int kStartTempoBpm = 120;

int32_t ClampTick(int64_t tick) {
  return static_cast<int32_t>(std::clamp<int64_t>(tick, INT32_MIN, kPlayToEnd));
}

}  // namespace

TScoreMidiPlayer::TScoreMidiPlayer(const TServices& services) : services(services) {
  SetScore(nullptr);
}

TScoreMidiPlayer::~TScoreMidiPlayer() = default;

void TScoreMidiPlayer::SetScore(const TMusicScore* newScore) {
  score = newScore;
  playPosition = 0;
  renderTime = 0;
  playLengthMs = 0;
  const int count = score ? score->GetStaffCount() : 0;
  while (GetIndexCount() < count)
    indexes.push_back(std::make_unique<TStaffMidiPlayerIndex>(services));
  // Derived item state (dynamic velocities, ties ...) must be current before it is played.
  for (int i = 0; i < count; ++i) {
    // The score is read only; the audit refreshes the derived fields the walk plays from.
    TMusicStaff* staff = score->GetStaff(i);
    if (staff->GetNeedsAudit()) AuditStaffRange(*staff);
  }
  // Every index is bound again, surplus ones to no staff, so none keeps a staff of an earlier
  // score.
  for (int i = 0; i < GetIndexCount(); ++i) indexes[static_cast<size_t>(i)]->Bind(score, i);
}

void TScoreMidiPlayer::Rebind() {
  renderTime = 0;
  for (int i = 0; i < GetIndexCount(); ++i) indexes[static_cast<size_t>(i)]->Bind(score, i);
}

int TScoreMidiPlayer::ActiveCount() const {
  return score ? std::min(score->GetStaffCount(), GetIndexCount()) : 0;
}

void TScoreMidiPlayer::RenderSlices(TMidiFileBuf& buffer) {
  const int count = ActiveCount();
  for (int i = 0; i < count; ++i) {
    TStaffMidiPlayerIndex& index = *indexes[static_cast<size_t>(i)];
    index.Bind(score, i);
    index.EmitSetup(buffer);
  }
  renderTime = 0;
  while (!buffer.GetOverflow()) {
    renderTime += kRenderSliceTicks;
    const int32_t tick = ClampTick(renderTime);
    bool more = false;
    for (int i = 0; i < count && !buffer.GetOverflow(); ++i) {
      if (indexes[static_cast<size_t>(i)]->PlayUntil(buffer, tick)) more = true;
    }
    // At the largest tick every staff has played all it can: positions stop there.
    if (!more || tick == kPlayToEnd) break;
    // Slices in which no staff has anything to play (all stand at or beyond the render time,
    // as in a long multi-bar rest) are passed over; the result is the same.
    int64_t earliest = INT64_MAX;
    for (int i = 0; i < count; ++i) {
      const TStaffMidiPlayerIndex& index = *indexes[static_cast<size_t>(i)];
      if (index.IsPlaying()) earliest = std::min<int64_t>(earliest, index.GetSongPosition());
    }
    if (earliest != INT64_MAX && earliest >= renderTime)
      renderTime = earliest / kRenderSliceTicks * kRenderSliceTicks;
  }
}

void TScoreMidiPlayer::BuildPlayBuffer(TMidiFileBuf& buffer) {
  TKVBusyCursor wait(CursorServiceOf(services));
  buffer.Reset();
  buffer.AddTempo(0, kStartTempoBpm);
  playPosition = 0;
  renderTime = 0;
  RenderSlices(buffer);
  if (!buffer.GetOverflow()) {
    EndPendingTies(buffer);
    const int32_t end = GetEndTick();
    renderTime = end;
    CloseHangingNotes(buffer, static_cast<uint32_t>(end));
    buffer.AddWait(static_cast<uint32_t>(end), 0);
  }
  playLengthMs = buffer.GetPlayLength(0);
}

void TScoreMidiPlayer::RenderAll(TMidiFileBuf& buffer) {
  buffer.AddTempo(0, kStartTempoBpm);
  RenderSlices(buffer);
  if (!buffer.GetOverflow()) {
    EndPendingTies(buffer);
    CloseHangingNotes(buffer, static_cast<uint32_t>(GetEndTick()));
  }
}

void TScoreMidiPlayer::EndPendingTies(TMidiFileBuf& buffer) {
  for (auto& index : indexes) index->EndPendingTies(buffer);
}

int32_t TScoreMidiPlayer::GetEndTick() const {
  int32_t end = 0;
  for (const auto& index : indexes) end = std::max(end, index->GetSongPosition());
  return end;
}

bool TScoreMidiPlayer::SeekAll(int32_t tick) {
  bool changed = false;
  for (auto& index : indexes) {
    if (index->Advance(tick)) changed = true;
  }
  renderTime = tick;
  return changed;
}

bool TScoreMidiPlayer::SeekAllFrom(int32_t tick) {
  bool changed = false;
  for (auto& index : indexes) {
    if (index->SeekTo(tick)) changed = true;
  }
  renderTime = tick;
  return changed;
}

bool TScoreMidiPlayer::FollowPlayPosition() { return SeekAll(MidiPlaybackServiceOf(services).GetPlayTick()); }

const TStaffMidiPlayerIndex& TScoreMidiPlayer::GetStaffIndex(int staffIndex) const {
  KVT_PRECONDITION(staffIndex >= 0 && staffIndex < GetIndexCount());
  return *indexes[static_cast<size_t>(staffIndex)];
}

TStaffPlayPos TScoreMidiPlayer::GetStaffPlayPos(int staffIndex) const {
  return GetStaffIndex(staffIndex).GetPlayPos();
}

TStaffPlayPos TScoreMidiPlayer::GetStaffPreviousPos(int staffIndex) const {
  return GetStaffIndex(staffIndex).GetPreviousPos();
}

int64_t TScoreMidiPlayer::GetElapsedMs() const { return MidiPlaybackServiceOf(services).GetSongTimeMs(); }

}  // namespace kvt
