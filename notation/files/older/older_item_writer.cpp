#include "notation/files/older/older_item_writer.h"

#include <string>

#include "notation/items/item_cast.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/dynamic_variance.h"
#include "notation/items/flow_direction.h"
#include "notation/items/generic_control.h"
#include "notation/items/item_position.h"
#include "notation/items/key_data.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/items/packed_field.h"
#include "notation/items/patch_data.h"
#include "notation/items/performance_style.h"
#include "notation/items/rest_chord.h"
#include "notation/items/repeat_ending.h"
#include "notation/items/staff_spacer.h"
#include "notation/items/sustain_pedal.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/text_expression.h"
#include "notation/items/time_signature_data.h"
#include "utils/stream.h"

namespace kvt {
namespace {

constexpr int kHiddenCode = 3;
constexpr int kMaxSpacerBlanks = 254;
// The rest offset that stores a rest chord's hidden rest.
constexpr int kHiddenRestOffset = 2001;

// Bar styles as version 16 codes them, by current style.
constexpr int kBarCode16[kBarStyleCount] = {0, 1, 0, 1, 2, 3, 4, 5, 6, 7, 0};

class TItemWriter {
public:
  TItemWriter(TKRVStream& stream, const TExportStaffContext& context) : s(stream), c(context) {}

  void Write(const TNotatedItem& item);

private:
  void Byte(int value) { s.PutByte(value & 0xFF); }
  void Word(int value) { s.WriteShort(ClampInt(value, -32768, 65535)); }

  int VisibilityCode(int visibility) const;
  void Common(int visibility, int color);
  void Common(const TNotatedItem& item) { Common(item.GetVisibility(), item.GetColor()); }
  void Expression(const TNtnGeneralExpression& e);
  void ExpressionFields(double pos, bool wide, int justify, int placement);
  void NotePart(const TSongNote& note);
  void NoteWord(const TMusicNote& note, int staffPos);
  void NoteRecord(const TMusicNote& note);
  void ChordRecord(const TChordData& chord);
  void RestPart(const TRestNote& rest);
  void WholeRest(const TNotatedItem& attributes);
  void SpacerText(const TStaffSpacer& spacer);

  TKRVStream& s;
  const TExportStaffContext& c;
};

int TItemWriter::VisibilityCode(int visibility) const {
  switch (visibility) {
    case kVisDefault:
    case kVisAlways:
    case kVisTopStaff:
      return visibility;
    case kVisSingleStaff:
      return c.visibleStaffBefore || c.visibleStaffCount < 2 ? kVisTopStaff : kHiddenCode;
    case kVisMultiStaff:
      return c.visibleStaffCount > 1 ? kVisAlways : kHiddenCode;
    default:
      return kHiddenCode;
  }
}

void TItemWriter::Common(int visibility, int color) {
  Byte(VisibilityCode(visibility) | (color > 2 ? 3 : color) << 3);
}

void TItemWriter::ExpressionFields(double pos, bool wide, int justify, int placement) {
  Byte(ClampInt(ItemPosToInt(static_cast<float>(pos)), -128, 127));
  const int place = placement == kPlaceAsStaffSignature || placement == kPlaceAtNextNote ? placement : 0;
  Byte((wide ? 1 : 0) | (justify <= kJustifyRight ? justify : 0) << 1 | place << 3);
}

void TItemWriter::Expression(const TNtnGeneralExpression& e) {
  ExpressionFields(e.GetPos(), e.IsWide(), e.GetJustify(), e.GetPlacement());
}

void TItemWriter::NotePart(const TSongNote& note) {
  Common(note);
  Word(note.GetDurationCode() | note.GetXAccSpace() << 4 | note.GetXNoteSpace() << 8);
  Word(note.GetBeamState() | note.GetTripletState() << 2 | note.GetStemSetting() << 4 |
       (note.IsSlurDown() ? 0x40 : 0) | note.GetLyric() << 7);
  const uint16_t f = note.GetFlags();
  int word = 0;
  const bool staccato = (f & (kMaskStaccato | kMaskStaccatissimo)) != 0;
  if (staccato)
    word |= (f & kMaskDblDotted) ? 3 : 2;
  else if (f & kMaskDblDotted)
    word |= 1;
  if (f & kMaskDotted) word |= 0x0004;
  if (note.IsTieIn()) word |= 0x0008;
  if (f & kMaskTieOut) word |= 0x0010;
  if (f & (kMaskAccent | kMaskMarcato)) word |= 0x0020;
  if (f & kMaskMarkA) word |= 0x0040;
  if (f & kMaskMarkB) word |= 0x0080;
  if (f & kMaskSlur) word |= 0x0100;
  if (note.IsSlurIn()) word |= 0x0200;
  if (f & kMaskTenuto) word |= 0x0400;
  if (f & kMaskGrace) word |= 0x2000;
  if (f & kMaskTieDirection) word |= 0x4000;
  if (f & kMaskSlurDirection) word |= 0x8000;
  Word(word);
}

void TItemWriter::NoteWord(const TMusicNote& note, int staffPos) {
  Word((staffPos & 0xFF) | note.GetAccidental() << 8 | (note.IsTieDown() ? 0x0800 : 0) |
       (note.IsMuted() ? 0x1000 : 0) | (note.GetNoLegerLines() ? 0x2000 : 0) |
       (note.IsStemShown() ? 0 : 0x4000));
}

void TItemWriter::NoteRecord(const TMusicNote& note) {
  Word(kItemNote);
  NotePart(note);
  NoteWord(note, note.GetStaffPos());
}

void TItemWriter::ChordRecord(const TChordData& chord) {
  Word(kItemChord);
  NotePart(chord);
  // The chord's own stored position (its reference member's), not the middle of its extent.
  NoteWord(chord, chord.TMusicNote::GetStaffPos());
  Word(chord.GetMemberCount());
  for (int i = 0; i < chord.GetMemberCount(); ++i) NoteRecord(*chord.GetMember(i));
}

void TItemWriter::RestPart(const TRestNote& rest) {
  NotePart(rest);
  Word(rest.GetHideRest() ? kHiddenRestOffset : rest.GetVertOffset());
}

void TItemWriter::WholeRest(const TNotatedItem& attributes) {
  Word(kItemRest);
  Common(attributes);
  Word(kDurWhole);
  Word(0);
  Word(0);
  Word(0);
}

void TItemWriter::SpacerText(const TStaffSpacer& spacer) {
  const int width = spacer.GetWidthValue();
  const int blanks = ClampInt(width / 100, 1, kMaxSpacerBlanks);
  TTextExpression defaults;
  Word(kItemText);
  Common(spacer.GetVisibility(), 0);
  ExpressionFields(defaults.GetPos(), width > 20, kJustifyLeft, kPlaceBestFit);
  Byte(kTextFontStaffBold - kTextFontStaffItalic);
  s.WriteString(std::string(static_cast<size_t>(blanks), ' ').c_str());
}

void TItemWriter::Write(const TNotatedItem& item) {
  const int type = item.GetType();
  switch (type) {
    case kItemUserObject:
    case kItemBoundary:
    case kItemMarker:
      return;
    case kItemSpacer:
      SpacerText(ItemRef<TStaffSpacer>(item));
      return;
    case kItemMultiBarRest: {
      const int bars = ItemRef<TMultiMeasureRest>(item).GetNumBars();
      for (int i = 0; i < bars; ++i) {
        if (i > 0) {
          Word(kItemBarLine);
          Common(kVisDefault, 0);
          Word(kBarCode16[kBarSingle]);
        }
        WholeRest(item);
      }
      return;
    }
    case kItemChord:
      ChordRecord(ItemRef<TChordData>(item));
      return;
    case kItemNote:
      NoteRecord(ItemRef<TMusicNote>(item));
      return;
    default:
      break;
  }

  Word(type);
  switch (type) {
    case kItemClef: {
      const auto& clef = ItemRef<TClefData>(item);
      Common(clef);
      Word(clef.GetClefType() == kClefDrum ? kClefBass : clef.GetClefType());
      Word(clef.GetOctaveShift());
      break;
    }
    case kItemKey: {
      const auto& key = ItemRef<TKeyData>(item);
      Common(key);
      Word(key.GetFlatsMask());
      Word(key.GetSharpsMask());
      Word(key.GetClef() == kClefDrum ? kClefBass : key.GetClef());
      Word(0);
      Word(0);
      break;
    }
    case kItemBarLine: {
      const auto& bar = ItemRef<TBarLineData>(item);
      Common(bar);
      const int style = bar.GetStyle() < kBarStyleCount ? bar.GetStyle() : kBarSingle;
      Word(kBarCode16[style] | (bar.IsSysBreak() ? 0x80 : 0) | bar.GetRepeat() << 8);
      break;
    }
    case kItemEnding: {
      const auto& ending = ItemRef<TSpecialEnding>(item);
      Common(ending);
      Word(ending.GetEndings() & 0xFF);
      break;
    }
    case kItemPatch: {
      const auto& change = ItemRef<TPatchData>(item);
      const TInstrumentDef& def = change.GetInstrument();
      Common(change);
      Expression(change);
      Word(def.GetPatch());
      Word(def.HasBank() ? def.GetBank() : -1);
      Word(def.GetTransposition());
      break;
    }
    case kItemTimeSig: {
      const auto& sig = ItemRef<TTimeSignatureData>(item);
      Common(sig);
      Word(sig.GetBeats());
      Word(sig.GetBeatExponent());
      Word(sig.GetStyle());
      break;
    }
    case kItemTempo: {
      const auto& tempo = ItemRef<TTempoData>(item);
      Common(tempo);
      Expression(tempo);
      Word(ExportTempoValue(tempo.GetTempo(), tempo.GetBase()));
      Byte(tempo.GetBase());
      WriteLayoutText(s, LayoutCodePage(kExportFormatVersion, c.fonts, kRoleStaffBold, kAnsiCodePage),
                      tempo.GetText());
      break;
    }
    case kItemDynamic: {
      const auto& dynamic = ItemRef<TDynamicLevelData>(item);
      Common(dynamic);
      Expression(dynamic);
      Byte((dynamic.GetLevel() & 15) | (dynamic.HasVelocity() ? 0x20 : 0) |
           (dynamic.HasVolume() ? 0x40 : 0));
      Word(dynamic.GetVelocity());
      Word(dynamic.GetVolume());
      break;
    }
    case kItemRest:
      RestPart(ItemRef<TRestNote>(item));
      break;
    case kItemSustainPedal: {
      const auto& pedal = ItemRef<TSustainPedal>(item);
      Common(pedal);
      Expression(pedal);
      Byte(pedal.IsDown() ? 1 : 0);
      break;
    }
    case kItemFlow: {
      const auto& flow = ItemRef<TFlowDirection>(item);
      Common(flow);
      Expression(flow);
      Word(flow.GetStyle());
      break;
    }
    case kItemGenericControl: {
      const auto& mpc = ItemRef<TGenericControl>(item);
      Common(mpc);
      Expression(mpc);
      Word(mpc.GetController());
      Word(mpc.GetStyle());
      Word(mpc.GetTimeRes());
      Word(mpc.GetSweepRes());
      for (int n = 0; n < MaxRawParmSetPoints; ++n) {
        Word(mpc.IsPointActive(n) ? 1 : 0);
        Word(mpc.GetPointTime(n));
        Word(mpc.GetPointValue(n));
      }
      break;
    }
    case kItemTempoVariance: {
      const auto& variance = ItemRef<TTempoVariance>(item);
      Common(variance);
      Expression(variance);
      Byte(variance.GetStyle() > 0 ? variance.GetStyle() - 1 : 0);
      Byte(variance.GetPause());
      break;
    }
    case kItemDynamicVariance: {
      const auto& variance = ItemRef<TDynamicVariance>(item);
      Common(variance);
      Expression(variance);
      Byte(variance.GetStyle());
      break;
    }
    case kItemPerformanceStyle: {
      const auto& perf = ItemRef<TPerformanceStyle>(item);
      Common(perf);
      Expression(perf);
      Byte(perf.GetStyle());
      break;
    }
    case kItemText: {
      const auto& text = ItemRef<TTextExpression>(item);
      Common(text);
      Expression(text);
      const int font = text.GetFontIndex();
      // Version 16 numbers the fonts from StaffItalic; the two symbol fonts take the last two.
      int code = font >= kTextFontStaffItalic && font < kTextFontCount ? font - kTextFontStaffItalic
                                                                       : font + 10;
      if (code > 11) code = 0;
      Byte(code);
      // The reader picks the code page by the font it reads back (code + 2).
      WriteLayoutText(s, LayoutCodePage(kExportFormatVersion, c.fonts, code + 2, kAnsiCodePage),
                      text.GetText());
      break;
    }
    case kItemRestChord: {
      const auto& restChord = ItemRef<TRestChord>(item);
      RestPart(restChord);
      const TMusicNote* part = restChord.GetPart();
      Word(part ? 1 : 0);
      if (part) {
        if (part->GetType() == kItemChord)
          ChordRecord(ItemRef<TChordData>(*part));
        else
          NoteRecord(*part);
      }
      break;
    }
    default:
      break;
  }
}

}  // namespace

int CountExportRecords(const TNotatedItem& item) {
  switch (item.GetType()) {
    case kItemUserObject:
    case kItemBoundary:
    case kItemMarker:
      return 0;
    case kItemMultiBarRest:
      return 2 * ItemRef<TMultiMeasureRest>(item).GetNumBars() - 1;
    default:
      return 1;
  }
}

void WriteExportItem(TKRVStream& stream, const TNotatedItem& item, const TExportStaffContext& context) {
  TItemWriter(stream, context).Write(item);
}

int ExportTempoValue(int tempo, int base) { return TTempoData::QuarterTempo(tempo, base); }

}  // namespace kvt
