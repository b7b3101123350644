// Reading the item kinds other than song notes, and the fields shared by all item lines.

#include "notation/files/text/score_text_item_reader.h"

#include <cstring>

#include "notation/items/item_cast.h"
#include "notation/items/bar_line_data.h"
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
#include "notation/files/text/score_text_format.h"
#include "notation/files/text/score_text_numbers.h"
#include "notation/items/song_note.h"
#include "notation/items/repeat_ending.h"
#include "notation/items/staff_sizer.h"
#include "notation/items/staff_spacer.h"
#include "notation/items/sustain_pedal.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/text_expression.h"
#include "notation/items/time_signature_data.h"
#include "notation/items/user_object.h"
#include "utils/log_font.h"
#include "utils/memory_block.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

// A flag value: on when the value begins with the letter (either case).
bool BeginsWith(const char* value, char letter) {
  if (!value) return false;
  const char c = value[0];
  return c == letter || c == letter + 32;
}

// The one version whose bend range 0 means none.
constexpr double kZeroBendNoneVersion = 2.7497;
// Largest repeat count a bar line holds.
constexpr int kMaxBarRepeat = 255;
// Largest bend range an instrument holds (the MIDI data byte of the range).
constexpr int kMaxBendRange = 127;

}  // namespace

TKVTFindTextImporter::TKVTFindTextImporter() {
  for (int& charSet : fontCharSets) charSet = -1;
}

void TKVTFindTextImporter::SetFontCharSet(int role, int charSet) {
  if (role >= 0 && role < 12) fontCharSets[role] = charSet;
}

int TKVTFindTextImporter::TextCodePage(int fontIndex) const {
  if (GetVersion() >= kUtf8TextVersion) return kCodePageUtf8;
  if (fontIndex == kTextFontStaffSymbols || fontIndex == kTextFontStaffCueSymbols) return 1252;
  const int role = fontIndex - kTextFontStaffItalic;
  if (role < 0 || role >= 12 || fontCharSets[role] < 0) return GetAnsiCodePage();
  return CodePageOfCharSet(fontCharSets[role], GetAnsiCodePage());
}

std::u16string TKVTFindTextImporter::ReadText(char* value, int fontIndex) const {
  if (!value) return {};
  return MultiByteToUtf16(TextCodePage(fontIndex), Unquote(value));
}

std::string TKVTFindTextImporter::ReadUtf8Text(char* value) const {
  if (!value) return {};
  const int codePage = GetVersion() >= kUtf8TextVersion ? kCodePageUtf8 : GetAnsiCodePage();
  return Utf16ToUtf8(MultiByteToUtf16(codePage, Unquote(value)));
}

std::unique_ptr<TNotatedItem> TKVTFindTextImporter::MakeLineTextItem(std::string_view line) const {
  auto item = std::make_unique<TTextExpression>();
  item->SetWide(true);
  item->SetFontIndex(kTextFontStaffBold);
  std::u16string text = MultiByteToUtf16(TextCodePage(kTextFontStaffBold), line);
  // The first 23 characters, a surrogate pair counting as one.
  size_t units = 0;
  for (int chars = 0; units < text.size() && chars < kLineTextChars; ++chars) {
    const char16_t c = text[units];
    units += (c >= 0xD800 && c < 0xDC00 && units + 1 < text.size()) ? 2 : 1;
  }
  text.resize(units);
  item->SetText(text);
  return item;
}

std::unique_ptr<TNotatedItem> TKVTFindTextImporter::ReadItemLine(std::string_view line, double version) {
  SetVersion(version < 0.01 ? kScoreTextVersion : version);
  std::string copy(line);
  if (SplitFields(copy.data()) == 0) return nullptr;
  return ReadItemRecord();
}

std::unique_ptr<TNotatedItem> TKVTFindTextImporter::ReadItemRecord(int kind) {
  if (GetFieldCount() == 0) return nullptr;
  if (kind == kLookUpKind) kind = FindName(std::string_view(GetField(0), recordNameLength), kNameListItemKinds);
  std::unique_ptr<TNotatedItem> item;
  if (kind < 0) {
    // A record name the format does not know names a user object type; a name no type can
    // have makes no item.
    const char* name = GetField(0);
    if (!TKVTUserObject::IsValidTypeName(name)) return nullptr;
    item = ReadUserObject(1, name);
  } else if (kind == kItemUserObject) {
    const char* type = GetField(1);
    if (GetFieldCount() > 1 && TKVTUserObject::IsValidTypeName(type)) {
      item = ReadUserObject(2, type);
    } else {
      MarkLenient();
      item = ReadUserObject(1, "Null");
    }
  } else {
    item = ReadKind(kind);
  }
  if (!item) return nullptr;
  if (item->IsExpressionClass()) ReadExpressionFields(*item);
  // A user object reads its common fields with its properties, by their exact names.
  if (item->GetType() != kItemUserObject) ReadCommonFields(*item);
  return item;
}

std::unique_ptr<TNotatedItem> TKVTFindTextImporter::ReadUserObject(int firstProperty,
                                                                   std::string_view typeName) {
  auto object = std::make_unique<TKVTUserObject>();
  object->SetTypeName(typeName);
  for (int i = firstProperty; i < GetFieldCount(); ++i) {
    char* field = GetField(i);
    char* colon = std::strchr(field, ':');
    if (!colon || colon == field) continue;
    const std::string_view name(field, static_cast<size_t>(colon - field));
    char* value = colon + 1;
    // The reserved names are matched with case, as the object refuses only these spellings
    // as property names: a property "pos" is the object's own and must come back as such.
    if (name == "Class") {
      object->SetClass(ReadName(value, kNameListUserObjectClasses, kUserClassStandard));
    } else if (name == "Pos") {
      double pos = 0;
      if (ReadReal(value, pos)) object->SetPos(-pos);
    } else if (name == "Color") {
      object->SetColor(ReadIntClamped(value, 0, 7, 0));
    } else if (name == "Visibility") {
      object->SetVisibility(ReadName(value, kNameListVisibilityText, kVisDefault));
    } else {
      // An invalid name cannot be kept; a 17th property is lost at the object's limit.
      if (!TKVTUserObject::IsValidParamName(name)) {
        MarkLenient();
        continue;
      }
      if (object->FindParamIndex(name) < 0 && object->GetParamCount() >= kMaxUserParams) {
        MarkCorrupt();
        continue;
      }
      object->SetParam(name, ReadUtf8Text(value));
    }
  }
  return object;
}

void TKVTFindTextImporter::ReadExpressionFields(TNotatedItem& item) {
  auto& expression = ItemRef<TNtnGeneralExpression>(item);
  if (char* value = FindField("Pos:")) {
    double pos = 0;
    if (ReadReal(value, pos)) expression.SetPos(-pos);
  }
  expression.SetWide(BeginsWith(FindField("Wide:"), 'Y'));
  const char* justify = FindField("Justify:");
  expression.SetJustify(justify ? ReadName(justify, kNameListJustification, kJustifyLeft) : kJustifyLeft);
  const char* placement = FindField("Placement:");
  expression.SetPlacement(placement ? ReadName(placement, kNameListPlacementText, kPlaceBestFit)
                                    : kPlaceBestFit);
}

void TKVTFindTextImporter::ReadCommonFields(TNotatedItem& item) {
  if (const char* color = FindField("Color:")) item.SetColor(ReadIntClamped(color, 0, 7, 0));
  if (const char* visibility = FindField("Visibility:"))
    item.SetVisibility(ReadName(visibility, kNameListVisibilityText, kVisDefault));
}

std::unique_ptr<TNotatedItem> TKVTFindTextImporter::ReadKind(int kind) {
  switch (kind) {
    case kItemClef: {
      const char* type = FindField("Type:");
      const int clefType = type ? FindName(type, kNameListClefs) : -1;
      if (clefType < 0) return nullptr;
      auto clef = std::make_unique<TClefData>(clefType);
      if (const char* shift = FindField("OctaveShift:"))
        clef->SetOctaveShift(ReadName(shift, kNameListClefOctaveShifts, kOctaveShiftNone));
      clef->SetAutoSys(!BeginsWith(FindField("AutoSys:"), 'N'));
      return clef;
    }
    case kItemKey: {
      auto key = std::make_unique<TKeyData>();
      if (char* signature = FindField("Signature:")) {
        const int count = SplitValues(signature);
        for (int i = 0; i < count; ++i) {
          const char* value = GetValue(i);
          if (std::strlen(value) != 2) continue;  // "C" and the like: no accidental
          char letter = value[0];
          if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 32);
          if (letter < 'A' || letter > 'G' || (value[1] != 'b' && value[1] != '#')) {
            MarkLenient();
            continue;
          }
          if (value[1] == '#')
            key->SetSharp(letter - 'A');
          else
            key->SetFlat(letter - 'A');
        }
      }
      const char* tonic = FindField("Tonic:");
      const int letter = tonic ? FindName(tonic, kNameListNoteLetters) : -1;
      if (tonic && letter < 0) MarkLenient();
      key->SetTonic(letter >= 0 ? letter : TKeyData::MajorTonic(key->GetKeyCount()));
      key->SetHideCancels(BeginsWith(FindField("HideCancels:"), 'Y'));
      key->SetAutoSys(!BeginsWith(FindField("AutoSys:"), 'N'));
      return key;
    }
    case kItemBarLine: {
      int style = kBarSingle;
      if (const char* name = FindField("Style:")) {
        style = std::strcmp(name, kNameListMissing) == 0
                    ? kBarTransparent
                    : ReadName(name, kNameListBarStylesText, kBarSingle);
      }
      int repeat = 1;
      if (const char* value = FindField("Repeat:")) repeat = ReadIntClamped(value, 2, kMaxBarRepeat, 1);
      auto bar = std::make_unique<TBarLineData>(style, repeat);
      bar->SetXBarCnt(BeginsWith(FindField("XBarCnt:"), 'Y'));
      bar->SetSysBreak(BeginsWith(FindField("SysBreak:"), 'Y'));
      return bar;
    }
    case kItemEnding: {
      auto ending = std::make_unique<TSpecialEnding>();
      if (char* endings = FindField("Endings:")) {
        const int count = SplitValues(endings);
        for (int i = 0; i < count; ++i) {
          const char* value = GetValue(i);
          if ((value[0] == 'D' || value[0] == 'd' || value[0] == '8') && value[1] == 0)
            ending->SetDefaultEnding(true);
          else if (value[0] >= '1' && value[0] <= '7' && value[1] == 0)
            ending->SetEnding(value[0] - '0', true);
          else if (value[0] != 0)
            MarkLenient();
        }
      }
      ending->SetClosedBracket(BeginsWith(FindField("ClosedBracket:"), 'Y'));
      ending->SetHideText(BeginsWith(FindField("HideText:"), 'Y'));
      if (const char* height = FindField("BracketHeight:"))
        ending->SetBracketHeight(ReadIntClamped(height, 0, 100, 4));
      if (const char* store = FindField("BracketOffsetNP:"))
        ending->SetVertOffsetStore(ReadIntClamped(store, -100, 100, 1));
      if (const char* offset = FindField("VertOffset:"))
        ending->SetVertOffset(
            ReadIntClamped(offset, kEndingVertOffsetMin, kEndingVertOffsetMax, 0));
      return ending;
    }
    case kItemPatch: {
      auto patch = std::make_unique<TPatchData>();
      TInstrumentDef& def = patch->GetInstrument();
      if (char* name = FindField("Name:")) {
        const std::u16string text = ReadText(name, kTextFontStaffBold);
        if (text.size() >= static_cast<size_t>(kInstrumentNameUnits)) MarkLenient();
        def.SetName(text);
      }
      const char* patchValue = FindField("Patch:");
      if (patchValue && !BeginsWith(patchValue, 'N')) {
        def.SetPatch(ReadIntClamped(patchValue, 0, 127, -1));
        const char* bank = FindField("Bank:");
        if (bank && !BeginsWith(bank, 'N')) {
          int32_t msb = 0;
          int32_t lsb = 0;
          const char* comma = std::strchr(bank, ',');
          if (ReadInt(bank, msb) && comma && ReadInt(comma + 1, lsb))
            def.SetBank(Clamp(msb, 0, 127), Clamp(lsb, 0, 127));
          else
            MarkLenient();
        }
      }
      if (const char* trans = FindField("Trans:")) def.SetTransposition(ReadIntClamped(trans, -128, 127, 0));
      if (const char* bend = FindField("BendRange:")) {
        int range = ReadIntClamped(bend, -1, kMaxBendRange, -1);
        if (range == 0 && GetVersion() == kZeroBendNoneVersion) range = -1;
        def.SetBendRange(range);
      }
      if (char* velocities = FindField("DynVel:")) {
        const int count = SplitValues(velocities);
        if (count > kDynamicLevels) {
          MarkLenient();
        } else {
          for (int level = 0; level < count; ++level)
            def.SetDynamicVelocity(level, ReadIntClamped(GetValue(level), 0, 127,
                                                         def.GetDynamicVelocity(level)));
        }
      }
      return patch;
    }
    case kItemTimeSig: {
      const char* signature = FindField("Signature:");
      if (!signature) return nullptr;
      auto sig = std::make_unique<TTimeSignatureData>();
      const int style = FindName(signature, kNameListTimeSigStylesText);
      if (style == kTimeSigCommon || style == kTimeSigAllaBreve) {
        sig->SetStyle(style);
        return sig;
      }
      int32_t beats = 0;
      int32_t value = 0;
      const char* slash = std::strchr(signature, '/');
      bool overflow = false;
      if (!ParseIntValue(signature, beats, &overflow) || !slash || !ParseIntValue(slash + 1, value, &overflow))
        return nullptr;
      const int exponent = TTimeSignatureData::ExponentOf(value);
      if (overflow || beats < 1 || beats > 128 || (1 << exponent) != value) MarkLenient();
      sig->SetSignature(Clamp(beats, 1, 128), exponent);
      return sig;
    }
    case kItemTempo: {
      int32_t tempo = 0;
      const char* value = FindField("Tempo:");
      if (!value || !ParseIntValue(value, tempo)) return nullptr;
      int base = kTempoQuarter;
      if (const char* name = FindField("Base:")) base = ReadName(name, kNameListTempoBases, kTempoQuarter);
      auto mark = std::make_unique<TTempoData>(Clamp(tempo, kMinTempo, INT32_MAX), base);
      if (char* text = FindField("Text:")) {
        const std::u16string words = ReadText(text, kTextFontStaffBold);
        if (words.size() > static_cast<size_t>(kMaxTempoTextUnits)) MarkLenient();
        mark->SetText(words);
      }
      return mark;
    }
    case kItemDynamic: {
      const char* style = FindField("Style:");
      const int level = style ? FindName(style, kNameListDynamicsText) : -1;
      if (level < 0) return nullptr;
      auto dynamic = std::make_unique<TDynamicLevelData>(level);
      if (char* options = FindField("Opts:")) {
        const int count = SplitValues(options);
        for (int i = 0; i < count; ++i) {
          char* name = GetValue(i);
          const char* value = SplitOption(name);
          if (!value || value[0] == 0) continue;
          std::string_view optionName(name);
          auto same = [&](std::string_view word) {
            if (optionName.size() != word.size()) return false;
            for (size_t k = 0; k < word.size(); ++k)
              if ((optionName[k] | 32) != (word[k] | 32)) return false;
            return true;
          };
          if (same("Velocity")) {
            dynamic->SetVelocity(ReadIntClamped(value, 0, 127, 0));
            dynamic->SetHasVelocity(true);
          } else if (same("Volume")) {
            dynamic->SetVolume(ReadIntClamped(value, 0, 127, 0));
            dynamic->SetHasVolume(true);
          }
        }
      }
      return dynamic;
    }
    case kItemNote:
      return ReadNote();
    case kItemRest:
      return ReadRest();
    case kItemChord:
      return ReadChord();
    case kItemRestChord:
      return ReadRestChord();
    case kItemSustainPedal: {
      auto pedal = std::make_unique<TSustainPedal>();
      if (const char* status = FindField("Status:"))
        pedal->SetDown(ReadName(status, kNameListPedalStates, 0) == 0);
      return pedal;
    }
    case kItemFlow: {
      const char* style = FindField("Style:");
      const int value = style ? FindName(style, kNameListFlowText) : -1;
      if (value < 0) return nullptr;
      return std::make_unique<TFlowDirection>(value);
    }
    case kItemGenericControl: {
      const char* controllerName = FindField("Controller:");
      const int controller = controllerName ? FindName(controllerName, kNameListControllersText) : -1;
      if (controller < 0) return nullptr;
      auto control = std::make_unique<TGenericControl>();
      control->SetController(controller);
      if (const char* style = FindField("Style:"))
        control->SetStyle(ReadName(style, kNameListControlStyles, kMpcAbsolute));
      if (const char* res = FindField("TimeRes:")) {
        int code = FindName(res, kNameListDurationsText);
        if (code < 0) code = ReadName(res, kNameListDurationsLong, kDurQuarter);
        control->SetTimeRes(code);
      }
      if (const char* sweep = FindField("SweepRes:"))
        control->SetSweepRes(ReadIntClamped(sweep, 1, INT32_MAX, 1));
      int stored = 0;
      for (int n = 1; n <= MaxRawParmSetPoints; ++n) {
        char name[8] = {'P', 't', static_cast<char>('0' + n), ':', 0};
        const char* point = FindField(name);
        if (!point) break;
        int32_t time = 0;
        int32_t value = 0;
        const char* comma = std::strchr(point, ',');
        if (comma) {
          if (!ReadInt(point, time) || !ReadInt(comma + 1, value)) continue;
        } else if (!ReadInt(point, value)) {
          continue;
        }
        // A later point that neither moves on in time nor changes the value adds nothing.
        if (stored > 0 && time <= 0 && value == control->GetPointValue(stored - 1)) continue;
        control->SetPoint(stored++, time, value);
      }
      return control;
    }
    case kItemTempoVariance: {
      const char* style = FindField("Style:");
      const int value = style ? FindName(style, kNameListTempoVariancesDisplay) : -1;
      if (value < 0) return nullptr;
      auto variance = std::make_unique<TTempoVariance>(value);
      if (const char* pause = FindField("Pause:")) variance->SetPause(ReadIntClamped(pause, 0, 255, 0));
      return variance;
    }
    case kItemDynamicVariance: {
      const char* style = FindField("Style:");
      const int value = style ? FindName(style, kNameListDynamicVariancesDisplay) : -1;
      if (value < 0) return nullptr;
      return std::make_unique<TDynamicVariance>(value);
    }
    case kItemPerformanceStyle: {
      const char* style = FindField("Style:");
      const int value = style ? FindName(style, kNameListPerformanceStylesDisplay) : -1;
      if (value < 0) return nullptr;
      return std::make_unique<TPerformanceStyle>(value);
    }
    case kItemText: {
      char* textValue = FindField("Text:");
      if (!textValue || textValue[0] == 0) return nullptr;
      auto text = std::make_unique<TTextExpression>();
      int font = kTextFontStaffItalic;
      if (const char* fontName = FindField("Font:"))
        font = ReadName(fontName, kNameListScoreFontsText, kTextFontStaffSymbols);
      text->SetFontIndex(font);
      const std::u16string words = ReadText(textValue, font);
      if (words.empty()) return nullptr;
      if (words.size() >= static_cast<size_t>(kMaxTextExpressionMax)) MarkLenient();
      text->SetText(words);
      if (const char* scale = FindField("Scale:")) text->SetScale(ReadIntClamped(scale, 1, 65535, 100));
      return text;
    }
    case kItemSpacer: {
      int width = 50;
      if (const char* value = FindField("Width:")) width = ReadIntClamped(value, 0, kMaxSpacerWidth, 50);
      return std::make_unique<TStaffSpacer>(width);
    }
    case kItemMultiBarRest: {
      int bars = 1;
      if (const char* value = FindField("NumBars:")) bars = ReadIntClamped(value, 1, kMaxMultiRestBars, 1);
      auto rest = std::make_unique<TMultiMeasureRest>(bars);
      rest->SetPrintOnce(IsYes(FindField("PrintOnce:")));
      bool showBars = false;
      bool showRests = false;
      if (char* hidden = FindField("WhenHidden:")) {
        const int count = SplitValues(hidden);
        for (int i = 0; i < count; ++i) {
          const char* value = GetValue(i);
          if (SameWord(value, "ShowBars"))
            showBars = true;
          else if (SameWord(value, "ShowRests"))
            showRests = true;
          else if (value[0] != 0)
            MarkLenient();
        }
      }
      rest->SetShowBarsWhenHidden(showBars);
      rest->SetShowRestsWhenHidden(showRests);
      return rest;
    }
    case kItemBoundary: {
      auto sizer = std::make_unique<TStaffSizer>();
      int style = kSizerReset;
      if (const char* name = FindField("Style:")) style = ReadName(name, kNameListBoundaryStyles, kSizerReset);
      sizer->SetStyle(style);
      if (style == kSizerNewSize) {
        int upper = 0;
        int lower = 0;
        if (const char* value = FindField("Upper:")) upper = ReadIntClamped(value, 1, 100, 0);
        if (const char* value = FindField("Lower:")) lower = ReadIntClamped(value, 1, 100, 0);
        sizer->SetNewSize(upper, lower);
      } else if (style == kSizerGap) {
        int width = 200;
        if (const char* value = FindField("Width:")) width = ReadIntClamped(value, 0, kMaxGapWidth, 200);
        sizer->SetGapWidth(width);
        sizer->SetSystemConnections(IsYes(FindField("SystemConnections:")));
      } else if (style == kSizerNewSystem) {
        sizer->SetNewPage(IsYes(FindField("NewPage:")));
      }
      return sizer;
    }
    case kItemMarker: {
      auto marker = std::make_unique<TNotationMarker>();
      if (char* value = FindField("Pos:")) {
        double pos = 0;
        if (ReadReal(value, pos)) marker->SetPos(-pos);
      }
      int target = 0;
      if (char* targets = FindField("Target:")) {
        const int count = SplitValues(targets);
        for (int i = 0; i < count; ++i) {
          const char* value = GetValue(i);
          if (value[0] == 0) continue;
          const int bit = ReadName(value, kNameListMarkerTargets, -1);
          if (bit >= 0) target |= 1 << bit;
        }
      }
      marker->SetTarget(target == 0 ? kMarkerSlur : target);
      return marker;
    }
    default:
      return nullptr;
  }
}

}  // namespace kvt
