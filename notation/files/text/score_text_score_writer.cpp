// WriteScoreText: a whole score as score text, from the header line through the song
// information, page setup, fonts and margins to each staff with its items, and the end line.

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/items/name_lists.h"
#include "notation/items/notated_item.h"
#include "notation/items/patch_data.h"
#include "notation/files/text/score_text_format.h"
#include "notation/files/text/score_text_item_format.h"
#include "notation/files/text/score_text_numbers.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/staff/staff_lyrics.h"
#include "utils/memory_block.h"
#include "utils/stream.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

// Output is gathered and handed to the stream in blocks of about this size.
constexpr size_t kFlushBytes = 64 * 1024;

class TScoreTextWriter {
public:
  explicit TScoreTextWriter(TKRVStream& stream) : stream(stream) { out.reserve(kFlushBytes + 4096); }

  void Write(const TMusicScore& score);

private:
  // Ends the line in `out` with CR LF and flushes when enough has gathered.
  void EndLine() {
    out += "\r\n";
    if (out.size() >= kFlushBytes) Flush();
  }
  void Flush() {
    size_t done = 0;
    while (done < out.size()) {
      const size_t n = std::min<size_t>(out.size() - done, 0x40000000u);
      stream.Write(out.data() + done, static_cast<int>(n));
      done += n;
    }
    out.clear();
  }
  TItemLineFormatter Fields() { return TItemLineFormatter(out, kTextModeScore); }

  void WriteEditor(const TMusicScore& score);
  void WriteSongInfo(const TMusicScore& score);
  void WritePageSetup(const TMusicScore& score);
  void WriteFonts(const TMusicScore& score);
  void WriteMargins(const TMusicScore& score);
  void WriteStaff(const TMusicScore& score, int index);
  void WriteLyrics(const TStaffLyrics& lyrics);

  TKRVStream& stream;
  std::string out;
};

void TScoreTextWriter::Write(const TMusicScore& score) {
  out += kScoreTextHeaderLine;
  EndLine();
  WriteEditor(score);
  WriteSongInfo(score);
  WritePageSetup(score);
  WriteFonts(score);
  WriteMargins(score);
  for (int i = 0; i < score.GetStaffCount(); ++i) WriteStaff(score, i);
  out += kScoreTextEndLine;
  EndLine();
  Flush();
}

void TScoreTextWriter::WriteEditor(const TMusicScore& score) {
  if (score.GetActiveStaff() < 0) return;
  TItemLineFormatter fields = Fields();
  out += "|Editor";
  fields.IntField("ActiveStaff", int64_t{score.GetActiveStaff()} + 1);
  fields.IntField("CaretIndex", score.GetCaretIndex());
  if (score.HasSelection()) fields.IntField("SelectIndex", score.GetSelectIndex());
  fields.IntField("CaretPos", -int64_t{score.GetCaretPos()});
  EndLine();
}

void TScoreTextWriter::WriteSongInfo(const TMusicScore& score) {
  static constexpr const char* kNames[kSongInfoFieldCount] = {"Title",      "Author",     "Lyricist",
                                                              "Copyright1", "Copyright2", "Comments"};
  TItemLineFormatter fields = Fields();
  out += "|SongInfo";
  for (int field = 0; field < kSongInfoFieldCount; ++field) {
    const char16_t* text = score.GetSongInfoText(field);
    if (field == kSongComments && text[0] == 0) continue;
    fields.WideField(kNames[field], text);
  }
  EndLine();
}

void TScoreTextWriter::WritePageSetup(const TMusicScore& score) {
  TItemLineFormatter fields = Fields();
  const TMusicFontsData& fonts = score.GetFonts();
  out += "|PgSetup";
  fields.RealField("StaffSize", fonts.GetBaseSize());
  if (std::strcmp(fonts.GetMusicFontName(), kDefaultMusicFontName) != 0) {
    // The face is written raw; only a face holding a character that would break the line or
    // read as a quote is quoted (readers undo the quotes).
    const std::string_view face = fonts.GetMusicFontName();
    fields.FieldStart("NtnTypeface");
    if (face.find_first_of("|\\\"'\r\n\t") == std::string_view::npos)
      out += face;
    else
      AppendTextValue(out, face, true);
  }
  fields.IntField("Zoom", score.GetZoom() / 2);
  fields.FlagField("TitlePage", score.GetTitlePage());
  fields.FlagField("JustifyVertically", score.GetJustifyVertically());
  fields.FlagField("PrintSystemSepMark", score.GetPrintSystemSepMark());
  fields.FlagField("ExtendLastSystem", score.GetExtendLastSystem());
  fields.FlagField("DurationPadding", score.GetDurationPadding());
  fields.IntField("PageNumbers", score.GetPageNumbers());
  fields.NameField("StaffLabels", kNameListStaffLabelPrinting, score.GetStaffLabels());
  fields.NameField("BarNumbers", kNameListBarNumberStyles, score.GetBarNumbers());
  fields.IntField("StartingBar", score.GetStartingBar());
  if (!score.GetAllowLayering()) fields.FlagField("AllowLayering", false);
  EndLine();
}

void TScoreTextWriter::WriteFonts(const TMusicScore& score) {
  for (int role = 0; role < kScoreTextFontCount; ++role) {
    const TFontSpec* font = score.GetFonts().GetTextFont(role);
    TItemLineFormatter fields = Fields();
    out += "|Font";
    // The score-font list puts the two music fonts first.
    fields.NameField("Style", kNameListScoreFontsText, role + 2);
    fields.QuotedField("Typeface", font->Face());
    fields.RealField("Size", font->Size());
    fields.FlagField("Bold", font->IsBold());
    fields.FlagField("Italic", font->IsItalic());
    fields.IntField("CharSet", font->CharSet());
    EndLine();
  }
}

void TScoreTextWriter::WriteMargins(const TMusicScore& score) {
  const TPageMargins& margins = score.GetMargins();
  out += "|PgMargins";
  const struct {
    const char* name;
    float inches;
  } sides[] = {{"Left", margins.left}, {"Top", margins.top}, {"Right", margins.right}, {"Bottom", margins.bottom}};
  for (const auto& side : sides) {
    out += '|';
    out += side.name;
    out += ':';
    const double cm = static_cast<double>(side.inches) * 2.54;
    AppendFixed2Text(out, cm >= 0 ? std::min(cm, kLargestWrittenMarginCm) : 0.0);
  }
  Fields().FlagField("Mirror", margins.mirror);
  EndLine();
}

void TScoreTextWriter::WriteStaff(const TMusicScore& score, int index) {
  const TMusicStaff& staff = *score.GetStaff(index);
  TItemLineFormatter fields = Fields();

  out += "|AddStaff";
  fields.WideField("Name", staff.GetName());
  if (staff.GetFullLabel()[0] != 0) fields.WideField("Label", staff.GetFullLabel());
  if (staff.GetLabelAbbr()[0] != 0) fields.WideField("LabelAbbr", staff.GetLabelAbbr());
  fields.WideField("Group", staff.GetGroup());
  EndLine();

  out += "|StaffProperties";
  fields.NameField("EndingBar", kNameListEndingBars, staff.GetEndingBar());
  fields.FlagField("Visible", score.IsStaffIncluded(index));
  fields.IntField("BoundaryTop", std::abs(int64_t{staff.GetBoundaryTop()}));
  fields.IntField("BoundaryBottom", std::abs(int64_t{staff.GetBoundaryBottom()}));
  fields.IntField("Lines", staff.GetLines());
  static constexpr struct {
    uint8_t bit;
    const char* name;
  } kConnections[] = {{kStaffBracketWithNext, "Bracket"},
                      {kStaffBraceWithNext, "Brace"},
                      {kStaffConnectBarsWithNext, "ConnectBars"},
                      {kStaffLayerWithNext, "Layer"}};
  bool any = false;
  for (const auto& connection : kConnections) {
    if (!(staff.GetConnectionBits() & connection.bit)) continue;
    out += any ? "," : "|WithNextStaff:";
    out += connection.name;
    any = true;
  }
  if (staff.GetMultiPartDotPlacement()) fields.FlagField("MultiPartDotPlacement", true);
  fields.NameField("Color", kNameListColors, staff.GetColor());
  EndLine();

  out += "|StaffProperties";
  fields.FlagField("Muted", staff.IsMuted());
  fields.IntField("Volume", staff.GetVolume());
  fields.IntField("StereoPan", staff.GetStereoPan());
  fields.IntField("Device", staff.GetDevice());
  fields.IntField("Channel", staff.GetChannel() + 1);
  EndLine();

  {
    // The staff's instrument carries the Instrument record's own fields only.
    TPatchData patch(&staff.GetInstrument());
    std::string line;
    AppendItemLine(line, patch, kTextModeScore);
    const size_t kinds = std::strlen("|Instrument");
    const size_t expression = line.find("|Pos:");
    out += "|StaffInstrument";
    out.append(line, kinds, expression == std::string::npos ? std::string::npos : expression - kinds);
    EndLine();
  }

  if (const TStaffLyrics* lyrics = staff.GetLyrics()) WriteLyrics(*lyrics);

  for (int i = 1; i < staff.GetLastIndex(); ++i) {
    if (const TNotatedItem* item = staff.GetItem(i)) {
      AppendItemLine(out, *item, kTextModeScore);
      EndLine();
    }
  }
}

void TScoreTextWriter::WriteLyrics(const TStaffLyrics& lyrics) {
  TItemLineFormatter fields = Fields();
  out += "|Lyrics";
  fields.NameField("Placement", kNameListLyricPlacement, lyrics.GetPlacement());
  fields.NameField("Align", kNameListLyricAlignment, lyrics.GetAlign());
  fields.IntField("Offset", lyrics.GetOffset());
  if (!lyrics.GetUnderscoreAsSpace()) fields.FlagField("UnderscoreAsSpace", false);
  EndLine();
  for (int n = 0; n < lyrics.GetCount(); ++n) {
    const TLyricText* line = lyrics.GetLine(n);
    // Whole syllables, and the closing line feed: an empty line is "\n".
    const std::string bytes = (line ? line->GetFileText(kCodePageUtf8) : std::string()) + '\n';
    out += "|Lyric";
    AppendIntText(out, n + 1);
    fields.QuotedField("Text", bytes);
    EndLine();
  }
}

}  // namespace

void WriteScoreText(TKRVStream& stream, const TMusicScore& score) { TScoreTextWriter(stream).Write(score); }

}  // namespace kvt
