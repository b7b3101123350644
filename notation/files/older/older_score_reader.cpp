#include "notation/files/older/older_score_reader.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "notation/items/item_cast.h"
#include "notation/items/lyric_text.h"
#include "notation/staff/music_fonts_data.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/items/notated_item.h"
#include "notation/files/older/older_item_reader.h"
#include "notation/files/score_load_finish.h"
#include "notation/files/older/older_layout_io.h"
#include "notation/items/patch_data.h"
#include "notation/files/text/score_text_legacy_styles.h"
#include "notation/items/song_note.h"
#include "notation/services/services.h"
#include "notation/staff/staff_lyrics.h"
#include "utils/flat_ram_stream.h"
#include "utils/memory_block.h"
#include "utils/stream.h"
#include "utils/sys_status_bar.h"
#include "utils/text_encoding.h"

namespace kvt {
namespace {

// Margins beyond 200 cm are no page margins.
constexpr double kMaxMarginInches = 200.0 / 2.54;
constexpr int kFontFaceBytes = 32;
constexpr int kMaxStaffLines = 32;
constexpr int kDefaultStaffLines = 5;
constexpr int kBoundaryLimit = 100;
constexpr int kLegacyStaffStyleCount = 4;

int Byte(TKRVStream& s) { return s.GetByte(); }

// A face name field: UTF-8 from version 33 on, before in the ANSI code page.
std::string ReadFaceName(TKRVStream& s, const TScoreFileHeader& header) {
  char face[kFontFaceBytes];
  s.ReadString(face, sizeof face);
  std::string_view bytes(face);
  const bool utf8 = header.formatVersion >= kFirstUtf8TextVersion;
  // A name cut by its field loses the broken end; other invalid bytes become U+FFFD.
  if (utf8) bytes = bytes.substr(0, Utf8CompleteLength(bytes));
  return Utf16ToUtf8(MultiByteToUtf16(utf8 ? kCodePageUtf8 : header.codePage, bytes));
}

// The music fonts of old versions go by the name of the current one.
bool IsOldMusicFace(const std::string& face, int version) {
  return (face == "KVT2STD" && (version == 17 || version == 18)) ||
         (face == "KVTV15" && version <= 16);
}

// A font size field: whole points before version 36, hundredths of a point after.
float ReadFontSize(TKRVStream& s, int version) {
  if (version < kOlderLayoutCopyVersion) return static_cast<float>(s.ReadShort());
  return static_cast<float>(static_cast<int32_t>(s.ReadLong())) / 100.0f;
}

void ReadFonts(TMusicScore& score, TScoreFileHeader& header, TKRVStream& s) {
  const int v = header.formatVersion;
  TMusicFontsData& fonts = score.GetFonts();
  if (v < 7) {
    const int size = s.ReadShort();
    if (size <= 0) {
      NoteLayoutFault(header);
      return;
    }
    for (int i = 0; i < kScoreTextFontCount; ++i) fonts.GetTextFont(i)->SetSize(size * 8.0f / 5.0f);
    return;
  }
  if (v > 23) {
    std::string face = ReadFaceName(s, header);
    if (IsOldMusicFace(face, v)) face = kDefaultMusicFontName;
    fonts.SetMusicFontFace(face.c_str());
  }
  const float staffSize = ReadFontSize(s, v);
  if (staffSize > 0 && std::isfinite(staffSize))
    fonts.SetBaseSize(staffSize);
  else
    NoteLayoutFault(header);
  const int count = v < 15 ? 10 : kScoreTextFontCount;
  for (int i = 0; i < count; ++i) {
    std::string face = ReadFaceName(s, header);
    int style = Byte(s);
    const float size = ReadFontSize(s, v);
    int charSet = Byte(s);
    if (style & ~(TFontSpec::kBold | TFontSpec::kItalic)) {
      NoteLayoutFault(header);
      style &= TFontSpec::kBold | TFontSpec::kItalic;
    }
    if (IsOldMusicFace(face, v)) {
      face = kDefaultMusicFontName;
      charSet = 2;
    }
    TFontSpec* font = fonts.GetTextFont(i);
    float kept = font->Size();
    if (size > 0 && std::isfinite(size))
      kept = size;
    else
      NoteLayoutFault(header);
    font->Set(face.c_str(), style, kept, charSet);
  }
}

// "%f %f %f %f": top, left, right, bottom in inches. Any value that does not parse or is no
// margin keeps the margins as they were.
void ReadMargins(TMusicScore& score, TScoreFileHeader& header, TKRVStream& s) {
  char text[160];
  s.ReadString(text, sizeof text);
  float values[4];
  const char* p = text;
  const char* end = text + std::strlen(text);
  for (float& value : values) {
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    if (p < end && *p == '+') ++p;
    auto result = std::from_chars(p, end, value);
    if (result.ec != std::errc() || !std::isfinite(value) || value < 0 || value >= kMaxMarginInches) {
      NoteLayoutFault(header);
      return;
    }
    p = result.ptr;
  }
  TPageMargins margins = score.GetMargins();
  margins.top = values[0];
  margins.left = values[1];
  margins.right = values[2];
  margins.bottom = values[3];
  score.SetMargins(margins);
}

void ReadLyricLine(TKRVStream& s, TLyricText& line, bool underscoreAsSpace, int codePage) {
  const int length = s.ReadShort();
  s.ReadShort();  // the syllable count: the text itself says how many
  std::vector<char> bytes(static_cast<size_t>(length) + 1);
  if (length > 0 && s.Read(bytes.data(), length) != length) {
    s.SetError();
    return;
  }
  TKRVFlatRamStream text(bytes.data(), length, length);
  line.ReadFromStream(text, underscoreAsSpace, codePage);
}

// Version 21 and below: a principal note right after a slurred grace note takes no lyric of
// its own unless told so.
void ApplyGraceSlurLyrics(TMusicStaff& staff) {
  const TSongNote* prev = nullptr;
  for (int i = 1; i < staff.GetLastIndex(); ++i) {
    TNotatedItem* item = staff.GetItem(i);
    if (!item->IsSongNoteClass()) continue;
    auto* note = ItemAs<TSongNote>(item);
    if (prev && prev->IsGrace() && prev->IsSlurOut() && note->IsMusicNoteClass() &&
        !note->IsGrace() && note->GetLyric() == kLyricDefault)
      note->SetLyric(kLyricNever);
    prev = note;
  }
}

// Version 18 and below: instrument changes carry no flag byte; the staff's says whether the
// bank is set.
void ApplyStaffInstrumentFlags(TMusicStaff& staff, int flags) {
  if (flags & 1) return;
  for (int i = 1; i < staff.GetLastIndex(); ++i) {
    TNotatedItem* item = staff.GetItem(i);
    if (item->GetType() == kItemPatch) ItemAs<TPatchData>(item)->GetInstrument().ClearBank();
  }
}

}  // namespace

void ReadScoreProperties(TMusicScore& score, TScoreFileHeader& header, TKRVStream& s) {
  const int v = header.formatVersion;
  const int title = LayoutCodePage(header, kRolePageTitleText);
  const int page = LayoutCodePage(header, kRolePageText);
  const int small = LayoutCodePage(header, kRolePageSmallText);
  score.SetSongInfoText(kSongTitle, ReadLayoutText(s, title, kSongTitleUnits - 1));
  score.SetSongInfoText(kSongAuthor, ReadLayoutText(s, page, kSongAuthorUnits - 1));
  if (v > 16) score.SetSongInfoText(kSongLyricist, ReadLayoutText(s, page, kSongLyricistUnits - 1));
  score.SetSongInfoText(kSongCopyright1, ReadLayoutText(s, small, kSongCopyrightUnits - 1));
  score.SetSongInfoText(kSongCopyright2, ReadLayoutText(s, small, kSongCopyrightUnits - 1));
  score.SetSongInfoText(kSongComments, ReadLayoutText(s, title, kSongCommentsUnits - 1));

  char letters[16];
  s.ReadString(letters, sizeof letters);
  score.SetExtendLastSystem(!(v > 5 && letters[0] == 'N'));
  score.SetDurationPadding(!(v > 5 && letters[0] != 0 && letters[1] == 'N'));
  char reserved[16];
  s.ReadString(reserved, sizeof reserved);

  if (v > 3) {
    score.SetBarNumbers(CheckedValue(header, s.ReadShort(), 0, 3, 0));
    score.SetStartingBar(ReadSigned16(s));
  }
  if (v > 5) {
    ReadMargins(score, header, s);
    TPageMargins margins = score.GetMargins();
    margins.mirror = (Byte(s) & 1) != 0;
    score.SetMargins(margins);
    int zoom = s.ReadShort();
    if (v < 15 && zoom > 5) --zoom;
    score.SetZoom(zoom);
  }
  if (v > 7) {
    TKVBoolArray visible(TMusicScore::MaxScoreStaffs);
    if (visible.ReadFrom(s))
      for (int i = 0; i < TMusicScore::MaxScoreStaffs; ++i) score.SetStaffIncluded(i, visible.Get(i));
    score.SetAllowLayering((Byte(s) & 1) != 0);
  }
  if (v > 5) {
    ReadFonts(score, header, s);
    score.SetTitlePage((Byte(s) & 1) != 0);
    score.SetStaffLabels(CheckedValue(header, Byte(s), 0, 3, 0));
    score.SetPageNumbers(s.ReadShort());
  }
  if (v > 22) score.SetJustifyVertically((Byte(s) & 1) != 0);
  if (v > 30) score.SetPrintSystemSepMark((Byte(s) & 1) != 0);
  if (v > 25) {
    const int active = CheckedValue(header, ReadSigned16(s), -1, TMusicScore::MaxScoreStaffs - 1, -1);
    const int caret = static_cast<int32_t>(s.ReadLong());
    const int select = static_cast<int32_t>(s.ReadLong());
    const int caretPos = ReadSigned16(s);
    score.SetEditorState(active, caret, select, caretPos);
  }
}

void ReadStaffProperties(TMusicStaff& staff, TScoreFileHeader& header, TKRVStream& s,
                         TOlderStaffExtras* extras) {
  const int v = header.formatVersion;
  const int bold = LayoutCodePage(header, kRoleStaffBold);
  TOlderStaffExtras local;
  TOlderStaffExtras& out = extras ? *extras : local;
  out = TOlderStaffExtras();

  const std::u16string name = ReadLayoutText(s, bold, kStaffNameUnits - 1);
  staff.SetName(name);
  staff.SetLabel(v > 18 ? ReadLayoutText(s, bold, kStaffLabelUnits - 1) : name);
  if (v > 28) staff.SetLabelAbbr(ReadLayoutText(s, bold, kStaffLabelAbbrUnits - 1));
  TInstrumentDef instrument;
  if (v > 18) instrument.SetName(ReadLayoutText(s, bold, kInstrumentNameUnits - 1));
  staff.SetGroup(ReadLayoutText(s, bold, kStaffGroupUnits - 1));
  staff.SetEndingBar(v > 8 ? CheckedValue(header, Byte(s), 0, 4, 0) : 0);
  staff.SetMuted(s.ReadShort() != 0);
  staff.SetChannel(CheckedValue(header, s.ReadShort(), 0, 15, 0));
  staff.SetDevice(CheckedValue(header, s.ReadShort(), 0, 15, 0));

  const int patch = CheckedValue(header, ReadSigned16(s), -1, 127, -1);
  const int bank = CheckedValue(header, ReadSigned16(s), -1, 16383, -1);
  instrument.SetTransposition(ClampedValue(header, ReadSigned16(s), -128, 127));
  instrument.SetPatch(patch);
  if (v > 18)
    for (int level = 0; level < kDynamicLevels; ++level)
      instrument.SetDynamicVelocity(level, ClampedValue(header, Byte(s), 0, 127));
  if (v > 34) {
    const int range = Byte(s);
    instrument.SetBendRange(range == 255 ? -1 : CheckedValue(header, range, 0, 24, -1));
  }

  if (v > 27) {
    const int connections = s.ReadShort();
    staff.SetBracketWithNext((connections & 1) != 0);
    staff.SetBraceWithNext((connections & 2) != 0);
    staff.SetConnectBarsWithNext((connections & 4) != 0);
  } else {
    out.legacyStyle = CheckedValue(header, s.ReadShort(), 0, kLegacyStaffStyleCount - 1, 0);
  }
  int top = ReadSigned16(s);
  int bottom = ReadSigned16(s);
  if (top < -kBoundaryLimit || top > kBoundaryLimit || bottom < -kBoundaryLimit ||
      bottom > kBoundaryLimit)
    NoteLayoutFault(header);
  int lines = kDefaultStaffLines;
  if (v > 15) lines = CheckedValue(header, Byte(s), 0, kMaxStaffLines, kDefaultStaffLines);
  staff.SetLines(lines);
  staff.SetBoundaries(top, bottom);
  if (v > 7) {
    const int layering = s.ReadShort();
    staff.SetLayerWithNext((layering & 1) != 0);
    staff.SetMultiPartDotPlacement((layering & 2) != 0);
  }
  out.instrumentFlags = s.ReadShort() & 0xFF;
  if ((out.instrumentFlags & 1) && bank >= 0)
    instrument.SetBank(bank >> 7, bank & 127);
  staff.SetInstrument(instrument);
  staff.SetVolume(ClampedValue(header, ReadSigned16(s), -1, 127));
  staff.SetStereoPan(ClampedValue(header, ReadSigned16(s), -1, 127));
  if (v > 9) staff.SetColor(CheckedValue(header, Byte(s), 0, 7, 0));
}

void ReadStaffLyrics(TMusicStaff& staff, TScoreFileHeader& header, TKRVStream& s) {
  const int v = header.formatVersion;
  const int count = s.ReadShort();
  if (count > TStaffLyrics::MaxStaffLyrics) {
    s.SetFailed();
    return;
  }
  int flags = 0;
  int offset = 0;
  if (v > 7) {
    flags = ReadSigned16(s);
    if (v == 15 && flags == -1) flags = 0;
    offset = ReadSigned16(s);
  }
  const bool underscoreAsSpace = !(v > 16 && (flags & 8));
  const int codePage = LayoutCodePage(header, kRoleStaffLyric);
  std::vector<std::unique_ptr<TLyricText>> lines;
  for (int i = 0; i < count && !s.IsError(); ++i) {
    auto line = std::make_unique<TLyricText>();
    ReadLyricLine(s, *line, underscoreAsSpace, codePage);
    lines.push_back(std::move(line));
  }
  if (s.IsError()) return;

  TStaffLyrics& lyrics = staff.MakeLyrics();
  while (lyrics.GetCount() > 0) lyrics.RemoveAt(lyrics.GetLastIndex());
  lyrics.SetPlacement(flags & 1);
  lyrics.SetAlign(v > 14 ? (flags >> 1) & 1 : 0);
  lyrics.SetUnderscoreAsSpace(underscoreAsSpace);
  lyrics.SetOffset(offset);
  for (auto& line : lines) lyrics.Add(std::move(line));
}

void ReadStaff(TMusicStaff& staff, TScoreFileHeader& header, TKRVStream& s, TSysStatusBar* status,
               TOlderStaffExtras* extras) {
  const int v = header.formatVersion;
  TOlderStaffExtras local;
  TOlderStaffExtras& out = extras ? *extras : local;
  ReadStaffProperties(staff, header, s, &out);
  const int hasLyrics = v > 3 ? s.ReadShort() : 0;
  if (hasLyrics != 0) ReadStaffLyrics(staff, header, s);
  s.ReadShort();
  s.ReadShort();

  int announced = s.ReadShort();
  if (announced > kMaxStaffRecordItems) {
    NoteLayoutFault(header);
    announced = kMaxStaffRecordItems;
  }
  const int toRead = announced < 2 ? 0 : announced - 2;
  if (status) {
    char text[48];
    std::snprintf(text, sizeof text, " Loading (%d items)", toRead);
    status->ShowStatusText(text, false);
  }
  for (int i = 0; i < toRead && !s.IsError(); ++i) {
    std::unique_ptr<TNotatedItem> item = ReadItem(header, s);
    if (!item) continue;  // dropped (counted), or unreadable (the stream failed: the loop ends)
    // A full staff takes no more: what it refuses is damage, read and dropped.
    if (!staff.TryInsertItem(item, staff.GetLastIndex())) NoteLayoutFault(header);
  }
  // The closing bar line takes the staff's ending-bar style.
  staff.SetEndingBar(staff.GetEndingBar());
  if (status) status->ShowStatusText(" Auditing...", false);
  if (v < 19) ApplyStaffInstrumentFlags(staff, out.instrumentFlags);
  if (v <= 21) ApplyGraceSlurLyrics(staff);
}

void ReadScoreBody(TMusicScore& score, TScoreFileHeader& header, TKRVStream& s,
                   TSysStatusBar* status) {
  header.score = &score;
  const int v = header.formatVersion;
  ReadScoreProperties(score, header, s);
  const int count = s.ReadShort();
  std::vector<TLegacyStaffStyle> styles;
  for (int i = 0; i < count && !s.IsError(); ++i) {
    if (i >= TMusicScore::MaxScoreStaffs) {
      // A 256th staff: the score holds no more; the file is damaged.
      NoteLayoutFault(header);
      break;
    }
    auto staff = std::make_unique<TMusicStaff>();
    TOlderStaffExtras extras;
    ReadStaff(*staff, header, s, status, &extras);
    if (!score.TryAddStaff(staff)) {
      NoteLayoutFault(header);
      break;
    }
    styles.push_back(TLegacyStaffStyle{extras.legacyStyle});
  }

  bool anyVisible = false;
  for (int i = 0; i < score.GetStaffCount(); ++i) anyVisible = anyVisible || score.IsStaffIncluded(i);
  if ((s.IsError() || !anyVisible || v < 8) && score.GetStaffCount() > 0) {
    const std::u16string group = score.GetStaff(0)->GetGroup();
    for (int i = 0; i < TMusicScore::MaxScoreStaffs; ++i)
      score.SetStaffIncluded(i, i < score.GetStaffCount() && group == score.GetStaff(i)->GetGroup());
  }
  if (v < 28) ConvertLegacyStaffStylesOf(score, styles);
  score.SetExperimental(false);
}

TScoreLoadResult ReadOlderScore(TKRVStream& stream, TScoreFileHeader& header, const TServices& services) {
  TScoreLoadResult result;
  result.score = std::make_unique<TMusicScore>(nullptr, services);
  TMusicScore& score = *result.score;
  ReadScoreBody(score, header, stream, services.status);
  header.score = nullptr;
  if (header.status == TLoadStatus::kOlder) score.SetOldFormatVersion(true);
  if (header.date != 0) score.SetDate(TKVDate(header.date));
  if (stream.IsError() || header.dataFaults > 0) header.status = TLoadStatus::kCorrupt;
  if (score.GetStaffCount() == 0) score.AddStaff(std::make_unique<TMusicStaff>());
  result.repaired = FinishLoadedScore(score, services);
  result.repaired.dataFaults = header.dataFaults > 0;
  result.status = header.status;
  result.codePage = header.codePage;
  result.formatVersion = header.formatVersion;
  return result;
}

}  // namespace kvt
