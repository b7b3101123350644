#include "notation/files/older/older_score_writer.h"

#include <charconv>
#include <cmath>
#include <string>

#include "notation/items/lyric_text.h"
#include "notation/staff/music_fonts_data.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/files/older/older_score_reader.h"
#include "notation/items/packed_field.h"
#include "notation/staff/staff_lyrics.h"
#include "utils/seg_ram_stream.h"
#include "utils/stream.h"
#include "utils/text_encoding.h"

namespace kvt {
namespace {

constexpr int kCopySegmentBytes = 1024;
constexpr int kFontFaceMaxBytes = 31;
constexpr int kMaxLyricLineBytes = 65535;

void PutByte(TKRVStream& s, int value) { s.PutByte(value & 0xFF); }
void PutSigned16(TKRVStream& s, int value) { s.WriteShort(ClampInt(value, -32768, 32767)); }
void PutUnsigned16(TKRVStream& s, int value) { s.WriteShort(ClampInt(value, 0, 65535)); }

// The size field of a font: whole points before version 36, hundredths of a point after.
void WriteFontSize(TKRVStream& s, float size, int version) {
  if (version < kOlderLayoutCopyVersion)
    PutUnsigned16(s, static_cast<int>(std::lround(size)));
  else
    s.WriteLong(static_cast<int32_t>(std::lround(static_cast<double>(size) * 100.0)));
}

void WriteFaceName(TKRVStream& s, const char* face, int version) {
  std::string bytes = face;
  if (version < kFirstUtf8TextVersion) bytes = Utf16ToMultiByte(kAnsiCodePage, Utf8ToUtf16(bytes));
  bytes.resize(bytes.size() > kFontFaceMaxBytes ? kFontFaceMaxBytes : bytes.size());
  if (version >= kFirstUtf8TextVersion) bytes.resize(Utf8CompleteLength(bytes));
  s.WriteString(bytes.c_str());
}

void WriteFonts(TKRVStream& s, const TMusicFontsData& fonts, int version) {
  if (version > 23) WriteFaceName(s, fonts.GetMusicFontFace(), version);
  WriteFontSize(s, fonts.GetBaseSize(), version);
  const int count = version < 15 ? 10 : kScoreTextFontCount;
  for (int i = 0; i < count; ++i) {
    const TFontSpec& font = *fonts.GetTextFont(i);
    WriteFaceName(s, font.Face(), version);
    PutByte(s, font.Style());
    WriteFontSize(s, font.Size(), version);
    PutByte(s, font.CharSet());
  }
}

// One margin: the export writes "%2.8f"; the in-memory copy the shortest text that reads back
// as the same number.
void AppendMargin(std::string& text, float value, bool fixed) {
  char buffer[64];
  auto result = fixed ? std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(value),
                                      std::chars_format::fixed, 8)
                      : std::to_chars(buffer, buffer + sizeof buffer, value);
  if (!text.empty()) text += ' ';
  text.append(buffer, result.ec == std::errc() ? result.ptr : buffer);
}

}  // namespace

void WriteScoreProperties(TKRVStream& s, const TMusicScore& score, int version) {
  const TMusicFontsData* fonts = &score.GetFonts();
  // The reader takes the song information before the fonts, with the code page of a new
  // score's fonts: below version 33 the ANSI code page for all of it.
  const int codePage = version < kFirstUtf8TextVersion ? kAnsiCodePage : 65001;
  WriteLayoutText(s, codePage, score.GetSongInfoText(kSongTitle));
  WriteLayoutText(s, codePage, score.GetSongInfoText(kSongAuthor));
  if (version > 16) WriteLayoutText(s, codePage, score.GetSongInfoText(kSongLyricist));
  WriteLayoutText(s, codePage, score.GetSongInfoText(kSongCopyright1));
  WriteLayoutText(s, codePage, score.GetSongInfoText(kSongCopyright2));
  WriteLayoutText(s, codePage, score.GetSongInfoText(kSongComments));

  const char letters[3] = {score.GetExtendLastSystem() ? 'Y' : 'N',
                           score.GetDurationPadding() ? 'Y' : 'N', 0};
  s.WriteString(letters);
  s.WriteString("F2");
  if (version > 3) {
    PutSigned16(s, score.GetBarNumbers());
    PutSigned16(s, score.GetStartingBar());
  }
  if (version > 5) {
    const TPageMargins& m = score.GetMargins();
    const bool fixed = version <= kExportFormatVersion;
    std::string margins;
    AppendMargin(margins, m.top, fixed);
    AppendMargin(margins, m.left, fixed);
    AppendMargin(margins, m.right, fixed);
    AppendMargin(margins, m.bottom, fixed);
    s.WriteString(margins.c_str());
    PutByte(s, m.mirror ? 1 : 0);
    PutUnsigned16(s, score.GetZoom());
  }
  if (version > 7) {
    score.GetIncludeFlags().WriteTo(s);
    PutByte(s, score.GetAllowLayering() ? 1 : 0);
  }
  if (version > 5) {
    WriteFonts(s, *fonts, version);
    PutByte(s, score.GetTitlePage() ? 1 : 0);
    PutByte(s, score.GetStaffLabels());
    PutSigned16(s, score.GetPageNumbers());
  }
  if (version > 22) PutByte(s, score.GetJustifyVertically() ? 1 : 0);
  if (version > 30) PutByte(s, score.GetPrintSystemSepMark() ? 1 : 0);
  if (version > 25) {
    PutSigned16(s, score.GetActiveStaff());
    s.WriteLong(score.GetCaretIndex());
    s.WriteLong(score.GetSelectIndex());
    PutSigned16(s, score.GetCaretPos());
  }
}

void WriteStaffProperties(TKRVStream& s, const TMusicStaff& staff, const TMusicFontsData* fonts,
                          int version, int legacyStyle) {
  const int bold = LayoutCodePage(version, fonts, kRoleStaffBold, kAnsiCodePage);
  const TInstrumentDef& instrument = staff.GetInstrument();
  WriteLayoutText(s, bold, staff.GetName());
  if (version > 18) WriteLayoutText(s, bold, staff.GetFullLabel());
  if (version > 28) WriteLayoutText(s, bold, staff.GetLabelAbbr());
  if (version > 18) WriteLayoutText(s, bold, instrument.GetName());
  WriteLayoutText(s, bold, staff.GetGroup());
  if (version > 8) PutByte(s, staff.GetEndingBar());
  s.WriteShort(staff.IsMuted() ? 1 : 0);
  s.WriteShort(staff.GetChannel());
  s.WriteShort(staff.GetDevice());
  PutSigned16(s, instrument.GetPatch());
  PutSigned16(s, instrument.HasBank() ? instrument.GetBank() : -1);
  PutSigned16(s, instrument.GetTransposition());
  if (version > 18)
    for (int level = 0; level < kDynamicLevels; ++level)
      PutByte(s, instrument.GetDynamicVelocity(level));
  if (version > 34) PutByte(s, instrument.HasBendRange() ? instrument.GetBendRange() : 255);
  if (version > 27) {
    int connections = 0;
    if (staff.GetBracketWithNext()) connections |= 1;
    if (staff.GetBraceWithNext()) connections |= 2;
    if (staff.GetConnectBarsWithNext()) connections |= 4;
    s.WriteShort(connections);
  } else {
    s.WriteShort(legacyStyle);
  }
  PutSigned16(s, staff.GetBoundaryTop());
  PutSigned16(s, staff.GetBoundaryBottom());
  if (version > 15) PutByte(s, staff.GetLines());
  if (version > 7) {
    int layering = staff.GetLayerWithNext() ? 1 : 0;
    if (version > kExportFormatVersion && staff.GetMultiPartDotPlacement()) layering |= 2;
    s.WriteShort(layering);
  }
  s.WriteShort(instrument.HasBank() ? 1 : 0);
  PutSigned16(s, staff.GetVolume());
  PutSigned16(s, staff.GetStereoPan());
  if (version > 9) {
    int color = staff.GetColor();
    if (version <= kExportFormatVersion && color > 2) color = 3;
    PutByte(s, color);
  }
}

void WriteStaffLyrics(TKRVStream& s, const TMusicStaff& staff, const TMusicFontsData* fonts,
                      int version) {
  const TStaffLyrics* lyrics = staff.GetLyrics();
  if (!lyrics) return;
  s.WriteShort(lyrics->GetCount());
  if (version > 7) {
    int flags = lyrics->GetPlacement() & 1;
    if (version > 14) flags |= (lyrics->GetAlign() & 1) << 1;
    if (version > 16 && !lyrics->GetUnderscoreAsSpace()) flags |= 8;
    s.WriteShort(flags);
    PutSigned16(s, lyrics->GetOffset());
  }
  const int codePage = LayoutCodePage(version, fonts, kRoleStaffLyric, kAnsiCodePage);
  for (int i = 0; i < lyrics->GetCount(); ++i) {
    const TLyricText& line = *lyrics->GetLine(i);
    TKRVSegRamStream text(kCopySegmentBytes);
    line.WriteToStream(text, codePage);
    // The file text ends in a line feed and a zero byte; the length field replaces the zero.
    int length = text.Size() > 0 ? text.Size() - 1 : 0;
    std::string bytes(static_cast<size_t>(length), '\0');
    text.Rewind();
    if (length > 0) text.Read(bytes.data(), length);
    if (bytes.size() > kMaxLyricLineBytes) {
      bytes.resize(kMaxLyricLineBytes);
      if (codePage == 65001) bytes.resize(Utf8CompleteLength(bytes));
    }
    s.WriteShort(static_cast<int>(bytes.size()));
    s.WriteShort(line.GetSyllableCount());
    s.Write(bytes.data(), static_cast<int>(bytes.size()));
  }
}

bool CopyScoreProperties(TMusicScore& score, const TMusicScore& from) {
  TKRVSegRamStream buffer(kCopySegmentBytes);
  WriteScoreProperties(buffer, from, kOlderLayoutCopyVersion);
  if (buffer.IsError()) return false;
  buffer.Rewind();
  TScoreFileHeader header;
  header.formatVersion = kOlderLayoutCopyVersion;
  header.score = &score;
  ReadScoreProperties(score, header, buffer);
  return !buffer.IsError() && header.dataFaults == 0;
}

bool CopyStaffProperties(TMusicStaff& staff, const TMusicStaff& from) {
  TKRVSegRamStream buffer(kCopySegmentBytes);
  WriteStaffProperties(buffer, from, nullptr, kOlderLayoutCopyVersion);
  if (buffer.IsError()) return false;
  buffer.Rewind();
  TScoreFileHeader header;
  header.formatVersion = kOlderLayoutCopyVersion;
  ReadStaffProperties(staff, header, buffer);
  return !buffer.IsError() && header.dataFaults == 0;
}

}  // namespace kvt
