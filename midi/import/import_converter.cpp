#include "midi/import/import_converter.h"

#include <algorithm>
#include <cstdlib>

#include "midi/events/midi_msg.h"
#include "midi/smf/smf_data.h"
#include "notation/context/staff_context_state.h"
#include "notation/items/chord_data.h"
#include "notation/items/key_data.h"
#include "notation/items/music_note.h"
#include "notation/items/patch_data.h"
#include "notation/items/rest_note.h"
#include "notation/items/sustain_pedal.h"
#include "notation/items/tempo_data.h"
#include "notation/items/time_signature_data.h"
#include "notation/services/long_task_cancel.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_utils.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

// Letters A = 0 ... G = 6.
constexpr int kFlatOrder[7] = {1, 4, 0, 3, 6, 2, 5};   // B E A D G C F
constexpr int kSharpOrder[7] = {5, 2, 6, 3, 0, 4, 1};  // F C G D A E B

bool IsTrimmed(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::u16string ImportStaffName(const TSMFTrackData& track) {
  std::string text = *track.GetName() ? track.GetName() : track.GetInstrumentName();
  text = CutUtf8(text, 31);
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsTrimmed(text[begin])) ++begin;
  while (end > begin && IsTrimmed(text[end - 1])) --end;
  return Utf8ToUtf16(std::string_view(text).substr(begin, end - begin));
}

TMidiImportConverter::TMidiImportConverter(const TServices& services) : services(services) {}

void TMidiImportConverter::Start(TMode m, const TSMFImportInstructions& instr) {
  mode = m;
  instruction = instr;
  staff = std::make_unique<TMusicStaff>();
  currentTime = 0;
  pedalDown = false;
  key = 0;
  minor = false;
  noteGrid = ImportGridTicks(instr.noteResolution);
  restGrid = ImportGridTicks(instr.restResolution);
  soundingCount = 0;
  cut = false;
  cancelled = false;
}

bool TMidiImportConverter::CheckCancel() {
  if (!cancelled && LongTaskCancelOf(services).CheckCancel()) cancelled = true;
  return cancelled;
}

int64_t TMidiImportConverter::Snap(int64_t t) const {
  return std::max((t + 6) / 12 * 12, currentTime);
}

int64_t TMidiImportConverter::Quantise(int64_t t) const {
  return (Snap(t) + noteGrid / 2) / noteGrid * noteGrid;
}

void TMidiImportConverter::AppendItem(std::unique_ptr<TNotatedItem> item) {
  if (!staff->TryInsertItem(item, staff->GetLastIndex())) cut = true;
}

std::unique_ptr<TNotatedItem> TMidiImportConverter::MakeSoundingItem() {
  if (staff->GetFreeItemCount() < kImportFreeSlots) return nullptr;
  if (soundingCount == 0) return std::make_unique<TRestNote>(kDurQuarter, 0);
  auto makeNote = [](int pitch, int sign) {
    int position = 0;
    int accidental = 0;
    PitchToStaffPosition(kClefTreble, sign, pitch, position, accidental);
    return std::make_unique<TMusicNote>(position, 6, kMaskTieOut, accidental);
  };
  if (soundingCount == 1) {
    TSounding& note = sounding[0];
    ++note.written;
    return makeNote(std::abs(note.pitch), note.pitch < 0 ? -1 : 1);
  }
  auto chord = std::make_unique<TChordData>();
  auto hasMemberAt = [&](int position) {
    for (int m = 0; m < chord->GetMemberCount(); ++m)
      if (chord->GetMember(m)->GetStaffPos() == position) return true;
    return false;
  };
  for (int i = 0; i < soundingCount; ++i) {
    TSounding& note = sounding[i];
    const int pitch = std::abs(note.pitch);
    int sign = note.pitch < 0 ? -1 : 1;
    std::unique_ptr<TMusicNote> member = makeNote(pitch, sign);
    if (hasMemberAt(member->GetStaffPos())) {
      sign = -sign;
      member = makeNote(pitch, sign);
      if (hasMemberAt(member->GetStaffPos())) continue;
    }
    if (!chord->AddNote(member)) continue;
    note.pitch = sign * pitch;
    ++note.written;
  }
  chord->SetNoteFlag(kFlagTieOut);
  chord->Update();
  return chord;
}

void TMidiImportConverter::AdvanceTo(int64_t t) {
  int64_t d = t - currentTime;
  if (d <= 0) return;
  TNotatedItem* last = nullptr;
  while (d > 0) {
    std::unique_ptr<TNotatedItem> item = MakeSoundingItem();
    if (!item) {
      cut = true;
      return;
    }
    const int fit =
        SetItemDurationToFit(item.get(), static_cast<int>(std::min<int64_t>(d, 1 << 20)), false);
    last = item.get();
    staff->InsertItem(std::move(item), staff->GetLastIndex());
    d -= fit;
  }
  currentTime = t - d;
  soundingCount = 0;
  if (auto* note = dynamic_cast<TMusicNote*>(last)) {
    note->ClearNoteFlag(kFlagTieOut);
    for (int m = 0; m < note->GetMemberCount(); ++m)
      if (note->GetMember(m) != note) note->GetMember(m)->ClearNoteFlag(kFlagTieOut);
    if (auto* chord = dynamic_cast<TChordData*>(note)) chord->Update();
  }
}

int TMidiImportConverter::FindSounding(int pitch) const {
  for (int i = 0; i < soundingCount; ++i)
    if (std::abs(sounding[i].pitch) == pitch) return i;
  return -1;
}

void TMidiImportConverter::NoteOn(int64_t t, int pitch) {
  if (pitch < instruction.lowPitch || pitch > instruction.highPitch) return;
  AdvanceTo(Quantise(t));
  if (FindSounding(pitch) >= 0 || soundingCount >= kImportMaxSounding) return;
  sounding[soundingCount++] = TSounding{key < 0 ? -pitch : pitch, 0};
}

void TMidiImportConverter::NoteOff(int64_t t, int pitch) {
  if (pitch < instruction.lowPitch || pitch > instruction.highPitch) return;
  int64_t end = Quantise(t);
  const int i = FindSounding(pitch);
  if (i < 0) return;
  // Every note lasts at least 12 ticks.
  if (sounding[i].written == 0 && end <= currentTime)
    end = currentTime + std::max<int64_t>(Snap(t) - currentTime, 12);
  AdvanceTo(end);
}

void TMidiImportConverter::OnChannel(int64_t t, const TMidiMsg& msg) {
  switch (msg.GetCommand()) {
    case kMidiNoteOn:
      if (msg.GetData2() > 0) {
        NoteOn(t, msg.GetData1());
        break;
      }
      [[fallthrough]];
    case kMidiNoteOff: NoteOff(t, msg.GetData1()); break;
    case kMidiControlChange: {
      if (msg.GetData1() != kMidiControllerSustain || !instruction.Has(kImportPedalMarks)) break;
      const bool down = msg.GetData2() >= 64;
      if (down == pedalDown) break;
      pedalDown = down;
      if (soundingCount == 0 || !down) AdvanceTo(Quantise(t));
      AppendItem(std::make_unique<TSustainPedal>(down));
      break;
    }
    case kMidiProgramChange: {
      const int program = msg.GetData1() & 0x7F;
      if (!staff->GetInstrument().HasPatch()) staff->GetInstrument().SetPatch(program);
      if (!instruction.Has(kImportPatchChanges)) break;
      AdvanceTo(Quantise(t));
      auto patch = std::make_unique<TPatchData>();
      patch->SetPatch(program + 1);
      AppendItem(std::move(patch));
      break;
    }
    default: break;
  }
}

void TMidiImportConverter::OnTempo(int64_t t, const TMidiMsg& msg) {
  AdvanceTo(Quantise(t));
  auto tempo = std::make_unique<TTempoData>(msg.GetTempoBpm(), kTempoQuarter);
  if (mode == kConductor) tempo->SetStaffPos(-2);
  AppendItem(std::move(tempo));
}

void TMidiImportConverter::OnTimeSignature(int64_t t, const TMidiMsg& msg) {
  AdvanceTo(Quantise(t));
  // A bar of no beats or of notes shorter than the shortest value would have no length.
  const int beats = std::clamp(msg.GetTimeSigNumerator(), 1, 99);
  const int exponent = std::clamp(msg.GetTimeSigDenominatorPower(), 0, 6);
  auto sig = std::make_unique<TTimeSignatureData>(beats, exponent);
  sig->SetStyle(0);
  AppendItem(std::move(sig));
}

void TMidiImportConverter::OnKeySignature(int64_t t, const TMidiMsg& msg) {
  AdvanceTo(Quantise(t));
  int k = msg.GetKeySigCount();
  if (std::abs(k) > 7) k %= 8;
  int sharps = 0;
  int flats = 0;
  for (int i = 0; i < -k; ++i) flats |= 1 << kFlatOrder[i];
  for (int i = 0; i < k; ++i) sharps |= 1 << kSharpOrder[i];
  int tonic = ((k < 0 ? -3 * k : 4 * k) + 2) % 7;
  if (msg.IsKeySigMinor()) tonic = (tonic + 5) % 7;
  key = k;
  minor = msg.IsKeySigMinor();
  AppendItem(std::make_unique<TKeyData>(sharps, flats, tonic));
}

void TMidiImportConverter::Walk(const TSMFTrackData& track) {
  const TMidiFileBuf& events = track.GetEvents();
  const int count = events.GetEventCount();
  for (int i = 0; i < count; ++i) {
    if (CheckCancel()) return;
    if (staff->GetFreeItemCount() < kImportFreeSlots) {
      cut = true;
      return;
    }
    const TMidiSongEvent& event = events.GetEvent(i);
    const int64_t t = event.time;
    switch (event.msg.GetKind()) {
      case kMidiKindChannel:
        if (mode == kInstruction && (instruction.channelMask & (1u << event.msg.GetChannel())))
          OnChannel(t, event.msg);
        break;
      case kMidiKindTempo:
        if (mode == kConductor) OnTempo(t, event.msg);
        break;
      case kMidiKindTimeSig:
        if (mode == kConductor) OnTimeSignature(t, event.msg);
        break;
      case kMidiKindKeySig:
        if (mode != kLyrics) OnKeySignature(t, event.msg);
        break;
      default: break;
    }
  }
}

std::unique_ptr<TMusicStaff> TMidiImportConverter::BuildConductor(const TSMFTrackData* track) {
  TSMFImportInstructions conductor;
  conductor.noteResolution = 5;
  conductor.restResolution = 3;
  Start(kConductor, conductor);
  staff->SetGroup(u"Conductor");
  staff->SetName(u"Tempo Track");
  if (track) Walk(*track);
  return std::move(staff);
}

std::unique_ptr<TMusicStaff> TMidiImportConverter::BuildInstructionStaff(
    const TSMFImportInstructions& instr, const TSMFTrackData* track) {
  Start(kInstruction, instr);
  staff->SetChannel(instr.LowestChannel());
  if (track) {
    const std::u16string name = ImportStaffName(*track);
    if (!name.empty()) staff->SetName(name);
    Walk(*track);
  }
  return std::move(staff);
}

}  // namespace kvt
