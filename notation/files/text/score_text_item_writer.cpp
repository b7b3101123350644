// Record lines of the item kinds other than song notes, with the expression and common fields
// every line ends with.

#include <algorithm>
#include <cstring>

#include "notation/items/bar_line_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/clef_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/dynamic_variance.h"
#include "notation/items/flow_direction.h"
#include "notation/items/generic_control.h"
#include "notation/items/key_data.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/items/name_lists.h"
#include "notation/items/notation_marker.h"
#include "notation/items/patch_data.h"
#include "notation/items/performance_style.h"
#include "notation/items/rest_chord.h"
#include "notation/files/text/score_text_format.h"
#include "notation/files/text/score_text_item_format.h"
#include "notation/files/text/score_text_numbers.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/items/repeat_ending.h"
#include "notation/items/staff_sizer.h"
#include "notation/items/staff_spacer.h"
#include "notation/items/sustain_pedal.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/text_expression.h"
#include "notation/items/time_signature_data.h"
#include "notation/items/user_object.h"
#include "utils/memory_block.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

// Letters of the key signature orders (A 0 ... G 6).
constexpr int kSharpOrder[7] = {5, 2, 6, 3, 0, 4, 1};  // F C G D A E B
constexpr int kFlatOrder[7] = {1, 4, 0, 3, 6, 2, 5};   // B E A D G C F

void AppendKeySignature(std::string& out, const TKeyData& key) {
  bool any = false;
  auto add = [&](int letter, char sign) {
    if (any) out += ',';
    out += static_cast<char>('A' + letter);
    out += sign;
    any = true;
  };
  for (int letter : kSharpOrder)
    if (key.GetSharpsMask() & (1 << letter)) add(letter, '#');
  for (int letter : kFlatOrder)
    if (key.GetFlatsMask() & (1 << letter)) add(letter, 'b');
  if (!any) out += 'C';
}

}  // namespace

void TItemLineFormatter::FieldStart(std::string_view name) {
  out += '|';
  out += name;
  out += ':';
}

void TItemLineFormatter::IntField(std::string_view name, int64_t value) {
  FieldStart(name);
  AppendIntText(out, value);
}

void TItemLineFormatter::RealField(std::string_view name, double value) {
  FieldStart(name);
  AppendRealText(out, value);
}

void TItemLineFormatter::FlagField(std::string_view name, bool on) {
  FieldStart(name);
  out += on ? 'Y' : 'N';
}

void TItemLineFormatter::AppendName(int list, int value) {
  const char* name = GetNameListEntry(list, value);
  for (const char* p = name; *p; ++p) {
    if (static_cast<unsigned char>(*p) >= 0x80) {
      // The lists are Windows-1252; the file is UTF-8 ("Più mosso").
      out += Utf16ToUtf8(MultiByteToUtf16(kCodePage1252, name));
      return;
    }
  }
  out += name;
}

void TItemLineFormatter::NameField(std::string_view name, int list, int value) {
  FieldStart(name);
  AppendName(list, value);
}

void TItemLineFormatter::QuotedField(std::string_view name, std::string_view utf8) {
  FieldStart(name);
  AppendTextValue(out, utf8, true);
}

void TItemLineFormatter::WideField(std::string_view name, std::u16string_view text) {
  FieldStart(name);
  AppendWideTextValue(out, text);
}

void TItemLineFormatter::AppendItem(const TNotatedItem& item) {
  out += '|';
  AppendName(kNameListItemKinds, item.GetType());
  AppendKindFields(item);
  if (item.IsExpressionClass())
    AppendExpressionFields(ItemRef<TNtnGeneralExpression>(item));
  AppendCommonFields(item);
}

void TItemLineFormatter::AppendExpressionFields(const TNtnGeneralExpression& expression) {
  RealField("Pos", -static_cast<double>(expression.GetPos()));
  if (expression.IsWide() || IsLone()) FlagField("Wide", expression.IsWide());
  if (expression.GetJustify() != kJustifyLeft || IsLone())
    NameField("Justify", kNameListJustification, expression.GetJustify());
  if (expression.GetPlacement() != kPlaceBestFit || IsLone())
    NameField("Placement", kNameListPlacementText, expression.GetPlacement());
}

void TItemLineFormatter::AppendCommonFields(const TNotatedItem& item) {
  if (item.GetColor() != 0 || IsLone()) IntField("Color", item.GetColor());
  if (item.GetVisibility() != kVisDefault || IsLone())
    NameField("Visibility", kNameListVisibilityText, item.GetVisibility());
}

void TItemLineFormatter::AppendKindFields(const TNotatedItem& item) {
  switch (item.GetType()) {
    case kItemClef: {
      const auto& clef = ItemRef<TClefData>(item);
      NameField("Type", kNameListClefs, clef.GetClefType());
      if (clef.GetOctaveShift() != kOctaveShiftNone || IsLone())
        NameField("OctaveShift", kNameListClefOctaveShifts, clef.GetOctaveShift());
      if (!clef.IsAutoSys() || IsLone()) FlagField("AutoSys", clef.IsAutoSys());
      break;
    }
    case kItemKey: {
      const auto& key = ItemRef<TKeyData>(item);
      FieldStart("Signature");
      AppendKeySignature(out, key);
      NameField("Tonic", kNameListNoteLetters, key.GetTonic());
      if (key.IsHideCancels() || IsLone()) FlagField("HideCancels", key.IsHideCancels());
      if (!key.IsAutoSys() || IsLone()) FlagField("AutoSys", key.IsAutoSys());
      break;
    }
    case kItemBarLine: {
      const auto& bar = ItemRef<TBarLineData>(item);
      if (bar.GetStyle() != kBarSingle || IsLone()) {
        NameField("Style", kNameListBarStylesText, bar.GetStyle());
        if (bar.GetStyle() == kBarLocalRepeatClose) IntField("Repeat", bar.GetRepeat());
      }
      if (bar.IsXBarCnt() || IsLone()) FlagField("XBarCnt", bar.IsXBarCnt());
      if (bar.IsSysBreak() || IsLone()) FlagField("SysBreak", bar.IsSysBreak());
      break;
    }
    case kItemEnding: {
      const auto& ending = ItemRef<TSpecialEnding>(item);
      if (ending.HasAnyEnding()) {
        FieldStart("Endings");
        bool any = false;
        for (int n = 1; n <= kMaxEndingNumber; ++n) {
          if (!ending.HasEnding(n)) continue;
          if (any) out += ',';
          out += static_cast<char>('0' + n);
          any = true;
        }
        if (ending.HasDefaultEnding()) {
          if (any) out += ',';
          out += 'D';
        }
      }
      if (ending.IsClosedBracket() || IsLone()) FlagField("ClosedBracket", ending.IsClosedBracket());
      if (ending.IsHideText() || IsLone()) FlagField("HideText", ending.IsHideText());
      if (((ending.HasAnyEnding() || ending.IsClosedBracket()) && ending.GetBracketHeight() != 4) ||
          IsLone())
        IntField("BracketHeight", ending.GetBracketHeight());
      // A position no reader would take back is written as the nearest one it takes.
      const int offset =
          std::clamp(ending.GetVertOffset(), kEndingVertOffsetMin, kEndingVertOffsetMax);
      if (offset != 0 || IsLone()) IntField("VertOffset", offset);
      break;
    }
    case kItemPatch: {
      const TInstrumentDef& def = ItemRef<TPatchData>(item).GetInstrument();
      if (def.GetName()[0] != 0 || IsLone()) WideField("Name", def.GetName());
      if (def.HasPatch() || IsLone()) {
        FieldStart("Patch");
        if (def.HasPatch())
          AppendIntText(out, def.GetPatch());
        else
          out += 'N';
        FieldStart("Bank");
        if (def.HasBank()) {
          AppendIntText(out, def.GetBankMSB());
          out += ',';
          AppendIntText(out, def.GetBankLSB());
        } else {
          out += 'N';
        }
      }
      IntField("Trans", def.GetTransposition());
      if (def.HasBendRange() || IsLone()) IntField("BendRange", def.GetBendRange());
      FieldStart("DynVel");
      for (int level = 0; level < kDynamicLevels; ++level) {
        if (level) out += ',';
        AppendIntText(out, def.GetDynamicVelocity(level));
      }
      break;
    }
    case kItemTimeSig: {
      const auto& sig = ItemRef<TTimeSignatureData>(item);
      FieldStart("Signature");
      if (sig.GetStyle() == kTimeSigCommon || sig.GetStyle() == kTimeSigAllaBreve) {
        AppendName(kNameListTimeSigStylesText, sig.GetStyle());
      } else {
        AppendIntText(out, sig.GetBeats());
        out += '/';
        AppendIntText(out, sig.GetBeatValue());
      }
      break;
    }
    case kItemTempo: {
      const auto& tempo = ItemRef<TTempoData>(item);
      if (tempo.GetBase() != kTempoQuarter || IsLone())
        NameField("Base", kNameListTempoBases, tempo.GetBase());
      IntField("Tempo", tempo.GetTempo());
      if (!tempo.GetText().empty() || IsLone()) WideField("Text", tempo.GetText());
      break;
    }
    case kItemDynamic: {
      const auto& dynamic = ItemRef<TDynamicLevelData>(item);
      NameField("Style", kNameListDynamicsText, dynamic.GetLevel());
      bool first = true;
      auto option = [&](std::string_view name, int value) {
        out += first ? "|Opts:" : ",";
        first = false;
        out += name;
        out += '=';
        AppendIntText(out, value);
      };
      if (dynamic.HasVelocity()) option("Velocity", dynamic.GetVelocity());
      if (dynamic.HasVolume()) option("Volume", dynamic.GetVolume());
      break;
    }
    case kItemNote:
      AppendNote(ItemRef<TMusicNote>(item));
      break;
    case kItemRest:
      AppendRest(ItemRef<TRestNote>(item));
      break;
    case kItemChord:
      AppendChord(ItemRef<TMusicNote>(item));
      break;
    case kItemRestChord:
      AppendRestChord(ItemRef<TRestNote>(item));
      break;
    case kItemSustainPedal: {
      const auto& pedal = ItemRef<TSustainPedal>(item);
      if (!pedal.IsDown() || IsLone())
        NameField("Status", kNameListPedalStates, pedal.IsDown() ? 0 : 1);
      break;
    }
    case kItemFlow:
      NameField("Style", kNameListFlowText, ItemRef<TFlowDirection>(item).GetStyle());
      break;
    case kItemGenericControl: {
      const auto& control = ItemRef<TGenericControl>(item);
      NameField("Controller", kNameListControllersText, control.GetController());
      NameField("Style", kNameListControlStyles, control.GetStyle());
      NameField("TimeRes", kNameListDurationsLong, control.GetTimeRes());
      IntField("SweepRes", control.GetSweepRes() < 1 ? 1 : control.GetSweepRes());
      for (int n = 0; n < MaxRawParmSetPoints && control.IsPointActive(n); ++n) {
        out += "|Pt";
        AppendIntText(out, n + 1);
        out += ':';
        AppendIntText(out, control.GetPointTime(n));
        out += ',';
        AppendIntText(out, control.GetPointValue(n));
      }
      break;
    }
    case kItemTempoVariance: {
      const auto& variance = ItemRef<TTempoVariance>(item);
      NameField("Style", kNameListTempoVariancesDisplay, variance.GetStyle());
      if (variance.HasPause()) IntField("Pause", variance.GetPause());
      break;
    }
    case kItemDynamicVariance:
      NameField("Style", kNameListDynamicVariancesDisplay,
                ItemRef<TDynamicVariance>(item).GetStyle());
      break;
    case kItemPerformanceStyle:
      NameField("Style", kNameListPerformanceStylesDisplay,
                ItemRef<TPerformanceStyle>(item).GetStyle());
      break;
    case kItemText: {
      const auto& text = ItemRef<TTextExpression>(item);
      WideField("Text", text.GetText());
      NameField("Font", kNameListScoreFontsText, text.GetFontIndex());
      if (text.GetScale() != 100 || IsLone()) IntField("Scale", text.GetScale());
      break;
    }
    case kItemUserObject: {
      const auto& object = ItemRef<TKVTUserObject>(item);
      out += '|';
      out += object.GetTypeName();
      RealField("Pos", -static_cast<double>(object.GetPos()));
      if (object.GetClass() != kUserClassStandard || IsLone())
        NameField("Class", kNameListUserObjectClasses, object.GetClass());
      for (int i = 0; i < object.GetParamCount(); ++i) {
        out += '|';
        out += object.GetParamName(i);
        out += ':';
        AppendTextValue(out, object.GetParamValue(i), false);
      }
      break;
    }
    case kItemSpacer:
      IntField("Width", ItemRef<TStaffSpacer>(item).GetWidthValue());
      break;
    case kItemMultiBarRest: {
      const auto& rest = ItemRef<TMultiMeasureRest>(item);
      IntField("NumBars", rest.GetNumBars());
      FlagField("PrintOnce", rest.IsPrintOnce());
      if (rest.IsShowBarsWhenHidden() || rest.IsShowRestsWhenHidden()) {
        FieldStart("WhenHidden");
        if (rest.IsShowBarsWhenHidden()) out += "ShowBars";
        if (rest.IsShowRestsWhenHidden()) out += rest.IsShowBarsWhenHidden() ? ",ShowRests" : "ShowRests";
      }
      break;
    }
    case kItemBoundary: {
      const auto& sizer = ItemRef<TStaffSizer>(item);
      NameField("Style", kNameListBoundaryStyles, sizer.GetStyle());
      if (sizer.GetStyle() == kSizerNewSize) {
        if (sizer.GetUpper() != 0) IntField("Upper", sizer.GetUpper());
        if (sizer.GetLower() != 0) IntField("Lower", sizer.GetLower());
      } else if (sizer.GetStyle() == kSizerGap) {
        IntField("Width", sizer.GetGapWidth());
        FlagField("SystemConnections", sizer.HasSystemConnections());
      } else if (sizer.GetStyle() == kSizerNewSystem) {
        FlagField("NewPage", sizer.IsNewPage());
      }
      break;
    }
    case kItemMarker: {
      const auto& marker = ItemRef<TNotationMarker>(item);
      RealField("Pos", -static_cast<double>(marker.GetPos()));
      const int target = marker.GetTarget();
      if (IsLone() ? target != 0 : target != kMarkerSlur) {
        FieldStart("Target");
        bool any = false;
        for (int bit = 0; bit < 3; ++bit) {
          if (!(target & (1 << bit))) continue;
          if (any) out += ',';
          AppendName(kNameListMarkerTargets, bit);
          any = true;
        }
      }
      break;
    }
    default:
      break;
  }
}

std::string FormatItemLine(const TNotatedItem& item, int mode) {
  std::string line;
  AppendItemLine(line, item, mode);
  return line;
}

void AppendItemLine(std::string& out, const TNotatedItem& item, int mode) {
  TItemLineFormatter(out, mode).AppendItem(item);
}

}  // namespace kvt
