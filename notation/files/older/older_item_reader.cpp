#include "notation/files/older/older_item_reader.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/dynamic_variance.h"
#include "notation/items/flow_direction.h"
#include "notation/items/item_cast.h"
#include "notation/items/generic_control.h"
#include "notation/items/key_data.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/items/notation_marker.h"
#include "notation/files/older/older_layout_io.h"
#include "notation/items/patch_data.h"
#include "notation/items/performance_style.h"
#include "notation/items/rest_chord.h"
#include "notation/items/repeat_ending.h"
#include "notation/files/text/score_text_item_reader.h"
#include "notation/items/staff_sizer.h"
#include "notation/items/staff_spacer.h"
#include "notation/items/sustain_pedal.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/text_expression.h"
#include "notation/items/time_signature_data.h"
#include "utils/stream.h"
#include "utils/text_encoding.h"

namespace kvt {
namespace {

using ItemPtr = std::unique_ptr<TNotatedItem>;

constexpr const char* kTempoNames[] = {"Largo",   "Larghetto",  "Lento",   "Adagio",
                                       "Andante", "Andantino",  "Moderato", "Allegretto",
                                       "Allegro", "Vivace",     "Presto",  "Prestissimo"};
constexpr int kTempoNameCount = sizeof kTempoNames / sizeof kTempoNames[0];

// Longest text of a text item, in bytes.
constexpr int kTextItemMaxBytes = 1274;
// Longest item line of the current layout, in bytes.
constexpr int kItemLineMaxBytes = 8191;

// Bounds of the fields of the note part.
constexpr int kMaxRestOffsetKept = 2000;

class TItemReader {
public:
  TItemReader(TScoreFileHeader& header, TKRVStream& stream)
      : h(header), s(stream), v(header.formatVersion) {}

  // One record; recordType (when given) receives the record's type code, -1 when none was
  // read (a collapsed chord record is still a chord record).
  ItemPtr Read(int depth, int* recordType = nullptr);

private:
  int Byte() { return s.GetByte(); }
  int Word() { return s.ReadShort(); }
  int SignedWord() { return ReadSigned16(s); }
  void Fault() { NoteLayoutFault(h); }
  // The record cannot be read: the stream is no longer in step with the data.
  ItemPtr Unreadable() {
    s.SetFailed();
    return nullptr;
  }

  void ReadCommon(TNotatedItem& item);
  void ApplyExpressionFlags(TNtnGeneralExpression& e, int flags);
  void ReadExpression(TNtnGeneralExpression& e);
  // Before version 11: a 16-bit value with the position in bits 8-15 and Wide in bit 7;
  // returns the code in bits 0-6.
  int ReadPackedExpression(TNtnGeneralExpression& e);
  // The note part into a song note; returns whether value 2 announced an extra byte read.
  void ReadNotePart(TSongNote& note);
  void ReadNoteWord(TMusicNote& note);

  ItemPtr ReadClef();
  ItemPtr ReadKey();
  ItemPtr ReadBar();
  ItemPtr ReadEnding();
  ItemPtr ReadInstrument();
  ItemPtr ReadTimeSig();
  ItemPtr ReadTempo();
  ItemPtr ReadDynamic();
  ItemPtr ReadNote();
  std::unique_ptr<TRestNote> ReadRestPart(std::unique_ptr<TRestNote> rest);
  ItemPtr ReadChord(int depth);
  ItemPtr ReadRestChord(int depth);
  ItemPtr ReadSustainPedal();
  ItemPtr ReadFlow();
  ItemPtr ReadController();
  ItemPtr ReadTempoVariance();
  ItemPtr ReadDynamicVariance();
  ItemPtr ReadPerformanceStyle();
  ItemPtr ReadText();
  ItemPtr ReadSpacer();
  ItemPtr ReadMultiBarRest();
  ItemPtr ReadBoundary();
  ItemPtr ReadMarker();
  ItemPtr ReadTextLine();

  TScoreFileHeader& h;
  TKRVStream& s;
  const int v;
  // The extra note bits of the record being read (value 2 of the note part).
  bool marcato = false;
  bool staccatissimo = false;
};

ItemPtr TItemReader::Read(int depth, int* recordType) {
  if (recordType) *recordType = -1;
  if (depth > kMaxItemNesting) return Unreadable();
  if (v >= kFirstTextBodyVersion) {
    ItemPtr item = ReadTextLine();
    if (recordType && item) *recordType = item->GetType();
    return item;
  }
  const int type = Word();
  if (s.IsError()) return nullptr;
  if (recordType) *recordType = type;
  switch (type) {
    case kItemClef: return ReadClef();
    case kItemKey: return ReadKey();
    case kItemBarLine: return ReadBar();
    case kItemEnding: return ReadEnding();
    case kItemPatch: return ReadInstrument();
    case kItemTimeSig: return ReadTimeSig();
    case kItemTempo: return ReadTempo();
    case kItemDynamic: return ReadDynamic();
    case kItemNote: return ReadNote();
    case kItemRest: return ReadRestPart(std::make_unique<TRestNote>(kDurQuarter, 0));
    case kItemChord: return ReadChord(depth);
    case kItemSustainPedal: return ReadSustainPedal();
    case kItemFlow: return ReadFlow();
    case kItemGenericControl: return ReadController();
    case kItemTempoVariance: return ReadTempoVariance();
    case kItemDynamicVariance: return ReadDynamicVariance();
    case kItemPerformanceStyle: return ReadPerformanceStyle();
    case kItemText: return ReadText();
    case kItemRestChord: return ReadRestChord(depth);
    case kItemSpacer: return ReadSpacer();
    case kItemMultiBarRest: return ReadMultiBarRest();
    case kItemBoundary: return ReadBoundary();
    case kItemMarker: return ReadMarker();
    default:
      // User objects have no form in this layout; any other code is no item at all.
      return Unreadable();
  }
}

void TItemReader::ReadCommon(TNotatedItem& item) {
  if (v < 10) return;
  const int b = Byte();
  int visibility;
  int color;
  if (v >= 29) {
    visibility = CheckedValue(h, b & 7, 0, kVisibilityCount - 1, kVisDefault);
    color = CheckedValue(h, b >> 4, 0, kItemColorCount - 1, 0);
  } else {
    visibility = b & 3;
    if (visibility == 3) visibility = kVisNever;
    color = (b >> 3) & 7;
  }
  item.SetVisibility(visibility);
  item.SetColor(color);
}

void TItemReader::ApplyExpressionFlags(TNtnGeneralExpression& e, int flags) {
  e.SetWide((flags & 1) != 0);
  e.SetJustify(CheckedValue(h, (flags >> 1) & 3, kJustifyLeft, kJustifyRight, kJustifyLeft));
  int placement = (flags >> 3) & 3;
  if (v < 20 && placement == 1) placement = kPlaceAsStaffSignature;
  if (v == 20 && placement == 2) placement = kPlaceAtNextNote;
  e.SetPlacement(placement);
}

void TItemReader::ReadExpression(TNtnGeneralExpression& e) {
  if (v < 11) {
    // The kinds of these versions carry their position and Wide in their own fields.
    e.SetPos(-8);
    ApplyExpressionFlags(e, 17);
    return;
  }
  const int whole = static_cast<int8_t>(Byte());
  double pos = whole;
  if (v >= 34) {
    const int hundredths = CheckedValue(h, Byte(), 0, 99, 0);
    pos = whole < 0 ? whole - hundredths * 0.01 : whole + hundredths * 0.01;
  }
  e.SetPos(pos);
  ApplyExpressionFlags(e, Byte());
}

int TItemReader::ReadPackedExpression(TNtnGeneralExpression& e) {
  ReadExpression(e);
  const int value = Word();
  e.SetPos(static_cast<int8_t>(value >> 8));
  e.SetWide((value & 0x80) != 0);
  return value & 0x7F;
}

void TItemReader::ReadNotePart(TSongNote& note) {
  ReadCommon(note);
  const int value1 = Word();
  note.SetDuration(CheckedValue(h, value1 & 15, kDurWhole, kDur64th, kDurQuarter));
  if (v >= 9) {
    note.SetXAccSpace((value1 >> 4) & 15);
    note.SetXNoteSpace((value1 >> 8) & 15);
  }
  const int value2 = Word();
  note.SetBeamState(value2 & 3);
  note.SetTripletState((value2 >> 2) & 3);
  note.SetStemDir(CheckedValue(h, (value2 >> 4) & 3, kStemAuto, kStemDown, kStemAuto));
  if (v >= 4) note.SetSlurDown((value2 & 0x40) != 0);
  if (v >= 13) note.SetLyric(CheckedValue(h, (value2 >> 7) & 3, kLyricDefault, kLyricNever, 0));
  if (v >= 17) note.SetNoteHead((value2 >> 9) & 15);
  marcato = v >= 26 && (value2 & 0x2000) != 0;
  staccatissimo = v >= 26 && (value2 & 0x4000) != 0;

  const int f = Word();
  uint16_t word = 0;
  const int dots = f & 3;
  if (v >= 5 && (dots & 1)) word |= kMaskDblDotted;
  if (dots >= 2) word |= staccatissimo ? kMaskStaccatissimo : kMaskStaccato;
  if (f & 0x0004) {
    if (word & kMaskDblDotted)
      Fault();  // dotted and double dotted at once: the double dot stays
    else
      word |= kMaskDotted;
  }
  note.SetTieIn((f & 0x0008) != 0);
  if (f & 0x0010) word |= kMaskTieOut;
  if (f & 0x0020) word |= marcato ? kMaskMarcato : kMaskAccent;
  if (v >= 5) {
    if (f & 0x0040) word |= kMaskMarkA;
    if (f & 0x0080) {
      if (word & kMaskMarkA)
        Fault();
      else
        word |= kMaskMarkB;
    }
    if (f & 0x0400) word |= kMaskTenuto;
  }
  if (v >= 4) {
    if (f & 0x0100) word |= kMaskSlur;
    note.SetSlurIn((f & 0x0200) != 0);
  }
  if (v >= 18) {
    if (f & 0x0800) word |= kMaskCrescendo;
    if (f & 0x1000) {
      if (word & kMaskCrescendo)
        Fault();
      else
        word |= kMaskDiminuendo;
    }
  }
  if (v >= 7 && (f & 0x2000)) word |= kMaskGrace;
  if (v >= 10) {
    if (f & 0x4000) word |= kMaskTieDirection;
    if (f & 0x8000) word |= kMaskSlurDirection;
  }
  // Accent-type, staccato-type and Tenuto never stand all three together.
  if ((word & (kMaskAccent | kMaskMarcato)) && (word & (kMaskStaccato | kMaskStaccatissimo)) &&
      (word & kMaskTenuto)) {
    Fault();
    word &= static_cast<uint16_t>(~kMaskTenuto);
  }
  note.SetFlags(word);

  if (v >= 29 && (value2 & 0x8000)) {
    const int extra = Byte();
    note.SetNoteColor(extra & 15);
    if (note.IsMusicNoteClass())
      ItemRef<TMusicNote>(note).SetArticulationsOnStem((extra & 0x10) != 0);
  }
}

void TItemReader::ReadNoteWord(TMusicNote& note) {
  const int w = Word();
  note.SetStaffPos(static_cast<int8_t>(w & 0xFF));
  note.SetAccidental(CheckedValue(h, (w >> 8) & 7, kAccSharp, kAccNone, kAccNone));
  note.SetTieDown((w & 0x0800) != 0);
  note.SetMuted((w & 0x1000) != 0);
  note.SetNoLegerLines((w & 0x2000) != 0);
  if (w & 0x4000) note.SetStemLength(0);
}

ItemPtr TItemReader::ReadClef() {
  auto clef = std::make_unique<TClefData>();
  ReadCommon(*clef);
  clef->SetClefType(CheckedValue(h, Word(), 0, kClefTypeCount - 1, kClefTreble));
  if (v >= 4) {
    const int value = Word();
    clef->SetOctaveShift(CheckedValue(h, value & 15, kOctaveShiftNone, kOctaveShiftDown, 0));
    if (v >= 27) clef->SetAutoSys((value & 0x10) == 0);
  }
  if (v < 27 && clef->GetVisibility() == kVisNever) clef->SetAutoSys(false);
  return clef;
}

ItemPtr TItemReader::ReadKey() {
  auto key = std::make_unique<TKeyData>();
  ReadCommon(*key);
  int flats = Word();
  int sharps = Word();
  if ((flats | sharps) & ~0x7F) {
    Fault();
    flats &= 0x7F;
    sharps &= 0x7F;
  }
  if (flats & sharps) {
    Fault();
    flats &= ~sharps;
  }
  key->SetFlatsMask(flats);
  key->SetSharpsMask(sharps);
  key->SetClef(CheckedValue(h, Word(), 0, kClefTypeCount - 1, 0));
  if (v >= 3) {
    Word();
    Word();
  }
  int tonic = TKeyData::MajorTonic(TKeyData::KeyCount(sharps, flats));
  int keyFlags = 0;
  if (v >= 26) {
    tonic = CheckedValue(h, Byte(), 0, 6, tonic);
    keyFlags = Byte();
  }
  key->SetTonic(tonic);
  key->SetHideCancels((keyFlags & 1) != 0);
  key->SetAutoSys((keyFlags & 2) == 0);
  return key;
}

ItemPtr TItemReader::ReadBar() {
  auto bar = std::make_unique<TBarLineData>();
  ReadCommon(*bar);
  const int value = Word();
  int style = value & 31;
  if (v < 26 && style > 1) style += 2;
  style = CheckedValue(h, style, kBarSingle, kBarTransparent, kBarSingle);
  bar->SetStyle(style, value >> 8);
  if (v >= 24) bar->SetXBarCnt((value & 0x40) != 0);
  if (v >= 12) bar->SetSysBreak((value & 0x80) != 0);
  return bar;
}

ItemPtr TItemReader::ReadEnding() {
  auto ending = std::make_unique<TSpecialEnding>();
  ReadCommon(*ending);
  const int mask = Word();
  if (mask & ~0xFF) Fault();
  ending->SetEndings(mask & 0xFF);
  if (v >= 32) {
    const int flags = Byte();
    ending->SetClosedBracket((flags & 1) != 0);
    ending->SetHideText((flags & 2) != 0);
    ending->SetVertOffsetStore(static_cast<int8_t>(Byte()));
    ending->SetBracketHeight(ClampedValue(h, Byte(), 0, 100));
  }
  return ending;
}

ItemPtr TItemReader::ReadInstrument() {
  auto change = std::make_unique<TPatchData>();
  ReadCommon(*change);
  ReadExpression(*change);
  TInstrumentDef& def = change->GetInstrument();
  const int patch = CheckedValue(h, SignedWord(), -1, 127, -1);
  const int bank = CheckedValue(h, SignedWord(), -1, 16383, -1);
  def.SetTransposition(ClampedValue(h, SignedWord(), -128, 127));
  def.SetPatch(patch);
  int flags = bank >= 0 ? 1 : 0;
  if (v >= 19) {
    def.SetName(ReadLayoutText(s, LayoutCodePage(h, kRoleStaffBold), kInstrumentNameUnits - 1));
    flags = Byte();
    for (int level = 0; level < kDynamicLevels; ++level)
      def.SetDynamicVelocity(level, ClampedValue(h, Byte(), 0, 127));
  } else if (patch >= 0) {
    char name[16];
    std::snprintf(name, sizeof name, "[#%03d]", patch);
    def.SetName(Utf8ToUtf16(name));
  }
  // The flag byte says whether the bank is set; before version 19 the staff's own flag byte
  // decides that after the staff is read.
  if ((flags & 1) && bank >= 0)
    def.SetBank(bank >> 7, bank & 127);
  else
    def.ClearBank();
  return change;
}

ItemPtr TItemReader::ReadTimeSig() {
  auto sig = std::make_unique<TTimeSignatureData>();
  ReadCommon(*sig);
  int beats = std::abs(SignedWord());
  if (beats == 0 || beats > 128) {
    Fault();
    beats = beats == 0 ? 1 : 128;
  }
  const int exponent = ClampedValue(h, Word(), 0, 5);
  sig->SetSignature(beats, exponent);
  if (v >= 3) sig->SetStyle(CheckedValue(h, Word(), kTimeSigStandard, kTimeSigAllaBreve, 0));
  return sig;
}

ItemPtr TItemReader::ReadTempo() {
  auto tempo = std::make_unique<TTempoData>();
  ReadCommon(*tempo);
  ReadExpression(*tempo);
  int value;
  int base = kTempoQuarter;
  if (v >= 11) {
    value = Word();
    base = Byte();
    tempo->SetText(ReadLayoutText(s, LayoutCodePage(h, kRoleStaffBold), kMaxTempoTextUnits));
  } else {
    tempo->SetPos(SignedWord());
    value = Word();
    if (v >= 3) base = Word();
    if (v >= 4) {
      const int flags = Word();
      if ((flags & 0x30) == 0) tempo->SetVisibility(kVisNever);
      if (flags & 0x20) {
        const char* name = GetOlderTempoName(flags & 15);
        if (name)
          tempo->SetText(Utf8ToUtf16(name));
        else
          Fault();
      }
      tempo->SetWide((flags & 0x40) != 0);
    }
  }
  base = CheckedValue(h, base, kTempoEighth, kTempoHalfDotted, kTempoQuarter);
  if (value < kMinTempo) {
    Fault();
    value = kMinTempo;
  }
  // Before version 24 tempos counted quarter notes whatever base the mark showed.
  if (v < 24) value = TTempoData::FromQuarterTempo(value, base);
  tempo->SetTempo(value, base);
  return tempo;
}

ItemPtr TItemReader::ReadDynamic() {
  auto dynamic = std::make_unique<TDynamicLevelData>();
  ReadCommon(*dynamic);
  ReadExpression(*dynamic);
  if (v < 4) {
    dynamic->SetPos(SignedWord());
    dynamic->SetLevel(ClampedValue(h, Word(), kDynPPP, kDynFFF));
    return dynamic;
  }
  int value;
  if (v >= 11) {
    value = Byte();
  } else {
    value = Word();
    dynamic->SetPos(static_cast<int8_t>(value >> 8));
    dynamic->SetWide((value & 0x80) != 0);
  }
  dynamic->SetLevel(ClampedValue(h, value & 15, kDynPPP, kDynFFF));
  int velocity = Word();
  int volume = Word();
  bool hasVelocity = (value & 0x20) != 0;
  bool hasVolume = (value & 0x40) != 0;
  if (velocity & 0x2000) {
    velocity = 0;
    hasVelocity = false;
  }
  if (volume & 0x2000) {
    volume = 127;
    hasVolume = false;
  }
  dynamic->SetVelocity(ClampedValue(h, velocity, 0, 127));
  dynamic->SetVolume(ClampedValue(h, volume, 0, 127));
  dynamic->SetHasVelocity(hasVelocity);
  dynamic->SetHasVolume(hasVolume);
  return dynamic;
}

ItemPtr TItemReader::ReadNote() {
  auto note = std::make_unique<TMusicNote>(0, kDurQuarter, 0, kAccNone);
  ReadNotePart(*note);
  ReadNoteWord(*note);
  return note;
}

std::unique_ptr<TRestNote> TItemReader::ReadRestPart(std::unique_ptr<TRestNote> rest) {
  ReadNotePart(*rest);
  if (v >= 9) {
    const int offset = SignedWord();
    if (rest->GetType() == kItemRestChord && std::abs(offset) > kMaxRestOffsetKept) {
      // The form in which a rest chord's hidden rest is stored.
      rest->SetHideRest(true);
    } else {
      rest->SetVertOffset(ClampedValue(h, offset, -kMaxRestOffsetKept, kMaxRestOffsetKept));
    }
  }
  return rest;
}

ItemPtr TItemReader::ReadChord(int depth) {
  // The chord's own settings, kept apart: the first member added gives a chord its settings,
  // the chord's own then replace them.
  TMusicNote settings(0, kDurQuarter, 0, kAccNone);
  ReadNotePart(settings);
  ReadNoteWord(settings);
  if (v < 16) Word();
  int count = Word();
  if (count > kMaxChordRecordMembers) {
    // A count this large is damage: read what is there up to the bound.
    Fault();
    count = kMaxChordRecordMembers;
  }
  auto chord = std::make_unique<TChordData>();
  for (int i = 0; i < count && !s.IsError(); ++i) {
    int recordType;
    ItemPtr member = Read(depth + 1, &recordType);
    if (!member) {
      if (s.IsError()) break;
      continue;
    }
    if (recordType != kItemNote || member->GetType() != kItemNote) {
      Fault();
      continue;
    }
    std::unique_ptr<TMusicNote> note = TakeItemAs<TMusicNote>(member);
    chord->AddNote(note);
  }
  if (v == 24) {
    for (int i = 0; i < chord->GetMemberCount(); ++i) {
      TMusicNote* m = chord->GetMember(i);
      if (m->GetColor() != 0 && m->GetNoteColor() == 0) {
        m->SetNoteColor(m->GetColor());
        m->SetColor(0);
      }
    }
  }
  // A member at the position and of the duration of the one before it repeats it.
  for (int i = chord->GetMemberCount() - 1; i >= 1; --i) {
    TMusicNote* m = chord->GetMember(i);
    TMusicNote* prev = chord->GetMember(i - 1);
    if (m->GetStaffPos() == prev->GetStaffPos() &&
        m->GetNotatedDuration() == prev->GetNotatedDuration() &&
        m->GetStemSetting() == prev->GetStemSetting())
      chord->RemoveNote(m);  // deleted with the answer
  }
  if (chord->GetMemberCount() == 0) {
    Fault();
    return nullptr;
  }
  const bool twoDurations = chord->HasTwoDurations();
  chord->Assign(settings);
  chord->SetStaffPos(settings.GetStaffPos());
  chord->SetAccidental(settings.GetAccidental());
  if (v < 21 && twoDurations) chord->SetArticulationsOnStem(true);
  if (chord->GetMemberCount() == 1) {
    std::unique_ptr<TMusicNote> note = chord->RemoveNote(chord->GetMember(0));
    const int pos = note->GetStaffPos();
    const int accidental = note->GetAccidental();
    const bool tied = note->IsTieOut();
    note->SetChordMember(false);
    note->Assign(*chord);
    note->SetStaffPos(pos);
    note->SetAccidental(accidental);
    if (tied)
      note->SetNoteFlag(kFlagTieOut);
    else
      note->ClearNoteFlag(kFlagTieOut);
    return note;
  }
  chord->Update();
  return chord;
}

ItemPtr TItemReader::ReadRestChord(int depth) {
  auto rest = ReadRestPart(std::make_unique<TRestChord>(kDurQuarter, 0));
  auto* restChord = ItemAs<TRestChord>(rest.get());
  const int hasPart = Word();
  if (hasPart & 1) {
    int recordType;
    ItemPtr part = Read(depth + 1, &recordType);
    if (!part) return s.IsFailed() ? nullptr : std::move(rest);
    if (recordType != kItemNote && recordType != kItemChord) {
      Fault();
    } else if (std::unique_ptr<TMusicNote> note = TakeItemAs<TMusicNote>(part);
               !note || !restChord->AttachNote(note)) {
      Fault();
    }
  }
  return rest;
}

ItemPtr TItemReader::ReadSustainPedal() {
  auto pedal = std::make_unique<TSustainPedal>();
  ReadCommon(*pedal);
  int status;
  if (v >= 11) {
    ReadExpression(*pedal);
    status = Byte();
  } else {
    status = ReadPackedExpression(*pedal);
  }
  if (status & ~1) Fault();
  pedal->SetDown((status & 1) != 0);
  return pedal;
}

ItemPtr TItemReader::ReadFlow() {
  auto flow = std::make_unique<TFlowDirection>();
  ReadCommon(*flow);
  int style;
  if (v >= 11) {
    ReadExpression(*flow);
    style = Word();
  } else {
    style = ReadPackedExpression(*flow);
  }
  flow->SetStyle(CheckedValue(h, style, 0, kFlowStyleCount - 1, 0));
  return flow;
}

ItemPtr TItemReader::ReadController() {
  auto mpc = std::make_unique<TGenericControl>();
  ReadCommon(*mpc);
  ReadExpression(*mpc);
  mpc->SetController(CheckedValue(h, Word(), 0, kMpcControllerCount - 1, 0));
  mpc->SetStyle(CheckedValue(h, Word(), kMpcAbsolute, kMpcLinearSweep, kMpcAbsolute));
  mpc->SetTimeRes(CheckedValue(h, Word(), 0, 7, kDurQuarter));
  mpc->SetSweepRes(ClampedValue(h, SignedWord(), 0, 32767));
  for (int n = 0; n < MaxRawParmSetPoints; ++n) {
    const int defined = Word();
    const int time = SignedWord();
    const int value = Word();
    if (n == 0 || defined != 0)
      mpc->SetPoint(n, time, value);
    else
      mpc->ClearPoint(n);
  }
  return mpc;
}

ItemPtr TItemReader::ReadTempoVariance() {
  auto variance = std::make_unique<TTempoVariance>();
  ReadCommon(*variance);
  int style;
  int pause;
  if (v >= 11) {
    ReadExpression(*variance);
    style = Byte();
    pause = Byte();
  } else {
    style = ReadPackedExpression(*variance);
    pause = ClampedValue(h, Word(), 0, 255);
  }
  if (v < 26 && style > 0) ++style;
  style = CheckedValue(h, style, 0, kTempoVarianceStyleCount - 1, kTempoVarFermata);
  variance->SetStyle(style);
  variance->SetPause(pause);
  if (v < 26 && style == kTempoVarFermata && !variance->IsWide()) {
    variance->SetPlacement(kPlaceAtNextNote);
    variance->SetJustify(kJustifyCenter);
  }
  return variance;
}

ItemPtr TItemReader::ReadDynamicVariance() {
  auto variance = std::make_unique<TDynamicVariance>();
  ReadCommon(*variance);
  int style;
  if (v >= 11) {
    ReadExpression(*variance);
    style = Byte();
  } else {
    style = ReadPackedExpression(*variance);
  }
  variance->SetStyle(CheckedValue(h, style, 0, kDynamicVarianceStyleCount - 1, 0));
  return variance;
}

ItemPtr TItemReader::ReadPerformanceStyle() {
  auto perf = std::make_unique<TPerformanceStyle>();
  ReadCommon(*perf);
  int style;
  if (v >= 11) {
    ReadExpression(*perf);
    style = Byte();
  } else {
    style = ReadPackedExpression(*perf);
  }
  perf->SetStyle(CheckedValue(h, style, 0, kPerformanceStyleCount - 1, 0));
  return perf;
}

ItemPtr TItemReader::ReadText() {
  auto text = std::make_unique<TTextExpression>();
  ReadCommon(*text);
  ReadExpression(*text);
  int font;
  if (v >= 11) {
    font = Byte();
  } else {
    const int value = Word();
    text->SetPos(static_cast<int8_t>(value >> 8));
    text->SetWide((value & 0x10) != 0);
    font = value & 15;
  }
  if (v < 26) font += 2;
  font = CheckedValue(h, font, 0, kTextFontCount - 1, kTextFontStaffSymbols);
  text->SetFontIndex(font);
  char bytes[kTextItemMaxBytes + 1];
  s.ReadString(bytes, sizeof bytes);
  const int codePage = LayoutCodePage(h, font);
  std::string_view view(bytes);
  if (codePage == 65001) view = view.substr(0, Utf8CompleteLength(view));
  if (view.empty()) {
    text->SetText(u"text");
    text->SetWide(true);
    text->SetVisibility(kVisNever);
    text->SetFontIndex(kTextFontStaffSymbols);
    text->SetPos(-8);
  } else {
    text->SetTextFromCodePage(codePage, view);
  }
  return text;
}

ItemPtr TItemReader::ReadSpacer() {
  auto spacer = std::make_unique<TStaffSpacer>();
  ReadCommon(*spacer);
  const uint32_t raw = s.ReadLong();
  spacer->SetWidthValue(ClampedValue(h, static_cast<int>(raw & 0x7FFF), 0, kMaxSpacerWidth));
  return spacer;
}

ItemPtr TItemReader::ReadMultiBarRest() {
  auto rest = std::make_unique<TMultiMeasureRest>();
  ReadCommon(*rest);
  rest->SetNumBars(ClampedValue(h, Word(), 1, kMaxMultiRestBars));
  if (v >= 29) {
    const int flags = Word();
    rest->SetPrintOnce((flags & 1) != 0);
    rest->SetShowBarsWhenHidden((flags & 4) != 0);
    rest->SetShowRestsWhenHidden((flags & 8) != 0);
  }
  return rest;
}

ItemPtr TItemReader::ReadBoundary() {
  auto sizer = std::make_unique<TStaffSizer>();
  ReadCommon(*sizer);
  int style = Byte();
  if (v == 30) style = style == 0 ? 3 : (style > 2 ? style + 1 : style);
  style = CheckedValue(h, style, kSizerReset, kSizerNewSystem, kSizerReset);
  sizer->SetStyle(style);
  if (style == kSizerNewSize) {
    const int upper = ClampedValue(h, Byte(), 0, 100);
    const int lower = ClampedValue(h, Byte(), 0, 100);
    sizer->SetNewSize(upper, lower);
  } else if (style == kSizerGap) {
    sizer->SetGapWidth(Word());
    sizer->SetSystemConnections((Word() & 1) != 0);
  } else if (style == kSizerNewSystem) {
    sizer->SetNewPage((Byte() & 1) != 0);
  }
  return sizer;
}

ItemPtr TItemReader::ReadMarker() {
  auto marker = std::make_unique<TNotationMarker>();
  ReadCommon(*marker);
  marker->SetPos(s.ReadRealText());
  return marker;
}

ItemPtr TItemReader::ReadTextLine() {
  std::string line(kItemLineMaxBytes + 1, '\0');
  s.ReadString(line.data(), static_cast<int>(line.size()));
  line.resize(std::char_traits<char>::length(line.c_str()));
  if (s.IsError() && line.empty()) return nullptr;
  TKVTFindTextImporter importer;
  ItemPtr item = importer.ReadItemLine(line, 0.0);
  if (!item) return Unreadable();
  if (importer.IsCorrupt()) Fault();
  return item;
}

}  // namespace

std::unique_ptr<TNotatedItem> ReadItem(TScoreFileHeader& header, TKRVStream& stream) {
  return TItemReader(header, stream).Read(0);
}

const char* GetOlderTempoName(int index) {
  return index >= 0 && index < kTempoNameCount ? kTempoNames[index] : nullptr;
}

}  // namespace kvt
