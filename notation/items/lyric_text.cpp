#include "notation/items/lyric_text.h"

#include <algorithm>
#include <cstring>

#include "utils/memory_block.h"
#include "utils/stream.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

// The entry buffer of every empty text: unit 0 and the end of the (no) entries.
constexpr char16_t kEmptyEntry[2] = {0, 0};

constexpr size_t kGrowthUnits = 8192;
// Room kept free past the entries: separator, terminator and the closing 0, with margin.
constexpr size_t kEntrySlack = 6;

bool IsBlank(char16_t c) { return c == u'\t' || c == u'\n' || c == u'\r' || c == u' '; }

bool HasNonBlankFrom(std::u16string_view line, size_t from) {
  for (size_t i = from; i < line.size(); ++i)
    if (!IsBlank(line[i])) return true;
  return false;
}

const char16_t* EditSeparatorText(int separator) {
  switch (separator) {
    case kLyricWord:
      return u" ";
    case kLyricHyphen:
      return u"-";
    case kLyricNewLine:
      return u"\r\n";
    case kLyricNewVerse:
      return u"\r\n\r\n";
    default:
      return u"";
  }
}

const char* FileSeparatorText(int separator) {
  switch (separator) {
    case kLyricWord:
      return " ";
    case kLyricHyphen:
      return "-";
    case kLyricNewLine:
      return "\n";
    case kLyricNewVerse:
      return "\n\n";
    default:
      return "";
  }
}

// The edit-control form of one syllable: spaces shown as "_".
void AppendEditSyllable(std::u16string& out, std::u16string_view syllable) {
  for (char16_t c : syllable) out.push_back(c == u' ' ? u'_' : c);
}

}  // namespace

// --- TLyricText ---

void TLyricText::Clear() {
  std::vector<char16_t>().swap(buffer);
  used = 1;
}

const char16_t* TLyricText::GetBuffer() const { return buffer.empty() ? kEmptyEntry : buffer.data(); }

int TLyricText::GetSyllableCount() const {
  int count = 0;
  for (TLyricSyllableIter it(*this, 0); it.IsValid(); it.Next()) ++count;
  return count;
}

void TLyricText::AddSyllable(int separator, std::u16string_view text, bool underscoreAsSpace) {
  const size_t end = text.find(u'\0');
  if (end != std::u16string_view::npos) text = text.substr(0, end);
  if (IsEmpty())
    separator = kLyricFirst;
  else if (separator == 0 || separator == kLyricFirst)
    separator = kLyricWord;

  const size_t required = used + text.size() + kEntrySlack;
  if (buffer.size() < required) {
    // New units are zero-filled, so the text always ends in a 0 unit.
    buffer.resize(std::max(buffer.size() + kGrowthUnits, required), 0);
  }
  size_t at = used;
  buffer[at++] = static_cast<char16_t>(separator);
  for (char16_t c : text) buffer[at++] = (underscoreAsSpace && c == u'_') ? u' ' : c;
  buffer[at++] = 0;
  buffer[at] = 0;
  used = at;
}

bool TLyricText::ParseLine(std::u16string_view line, bool afterBlankLine, bool underscoreAsSpace) {
  size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i >= line.size()) return false;

  int separator = afterBlankLine ? kLyricNewVerse : kLyricNewLine;
  while (i < line.size()) {
    const size_t start = i;
    int next = kLyricWord;
    size_t end = line.size();
    size_t resume = line.size();
    for (size_t k = start; k < line.size(); ++k) {
      const char16_t c = line[k];
      if (IsBlank(c)) {
        end = k;
        resume = k;
        break;
      }
      // A hyphen splits unless it opens the syllable, is doubled or ends the line.
      if (c == u'-' && k > start && (k + 1 >= line.size() || line[k + 1] != u'-') &&
          HasNonBlankFrom(line, k + 1)) {
        end = k;
        resume = k + 1;
        next = kLyricHyphen;
        break;
      }
    }
    AddSyllable(separator, line.substr(start, end - start), underscoreAsSpace);
    separator = next;
    i = resume;
    while (i < line.size() && IsBlank(line[i])) ++i;
  }
  return true;
}

void TLyricText::ReadFromEdit(std::u16string_view text, bool underscoreAsSpace) {
  Clear();
  bool afterBlank = false;
  while (!text.empty()) {
    const size_t lf = text.find(u'\n');
    const std::u16string_view line = text.substr(0, lf);
    afterBlank = !ParseLine(line, afterBlank, underscoreAsSpace);
    if (lf == std::u16string_view::npos) break;
    text.remove_prefix(lf + 1);
  }
}

void TLyricText::ReadFromStream(TKRVStream& stream, bool underscoreAsSpace, int codePage) {
  Clear();
  std::vector<char> line(kLyricMaxLineBytes + 1);
  bool afterBlank = false;
  for (;;) {
    const int length = stream.ReadLine(line.data(), static_cast<int>(line.size()));
    if (stream.IsError() && length == 0) break;
    size_t kept = std::min<size_t>(static_cast<size_t>(std::max(length, 0)), kLyricMaxLineBytes);
    // A line cut at the limit must not end in part of a character.
    if (length > kLyricMaxLineBytes && codePage == kCodePageUtf8)
      kept = Utf8CompleteLength(std::string_view(line.data(), kept));
    afterBlank = !ParseFileLine(std::string_view(line.data(), kept), afterBlank, underscoreAsSpace,
                                codePage);
    if (stream.IsError()) break;
  }
}

void TLyricText::ReadFromText(std::string_view text, bool underscoreAsSpace, int codePage) {
  Clear();
  bool afterBlank = false;
  while (!text.empty()) {
    const size_t end = text.find_first_of(std::string_view("\n\0", 2));
    std::string line(text.substr(0, end));
    // As the stream's line reader does: a carriage return is dropped wherever it stands.
    std::erase(line, '\r');
    afterBlank = !ParseFileLine(line, afterBlank, underscoreAsSpace, codePage);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

bool TLyricText::ParseFileLine(std::string_view bytes, bool afterBlankLine,
                               bool underscoreAsSpace, int codePage) {
  return ParseLine(MultiByteToUtf16(codePage, bytes), afterBlankLine,
                   underscoreAsSpace);
}

std::string TLyricText::GetFileText(int codePage, size_t syllableMaxBytes) const {
  std::string text;
  for (TLyricSyllableIter it(*this, 0); it.IsValid(); it.Next()) {
    text += FileSeparatorText(it.GetSeparator());
    std::string syllable = Utf16ToMultiByte(codePage, it.GetSyllable());
    if (syllableMaxBytes && syllable.size() > syllableMaxBytes)
      syllable.resize(codePage == kCodePageUtf8 ? Utf8PrefixLength(syllable, syllableMaxBytes)
                                                : syllableMaxBytes);
    std::replace(syllable.begin(), syllable.end(), ' ', '_');
    text += syllable;
  }
  return text;
}

void TLyricText::WriteToStream(TKRVStream& stream, int codePage) const {
  const std::string text = GetFileText(codePage, kLyricMaxLineBytes);
  stream.Write(text.data(), static_cast<int>(text.size()));
  stream.PutByte('\n');
  stream.PutByte(0);
}

std::u16string TLyricText::WriteToEdit() const {
  std::u16string out;
  for (TLyricSyllableIter it(*this, 0); it.IsValid(); it.Next()) {
    const std::u16string_view separator = EditSeparatorText(it.GetSeparator());
    const std::u16string_view syllable = it.GetSyllable();
    // Whole entries only: a cut never falls inside a syllable.
    if (out.size() + separator.size() + syllable.size() > kLyricMaxEditUnits) break;
    out.append(separator);
    AppendEditSyllable(out, syllable);
  }
  out.append(u"\r\n");
  return out;
}

int TLyricText::GetEditOffset(int index) const {
  if (index < 0) return 0;
  size_t offset = 0;
  for (TLyricSyllableIter it(*this, 0); it.IsValid(); it.Next()) {
    const size_t separator = std::u16string_view(EditSeparatorText(it.GetSeparator())).size();
    const size_t syllable = it.GetSyllable().size();
    if (offset + separator + syllable > kLyricMaxEditUnits) break;
    offset += separator;
    if (it.GetIndex() == index) return static_cast<int>(offset);
    offset += syllable;
  }
  return static_cast<int>(offset);
}

bool operator==(const TLyricText& a, const TLyricText& b) {
  return a.used == b.used && std::equal(a.GetBuffer(), a.GetBuffer() + a.used, b.GetBuffer());
}

// --- TLyricSyllableIter ---

void TLyricSyllableIter::Start(const TLyricText& lyric, int target) {
  text = &lyric;
  entry = 1;
  index = 0;
  SeekTo(target);
}

bool TLyricSyllableIter::IsValid() const {
  if (text == nullptr || text->IsEmpty()) return false;
  return entry < text->used && text->buffer[entry] != 0;
}

int TLyricSyllableIter::GetSeparator() const { return IsValid() ? text->buffer[entry] : 0; }

std::u16string_view TLyricSyllableIter::GetSyllable() const {
  if (!IsValid()) return {};
  const char16_t* start = text->buffer.data() + entry + 1;
  return std::u16string_view(start);
}

void TLyricSyllableIter::Next() {
  if (!IsValid()) return;
  size_t at = entry + 1;
  while (text->buffer[at] != 0) ++at;
  entry = at + 1;
  ++index;
}

void TLyricSyllableIter::Prev() {
  if (text == nullptr || text->IsEmpty() || entry <= 1) return;
  // The previous entry starts after the 0 that precedes its separator; unit 0 is always 0.
  size_t at = entry - 2;
  while (text->buffer[at] != 0) --at;
  entry = at + 1;
  --index;
}

bool TLyricSyllableIter::SeekTo(int target) {
  while (index < target && IsValid()) {
    Next();
  }
  while (index > target && entry > 1) Prev();
  return index == target && IsValid();
}

}  // namespace kvt
