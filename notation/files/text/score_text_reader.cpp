#include "notation/files/text/score_text_reader.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "notation/files/score_load_finish.h"
#include "notation/items/item_cast.h"
#include "notation/files/text/clip_text.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/items/name_lists.h"
#include "notation/items/notated_item.h"
#include "notation/items/patch_data.h"
#include "notation/files/text/score_text_format.h"
#include "notation/files/text/score_text_legacy_styles.h"
#include "notation/files/text/score_text_line_reader.h"
#include "notation/files/text/score_text_numbers.h"
#include "notation/staff/staff_lyrics.h"
#include "notation/items/text_expression.h"
#include "utils/font_description.h"
#include "utils/memory_block.h"
#include "utils/stream.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

// A margin is read when it lies in 0..200 cm (exclusive).
constexpr double kInchesPerCm = 0.393700787;
// Zoom values beyond this are no zoom the editor offers.
constexpr int kMaxZoomText = 1000;
// A text font's face holds at most 31 bytes.
constexpr size_t kFontFaceBytes = 32;

// Whether the header line's rest holds ",Single" (the one clip kind).
bool IsSingleClip(std::string_view rest) { return rest.find(",Single") != std::string_view::npos; }

// The record name is a clip context record ("Fake" or "Context"): such lines describe the
// music around a clip for other readers and are skipped here. Only the record name counts, so
// a user object property whose name begins with "Fake" is an ordinary field.
bool IsContextRecord(const TKVTTextImportTokenizer& tokens) {
  return tokens.IsRecord("Fake") || tokens.IsRecord("Context");
}

}  // namespace

struct TKVTFileTextImporter::TStaffStyles {
  std::vector<TLegacyStaffStyle> styles;  // by staff index
};

TKVTFileTextImporter::TKVTFileTextImporter(const TServices& services)
    : services(services), styles(std::make_unique<TStaffStyles>()) {}
TKVTFileTextImporter::~TKVTFileTextImporter() = default;

TScoreLoadResult ReadScoreText(TKRVStream& stream, const TServices& services, int mode) {
  TKVTFileTextImporter importer(services);
  return importer.Read(stream, mode);
}

double SniffTextFormatVersion(TKRVStream& stream) {
  TScoreTextLineReader lines(stream);
  while (lines.Next()) {
    const std::string_view line = lines.Line();
    if (line.empty()) return 0;
    std::string_view rest;
    const TFrameLine kind = MatchFrameLine(line, &rest);
    if (kind == TFrameLine::kScoreHeader || kind == TFrameLine::kClipHeader) {
      double version = 0;
      return ParseFrameVersion(rest, version) ? version : 0;
    }
    if (lines.EndedWithoutTerminator()) break;
  }
  return 0;
}

TScoreLoadResult TKVTFileTextImporter::Read(TKRVStream& stream, int mode) {
  TScoreLoadResult result;

  // 1. Header search.
  TScoreTextLineReader lines(stream);
  bool clip = false;
  bool fromStart = false;
  for (;;) {
    if (!lines.Next()) return result;
    const std::string_view line = lines.Line();
    if (line.empty()) return result;
    std::string_view rest;
    const TFrameLine kind = MatchFrameLine(line, &rest);
    double version = 0;
    if (kind == TFrameLine::kScoreHeader) {
      if (!ParseFrameVersion(rest, version)) return result;
      SetVersion(version);
      break;
    }
    if (kind == TFrameLine::kClipHeader) {
      if (!ParseFrameVersion(rest, version) || !IsSingleClip(rest)) return result;
      SetVersion(version);
      clip = true;
      break;
    }
    if (line[0] == '|' && mode == kScoreTextModeTool) {
      fromStart = true;
      break;
    }
    if (lines.EndedWithoutTerminator()) return result;
  }
  result.textVersion = GetVersion();

  // 2. The score with its first staff, unclaimed.
  score = std::make_unique<TMusicScore>(nullptr, services);
  {
    auto first = std::make_unique<TMusicStaff>();
    staff = first.get();
    score->AddStaff(std::move(first));
  }
  firstStaffUnclaimed = true;
  styles->styles.assign(1, TLegacyStaffStyle{});
  for (int role = 0; role < kScoreTextFontCount; ++role)
    SetFontCharSet(role, score->GetFonts().GetTextFont(role)->CharSet());

  if (clip) {
    // 3. A clip: read again from the start through the clip reader.
    stream.Rewind();
    TClipTextReader reader(stream, *staff, false, score.get(), services);
    if (reader.Read().status == TLoadStatus::kCorrupt) MarkCorrupt();
    sawEnd = true;
  } else {
    // 4. Score mode; a header-less tool text is read from its first line.
    if (fromStart) {
      stream.Rewind();
      TScoreTextLineReader again(stream);
      ReadScoreLines(again);
    } else {
      ReadScoreLines(lines);
    }
  }
  const bool dataFaults = IsLenient() || IsCorrupt();
  const TLoadRepairs repairs = Finish();

  // Text after the end line is ignored, but it is still read: a compressed stream finds a
  // damaged or cut-off tail only when it decodes it. A tail past the text limit is not.
  if (!stream.SkipToEnd(TScoreTextLineReader::kMaxTextBytes)) tooLarge = true;
  const bool failed = stream.IsFailed();
  result.codePage = localeCodePage;
  result.status = (IsCorrupt() || failed || !sawEnd || tooLarge) ? TLoadStatus::kCorrupt
                                                                  : TLoadStatus::kLoaded;
  result.textTooLarge = tooLarge;
  result.repaired = repairs;
  result.repaired.dataFaults = dataFaults;
  result.score = std::move(score);
  return result;
}

void TKVTFileTextImporter::ReadScoreLines(TScoreTextLineReader& lines) {
  // The start of the line before it is split, for a placeholder text item.
  char raw[kLineTextBytes];
  while (lines.Next()) {
    if (lines.WasCut()) MarkCorrupt();
    const std::string_view line = lines.Line();
    if (line.empty() || line[0] == '#') continue;
    const TFrameLine kind = MatchFrameLine(line);
    if (kind == TFrameLine::kScoreEnd) {
      sawEnd = true;
      return;
    }
    // A fixed-size copy is a few vector moves; the reader guarantees the bytes exist.
    static_assert(sizeof raw <= TScoreTextLineReader::kLineSlack);
    std::memcpy(raw, line.data(), sizeof raw);
    const size_t rawLength = std::min(line.size(), sizeof raw);
    const std::string_view rawLine(raw, rawLength);
    if (SplitFields(lines.MutableLine(), line.size()) == 0) {
      // Not a record: kept as a text item showing the start of the line.
      MarkLenient();
      AddItem(MakeLineTextItem(rawLine));
      continue;
    }
    if (IsContextRecord(*this)) continue;
    ReadRecord(rawLine);
  }
  if (lines.TooLarge()) tooLarge = true;
}

void TKVTFileTextImporter::ReadRecord(std::string_view rawLine) {
  // Item records are most lines: their names are looked up first (no score record has the
  // name of an item kind).
  const int kind = FindName(std::string_view(GetField(0), recordNameLength), kNameListItemKinds);
  if (kind >= 0) {
    std::unique_ptr<TNotatedItem> item = ReadItemRecord(kind);
    if (!item) {
      MarkLenient();
      item = MakeLineTextItem(rawLine);
    }
    return AddItem(std::move(item));
  }
  if (IsRecord("Locale")) {
    int32_t codePage = 0;
    if (const char* value = FindField("ACP:"); value && ReadInt(value, codePage) && codePage > 0) {
      SetAnsiCodePage(codePage);
      localeCodePage = codePage;
    }
    return;
  }
  if (IsRecord("Editor")) return ReadEditor();
  if (IsRecord("SongInfo")) return ReadSongInfo();
  if (IsRecord("PgSetup")) return ReadPageSetup();
  if (IsRecord("PgMargins")) return ReadMargins();
  if (IsRecord("Font")) return ReadFont();
  if (IsRecord("Lyrics")) return ReadLyricsRecord();
  if (IsRecord("StaffProperties")) return ReadStaffProperties();
  if (IsRecord("StaffInstrument")) return ReadStaffInstrument();
  if (IsRecord("AddStaff")) return ReadAddStaff();
  const char* name = GetField(0);
  if ((name[0] == 'L' || name[0] == 'l') && std::strncmp(name + 1, "yric", 4) == 0 &&
      name[5] >= '0' && name[5] <= '9') {
    int32_t number = 0;
    bool overflow = false;
    ParseIntValue(name + 5, number, &overflow);
    if (number >= 1 && number <= TStaffLyrics::MaxStaffLyrics && !overflow)
      ReadLyricLine(number);
    else
      MarkLenient();
    return;
  }
  std::unique_ptr<TNotatedItem> item = ReadItemRecord(kUnknownKind);
  if (!item) {
    MarkLenient();
    item = MakeLineTextItem(rawLine);
  }
  AddItem(std::move(item));
}

void TKVTFileTextImporter::AddItem(std::unique_ptr<TNotatedItem> item) {
  // Items of a staff that could not be made (a 256th) are dropped with it.
  if (!staff) return;
  if (!staff->TryInsertItem(item, staff->GetLastIndex())) MarkCorrupt();
}

void TKVTFileTextImporter::ReadEditor() {
  int active = -1;
  int caret = -1;
  int select = -1;
  int caretPos = 0;
  if (const char* value = FindField("ActiveStaff:"))
    active = ReadIntClamped(value, 0, TMusicScore::MaxScoreStaffs, 0) - 1;
  if (const char* value = FindField("CaretIndex:")) caret = ReadIntClamped(value, -1, kStaffItemRoom, -1);
  if (const char* value = FindField("SelectIndex:")) select = ReadIntClamped(value, -1, kStaffItemRoom, -1);
  if (const char* value = FindField("CaretPos:")) caretPos = -ReadIntClamped(value, -INT32_MAX, INT32_MAX, 0);
  score->SetEditorState(active, caret, select, caretPos);
}

void TKVTFileTextImporter::ReadSongInfo() {
  static constexpr struct {
    const char* field;
    int index;
    int font;
  } kFields[] = {
      {"Title:", kSongTitle, kTextFontPageTitleText},
      {"Author:", kSongAuthor, kTextFontPageText},
      {"Lyricist:", kSongLyricist, kTextFontPageText},
      {"Copyright1:", kSongCopyright1, kTextFontPageSmallText},
      {"Copyright2:", kSongCopyright2, kTextFontPageSmallText},
      {"Comments:", kSongComments, kTextFontPageTitleText},
  };
  for (const auto& field : kFields) {
    char* value = FindField(field.field);
    if (!value) continue;
    const std::u16string text = ReadText(value, field.font);
    if (text.size() >= static_cast<size_t>(TScoreSongInfo::FieldUnits(field.index))) MarkLenient();
    score->SetSongInfoText(field.index, text);
  }
}

void TKVTFileTextImporter::ReadPageSetup() {
  TMusicFontsData& fonts = score->GetFonts();
  if (const char* value = FindField("StaffSize:")) {
    double size = 0;
    if (ReadReal(value, size)) {
      if (size < kMinFontPoints || size > kMaxFontPoints) {
        MarkLenient();
        size = size < kMinFontPoints ? kMinFontPoints : kMaxFontPoints;
      }
      fonts.SetBaseSize(static_cast<float>(size));
    }
  }
  if (char* value = FindField("NtnTypeface:")) {
    const std::string face = ReadUtf8Text(value);
    if (face.size() >= static_cast<size_t>(kMusicFontFaceBytes)) MarkLenient();
    // The default face is stored as the empty face.
    fonts.SetMusicFontFace(face == kDefaultMusicFontName ? "" : face.c_str());
  }
  if (const char* value = FindField("Zoom:")) {
    int32_t zoom = 0;
    if (ReadInt(value, zoom)) {
      int64_t magnitude = std::llabs(int64_t{zoom});
      if (magnitude > kMaxZoomText) {
        MarkLenient();
        magnitude = kMaxZoomText;
      }
      score->SetZoom(static_cast<int>(2 * magnitude));
    }
  }
  if (const char* value = FindField("TitlePage:")) score->SetTitlePage(IsYes(value));
  if (const char* value = FindField("JustifyVertically:")) score->SetJustifyVertically(IsYes(value));
  if (const char* value = FindField("PrintSystemSepMark:")) score->SetPrintSystemSepMark(IsYes(value));
  if (const char* value = FindField("ExtendLastSystem:")) score->SetExtendLastSystem(IsYes(value));
  if (const char* value = FindField("DurationPadding:")) score->SetDurationPadding(IsYes(value));
  if (const char* value = FindField("AllowLayering:")) score->SetAllowLayering(IsYes(value));
  int32_t number = 0;
  if (const char* value = FindField("PageNumbers:"); value && ReadInt(value, number)) score->SetPageNumbers(number);
  if (const char* value = FindField("StartingBar:"); value && ReadInt(value, number)) score->SetStartingBar(number);
  if (const char* value = FindField("StaffLabels:"))
    score->SetStaffLabels(ReadName(value, kNameListStaffLabelPrinting, 0));
  if (const char* value = FindField("BarNumbers:")) score->SetBarNumbers(ReadName(value, kNameListBarNumberStyles, 0));
}

void TKVTFileTextImporter::ReadMargins() {
  TPageMargins margins = score->GetMargins();
  const struct {
    const char* field;
    float* inches;
  } sides[] = {{"Left:", &margins.left}, {"Top:", &margins.top}, {"Right:", &margins.right}, {"Bottom:", &margins.bottom}};
  for (const auto& side : sides) {
    const char* value = FindField(side.field);
    double cm = 0;
    if (!value || !ReadReal(value, cm)) continue;
    if (cm >= 0 && cm < kMarginLimitCm)
      *side.inches = static_cast<float>(cm * kInchesPerCm);
    else
      MarkLenient();
  }
  if (const char* value = FindField("Mirror:")) margins.mirror = IsYes(value);
  score->SetMargins(margins);
}

void TKVTFileTextImporter::ReadFont() {
  const char* style = FindField("Style:");
  if (!style) return MarkLenient();
  // Display names first, then the short names; letter case counts.
  int index = FindNameListEntry(kNameListScoreFontsDisplay, style, false, -1);
  if (index < 0) index = FindNameListEntry(kNameListScoreFontsText, style, false, -1);
  if (index < kTextFontStaffItalic) return MarkLenient();
  TFontSpec* font = score->GetFonts().GetTextFont(index - kTextFontStaffItalic);
  if (!font) return MarkLenient();
  if (char* value = FindField("Typeface:")) {
    const std::string face = ReadUtf8Text(value);
    if (face.size() >= kFontFaceBytes) MarkLenient();
    font->SetFace(face.c_str());
  }
  if (const char* value = FindField("Size:")) {
    double size = 0;
    if (ReadReal(value, size)) {
      if (size < kMinFontPoints || size > kMaxFontPoints) MarkLenient();
      font->SetSize(static_cast<float>(size));
    }
  }
  if (const char* value = FindField("Bold:")) font->SetBold(IsYes(value));
  if (const char* value = FindField("Italic:")) font->SetItalic(IsYes(value));
  if (const char* value = FindField("CharSet:")) {
    int32_t charSet = 0;
    if (ReadInt(value, charSet)) {
      const int magnitude = Clamp(charSet == INT32_MIN ? INT32_MAX : std::abs(charSet), 0, 255);
      const std::string face = font->Face();  // Set overwrites the face it copies
      font->Set(face.c_str(), font->Style(), font->Size(), magnitude);
      SetFontCharSet(index - kTextFontStaffItalic, magnitude);
    }
  }
}

void TKVTFileTextImporter::ReadLyricsRecord() {
  if (!staff) return;
  TStaffLyrics& lyrics = staff->MakeLyrics();
  if (const char* value = FindField("Placement:"))
    lyrics.SetPlacement(ReadName(value, kNameListLyricPlacement, lyrics.GetPlacement()));
  if (const char* value = FindField("Align:"))
    lyrics.SetAlign(ReadName(value, kNameListLyricAlignment, lyrics.GetAlign()));
  if (const char* value = FindField("Offset:")) {
    int32_t offset = 0;
    if (ReadInt(value, offset)) lyrics.SetOffset(offset);
  }
  if (const char* value = FindField("UnderscoreAsSpace:")) lyrics.SetUnderscoreAsSpace(IsYes(value));
}

void TKVTFileTextImporter::ReadLyricLine(int number) {
  if (!staff) return;
  TStaffLyrics& lyrics = staff->MakeLyrics();
  while (lyrics.GetCount() < number) lyrics.Add(std::make_unique<TLyricText>());
  TLyricText* line = lyrics.GetLine(number - 1);
  char* value = FindField("Text:");
  if (!line || !value) return;
  line->ReadFromText(Unquote(value), lyrics.GetUnderscoreAsSpace(),
                     TextCodePage(kTextFontStaffLyric));
}

void TKVTFileTextImporter::ReadStaffProperties() {
  if (!staff) return;
  const int index = score->IndexOfStaff(staff);
  if (const char* value = FindField("EndingBar:")) staff->SetEndingBar(ReadName(value, kNameListEndingBars, 0));
  if (const char* value = FindField("Visible:")) score->SetStaffIncluded(index, IsYes(value));
  int32_t number = 0;
  // Lines first: the boundaries are limited by the line count.
  if (const char* value = FindField("Lines:"); value && ReadInt(value, number))
    staff->SetLines(Clamp(number == INT32_MIN ? INT32_MAX : std::abs(number), 0, 255));
  if (const char* value = FindField("Style:")) {
    if (index >= 0 && static_cast<size_t>(index) < styles->styles.size())
      styles->styles[static_cast<size_t>(index)].style = ReadName(value, kNameListStaffStyles, 0);
  }
  if (const char* value = FindField("Layer:")) staff->SetLayerWithNext(IsYes(value));
  if (char* value = FindField("WithNextStaff:")) {
    const int count = SplitValues(value);
    for (int i = 0; i < count; ++i) {
      const char* word = GetValue(i);
      if (SameWord(word, "Bracket"))
        staff->SetBracketWithNext(true);
      else if (SameWord(word, "Brace"))
        staff->SetBraceWithNext(true);
      else if (SameWord(word, "ConnectBars"))
        staff->SetConnectBarsWithNext(true);
      else if (SameWord(word, "Layer"))
        staff->SetLayerWithNext(true);
      else if (word[0] != 0)
        MarkLenient();
    }
  }
  if (const char* value = FindField("MultiPartDotPlacement:")) staff->SetMultiPartDotPlacement(IsYes(value));
  if (const char* value = FindField("Color:")) staff->SetColor(ReadName(value, kNameListColors, 0));
  int top = staff->GetBoundaryTop();
  int bottom = staff->GetBoundaryBottom();
  if (const char* value = FindField("BoundaryTop:"); value && ReadInt(value, number))
    top = -Clamp(number == INT32_MIN ? INT32_MAX : std::abs(number), 0, 100);
  if (const char* value = FindField("BoundaryBottom:"); value && ReadInt(value, number))
    bottom = Clamp(number == INT32_MIN ? INT32_MAX : std::abs(number), 0, 100);
  staff->SetBoundaries(top, bottom);
  // The staff limits its boundaries by its lines; what it had to change no writer wrote.
  if (staff->GetBoundaryTop() != top || staff->GetBoundaryBottom() != bottom) MarkLenient();
  if (const char* value = FindField("Muted:")) staff->SetMuted(IsYes(value));
  if (const char* value = FindField("Volume:")) staff->SetVolume(ReadIntClamped(value, -1, 127, staff->GetVolume()));
  if (const char* value = FindField("StereoPan:"))
    staff->SetStereoPan(ReadIntClamped(value, -1, 127, staff->GetStereoPan()));
  if (const char* value = FindField("Device:")) staff->SetDevice(ReadIntClamped(value, 0, 15, staff->GetDevice()));
  if (const char* value = FindField("Channel:"))
    staff->SetChannel(ReadIntClamped(value, 1, 16, staff->GetChannel() + 1) - 1);
}

void TKVTFileTextImporter::ReadStaffInstrument() {
  if (!staff) return;
  std::unique_ptr<TNotatedItem> item = ReadItemRecordAs(kItemPatch);
  if (item && item->GetType() == kItemPatch)
    staff->SetInstrument(ItemRef<TPatchData>(*item).GetInstrument());
}

void TKVTFileTextImporter::ReadAddStaff() {
  if (firstStaffUnclaimed) {
    firstStaffUnclaimed = false;
    staff = score->GetStaff(0);
  } else {
    auto added = std::make_unique<TMusicStaff>();
    TMusicStaff* candidate = added.get();
    if (score->TryAddStaff(added)) {
      staff = candidate;
      styles->styles.resize(static_cast<size_t>(score->GetStaffCount()));
    } else {
      // A 256th staff: it and its records are dropped.
      MarkCorrupt();
      staff = nullptr;
      return;
    }
  }
  static constexpr struct {
    const char* field;
    int units;
    void (TMusicStaff::*set)(std::u16string_view);
  } kFields[] = {
      {"Name:", kStaffNameUnits, &TMusicStaff::SetName},
      {"Label:", kStaffLabelUnits, &TMusicStaff::SetLabel},
      {"LabelAbbr:", kStaffLabelAbbrUnits, &TMusicStaff::SetLabelAbbr},
      {"Group:", kStaffGroupUnits, &TMusicStaff::SetGroup},
  };
  for (const auto& field : kFields) {
    char* value = FindField(field.field);
    if (!value) continue;
    const std::u16string text = ReadText(value, kTextFontStaffBold);
    if (text.empty()) continue;
    if (text.size() >= static_cast<size_t>(field.units)) MarkLenient();
    (staff->*field.set)(text);
  }
}

TLoadRepairs TKVTFileTextImporter::Finish() {
  ConvertLegacyStaffStylesOf(*score, styles->styles);
  const TLoadRepairs repairs = FinishLoadedScore(*score, services);
  // No writer stores a position outside its score.
  if (repairs.editorStateBounded) MarkLenient();
  score->SetExperimental(false);
  return repairs;
}

}  // namespace kvt
