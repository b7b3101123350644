// ReadClipText: a clip (or plain text, or bare item lines) into a staff.

#include <string>

#include "notation/files/text/clip_text.h"
#include "notation/services/long_task_cancel.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/items/notated_item.h"
#include "notation/files/text/score_text_format.h"
#include "notation/files/text/score_text_line_reader.h"
#include "notation/items/text_expression.h"
#include "utils/stream.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

// Lines the header search reads at most before it takes what follows as items.
constexpr int kMaxHeaderSearchLines = 30000;
// Characters of the first line a plain-text clip shows.
constexpr size_t kPlainTextChars = 254;

bool IsContextRecord(const TKVTTextImportTokenizer& tokens) {
  return tokens.IsRecord("Fake") || tokens.IsRecord("Context");
}

}  // namespace

TClipTextReader::TClipTextReader(TKRVStream& stream, TMusicStaff& staff, bool acceptBareLines,
                                 const TMusicScore* score, const TServices& services)
    : stream(stream),
      staff(staff),
      cancel(LongTaskCancelOf(services)),
      acceptBareLines(acceptBareLines) {
  if (score) {
    for (int role = 0; role < kScoreTextFontCount; ++role)
      SetFontCharSet(role, score->GetFonts().GetTextFont(role)->CharSet());
  }
}

TClipLoadResult ReadClipText(TKRVStream& stream, TMusicStaff& staff, bool acceptBareLines,
                             const TMusicScore* score, const TServices& services) {
  return TClipTextReader(stream, staff, acceptBareLines, score, services).Read();
}

void TClipTextReader::Insert(std::unique_ptr<TNotatedItem> item) {
  if (!item) return;
  if (!staff.TryInsertItem(item, nextIndex)) {
    MarkCorrupt();  // the staff is full: the rest of the clip is dropped
    return;
  }
  ++nextIndex;
  ++inserted;
}

TClipLoadResult TClipTextReader::Read() {
  TClipLoadResult result;
  result.items = ReadClip();
  result.codePage = localeCodePage;
  result.textVersion = headerVersion;
  result.repaired.dataFaults = IsLenient() || IsCorrupt();
  result.status = IsCorrupt()        ? TLoadStatus::kCorrupt
                  : result.items < 0 ? TLoadStatus::kNotScore
                                     : TLoadStatus::kLoaded;
  return result;
}

int TClipTextReader::ReadClip() {
  TScoreTextLineReader lines(stream);
  std::string firstLine;
  bool haveFirst = false;
  int searched = 0;
  for (;;) {
    if (!lines.Next()) break;
    const std::string_view line = lines.Line();
    if (line.empty()) {
      if (lines.EndedWithoutTerminator()) break;
      continue;
    }
    std::string_view rest;
    if (MatchFrameLine(line, &rest) == TFrameLine::kClipHeader) {
      double version = 0;
      if (ParseFrameVersion(rest, version) && rest.find(",Single") != std::string_view::npos) {
        SetVersion(version);
        headerVersion = version;
        return ReadItems(lines, true);
      }
    }
    if (acceptBareLines && line[0] == '|') {
      stream.Rewind();
      TScoreTextLineReader again(stream);
      return ReadItems(again, false);
    }
    if (!haveFirst) {
      haveFirst = true;
      firstLine.assign(line.substr(0, kPlainTextChars));
      if (SplitFields(lines.MutableLine()) > 0 && !IsContextRecord(*this)) {
        Insert(ReadItemRecord());
      }
    }
    if (lines.EndedWithoutTerminator()) break;
    if (++searched >= kMaxHeaderSearchLines) return ReadItems(lines, true);
  }
  if (lines.StreamFailed()) MarkCorrupt();
  if (!haveFirst) return -1;
  if (inserted == 0) {
    // Plain text: one text item showing the first line.
    auto text = std::make_unique<TTextExpression>();
    text->SetWide(true);
    text->SetFontIndex(kTextFontStaffBold);
    text->SetText(MultiByteToUtf16(TextCodePage(kTextFontStaffBold), firstLine));
    Insert(std::move(text));
  }
  return inserted > 0 ? 1 : -1;
}

int TClipTextReader::ReadItems(TScoreTextLineReader& lines, bool framed) {
  bool sawEnd = false;
  std::string raw;
  for (;;) {
    if (cancel.CheckCancel()) return -1;
    if (!lines.Next()) break;
    if (lines.WasCut()) MarkCorrupt();
    const std::string_view line = lines.Line();
    if (line.empty() || line[0] == '#') continue;
    if (framed && MatchFrameLine(line) == TFrameLine::kClipEnd) {
      sawEnd = true;
      break;
    }
    raw.assign(line.substr(0, kLineTextBytes));
    if (SplitFields(lines.MutableLine(), line.size()) == 0) {
      MarkLenient();
      Insert(MakeLineTextItem(raw));
      continue;
    }
    if (IsContextRecord(*this)) continue;
    if (IsRecord("Locale")) {
      int32_t codePage = 0;
      if (const char* value = FindField("ACP:"); value && ReadInt(value, codePage) && codePage > 0) {
        SetAnsiCodePage(codePage);
        localeCodePage = codePage;
      }
      continue;
    }
    std::unique_ptr<TNotatedItem> item = ReadItemRecord();
    if (!item) {
      MarkLenient();
      item = MakeLineTextItem(raw);
    }
    Insert(std::move(item));
  }
  if (lines.StreamFailed() || lines.TooLarge()) MarkCorrupt();
  if (framed && !sawEnd) {
    MarkCorrupt();
    if (inserted == 0) return -1;
  }
  return inserted;
}

}  // namespace kvt
