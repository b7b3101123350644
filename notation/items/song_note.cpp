#include "notation/items/song_note.h"

#include <initializer_list>

#include "notation/items/item_cast.h"
#include "notation/items/packed_field.h"
#include "notation/context/staff_context_state.h"

namespace kvt {

namespace {

// The grace count of the running state is 4 bits; a run of more grace notes stays at the
// largest count instead of wrapping, so later grace notes do not start over at +0 and the note
// after them is still delayed.
constexpr int kMaxGraceCount = 15;

// Partner bit cleared when `bit` is set; -1 for none.
int PartnerFlag(int bit) {
  switch (bit) {
    case kFlagAccent: return kFlagMarcato;
    case kFlagMarcato: return kFlagAccent;
    case kFlagDotted: return kFlagDblDotted;
    case kFlagDblDotted: return kFlagDotted;
    case kFlagStaccato: return kFlagStaccatissimo;
    case kFlagStaccatissimo: return kFlagStaccato;
    case kFlagCrescendo: return kFlagDiminuendo;
    case kFlagDiminuendo: return kFlagCrescendo;
    case kFlagMarkA: return kFlagMarkB;
    case kFlagMarkB: return kFlagMarkA;
    default: return -1;
  }
}

constexpr uint16_t kAccentType = kMaskAccent | kMaskMarcato;
constexpr uint16_t kStaccatoType = kMaskStaccato | kMaskStaccatissimo;

}  // namespace

int GetDurationCodeTicks(int code) {
  return kWholeNoteTicks >> ClampInt(code, 0, kDurationCodeCount - 1);
}

TSongNote::TSongNote(int durationCode, int flagWord)
    : flags(static_cast<uint16_t>(flagWord)),
      noteColor(0),
      xAccSpace(0),
      xNoteSpace(0),
      duration(0),
      headShape(0),
      stemDir(0),
      beamState(0),
      tripletState(0),
      lyric(0),
      slurDown(0),
      restChordPart(0),
      chordMember(0),
      slurIn(0),
      tieIn(0),
      auditStem(0) {
  duration = ClampInt(durationCode, 0, kDurationCodeCount - 1);
}

TSongNote::~TSongNote() = default;

void TSongNote::Assign(const TNotatedItem& src) {
  TNotatedItem::Assign(src);
  if (!src.IsSongNoteClass()) return;
  const auto& s = ItemRef<TSongNote>(src);
  duration = s.duration;
  flags = s.flags;
  noteColor = s.noteColor;
  xAccSpace = s.xAccSpace;
  xNoteSpace = s.xNoteSpace;
  stemDir = s.stemDir;
  beamState = s.beamState;
  tripletState = s.tripletState;
  lyric = s.lyric;
  slurDown = s.slurDown;
}

int TSongNote::GetNotatedDuration() const {
  int ticks = kWholeNoteTicks >> duration;
  if (IsDotted()) ticks += ticks >> 1;
  if (IsDblDotted()) ticks += (ticks >> 1) + (ticks >> 2);
  if (IsTriplet()) ticks = ticks * 2 / 3;
  return ticks;
}

int TSongNote::GetDuration() const { return IsGrace() ? 0 : GetNotatedDuration(); }

void TSongNote::ApplyToContext(TStaffContextState& state) const {
  if (chordMember || restChordPart) return;
  // A grace rest counts unless it is hidden.
  ApplySongStep(state, GetVisibility() != kVisNever);
}

void TSongNote::ApplySongStep(TStaffContextState& state, bool graceCounts) const {
  state.AdvanceSongPosition(GetDuration());
  if (IsGrace()) {
    if (graceCounts && state.GetGraceCount() < kMaxGraceCount) state.IncGraceCount();
    return;
  }
  state.ClearGraceCount();
  if (IsSlurOut())
    state.SetSlurState(slurDown ? 1 : 0);
  else if (slurIn)
    state.ClearSlurState();
}

void TSongNote::SetDuration(int code) { duration = ClampInt(code, 0, kDurationCodeCount - 1); }

uint16_t WithNoteFlag(uint16_t flags, int bit) {
  if (bit < 0 || bit > 15) return flags;
  flags = static_cast<uint16_t>(flags | (1u << bit));
  const int partner = PartnerFlag(bit);
  if (partner >= 0) flags = static_cast<uint16_t>(flags & ~(1u << partner));
  // Accent-type, staccato-type and Tenuto never stand all three together: the newest wins.
  const uint16_t mask = static_cast<uint16_t>(1u << bit);
  if (mask & kAccentType) {
    if (flags & kStaccatoType) flags &= static_cast<uint16_t>(~kMaskTenuto);
  } else if (mask & kStaccatoType) {
    if (flags & kAccentType) flags &= static_cast<uint16_t>(~kMaskTenuto);
  } else if (mask == kMaskTenuto) {
    if (flags & kAccentType) flags &= static_cast<uint16_t>(~kStaccatoType);
  }
  return flags;
}

void TSongNote::SetNoteFlag(int bit) { flags = WithNoteFlag(flags, bit); }

void TSongNote::ClearNoteFlag(int bit) {
  if (bit < 0 || bit > 15) return;
  flags = static_cast<uint16_t>(flags & ~(1u << bit));
}

void TSongNote::SetGroupState(int which, int state) {
  if (which == 0)
    SetBeamState(state);
  else if (which == 1)
    SetTripletState(state);
}

void TSongNote::SetBeamState(int state) { beamState = MaskBits(state, 2); }
void TSongNote::SetTripletState(int state) { tripletState = MaskBits(state, 2); }

void TSongNote::SetStemDir(int dir) {
  stemDir = BoundIndex(dir, 3, kStemAuto);
}

void TSongNote::SetStemDirFromSign(int sign) {
  SetStemDir(sign == 0 ? kStemAuto : (sign < 0 ? kStemDown : kStemUp));
}

void TSongNote::Update() {}
bool TSongNote::HasSplitStem() const { return false; }
bool TSongNote::HasTwoDurations() const { return false; }
int TSongNote::GetHeadColumns() const { return 0; }
int TSongNote::GetAccidentalSpace() const { return 0; }

void TSongNote::AuditStep(const TStaffContextState& state) {
  slurIn = state.HasSlurState();
  if (flags & kMaskSlurDirection) return;
  // Without an explicit direction a running slur keeps its direction, and a new slur curves
  // away from the stems.
  if (slurIn)
    slurDown = state.IsSlurBit5();
  else if (IsSlurOut())
    slurDown = IsStemUp();
}

bool TSongNote::Transpose(const TStaffContextState&, int, int, bool) { return true; }
void TSongNote::Respell(const TStaffContextState&) {}
bool TSongNote::TakesLyricByDefault() const { return false; }

int TSongNote::GetArticulationCount() const {
  int n = 0;
  for (uint16_t m : {kMaskAccent, kMaskStaccato, kMaskTenuto, kMaskMarcato, kMaskStaccatissimo})
    if (flags & m) ++n;
  return n;
}

int TSongNote::GetHairpin() const {
  if (flags & kMaskCrescendo) return 1;
  if (flags & kMaskDiminuendo) return 2;
  return 0;
}

void TSongNote::SetNoteColor(int c) { noteColor = MaskBits(c, 4); }
void TSongNote::SetXAccSpace(int n) { xAccSpace = SaturateUnsigned(n, 4); }
void TSongNote::SetXNoteSpace(int n) { xNoteSpace = SaturateUnsigned(n, 4); }
void TSongNote::SetNoteHead(int shape) { headShape = MaskBits(shape, 4); }
void TSongNote::SetLyric(int option) { lyric = BoundIndex(option, 3, kLyricDefault); }

int TSongNote::GetSlurDirection() const {
  if (!(flags & kMaskSlurDirection)) return kCurveDefault;
  return slurDown ? kCurveDown : kCurveUp;
}

void TSongNote::SetSlurDirection(int direction) {
  if (direction == kCurveDefault) {
    ClearNoteFlag(kFlagSlurDirection);
    return;
  }
  SetNoteFlag(kFlagSlurDirection);
  slurDown = direction == kCurveDown;
}

int TSongNote::GetStemDir() const {
  if (stemDir == kStemUp) return 1;
  if (stemDir == kStemDown) return -1;
  if (IsGrace()) return 1;
  return GetStaffPos() <= 0 ? -1 : 1;
}

bool TSongNote::TakesLyric() const {
  if (lyric == kLyricAlways) return true;
  if (lyric == kLyricNever) return false;
  return TakesLyricByDefault();
}

bool TSongNote::IsMelisma() const {
  if (lyric == kLyricAlways && !IsGrace()) return false;
  return (IsSlurOut() && !slurIn) || (IsTieOut() && !tieIn);
}

bool TSongNote::IsGroupBound() const {
  return chordMember || HasSplitStem() || IsBeamed() || restChordPart || HasTwoDurations();
}

}  // namespace kvt
