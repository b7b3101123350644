#include "notation/files/older/older_layout_io.h"

#include <vector>

#include "notation/staff/music_fonts_data.h"
#include "notation/staff/music_score.h"
#include "utils/stream.h"
#include "utils/text_encoding.h"

namespace kvt {

int LayoutCodePage(int version, const TMusicFontsData* fonts, int role, int ansiCodePage) {
  if (version >= kFirstUtf8TextVersion) return 65001;
  return TMusicScore::CodePageOfFont(role, fonts, ansiCodePage);
}

int LayoutCodePage(const TScoreFileHeader& header, int role) {
  const TMusicFontsData* fonts = header.score ? &header.score->GetFonts() : nullptr;
  return LayoutCodePage(header.formatVersion, fonts, role, header.codePage);
}

std::u16string ReadLayoutText(TKRVStream& stream, int codePage, int maxUnits) {
  std::vector<char> buffer(kLayoutTextMaxBytes + 1);
  stream.ReadString(buffer.data(), static_cast<int>(buffer.size()));
  std::string_view bytes(buffer.data());
  // A cut at the byte limit may have split a UTF-8 sequence: drop the piece.
  if (codePage == 65001) bytes = bytes.substr(0, Utf8CompleteLength(bytes));
  std::u16string text = MultiByteToUtf16(codePage, bytes);
  if (maxUnits >= 0) text.resize(Utf16PrefixLength(text, static_cast<size_t>(maxUnits)));
  return text;
}

void WriteLayoutText(TKRVStream& stream, int codePage, std::u16string_view text) {
  std::string bytes = Utf16ToMultiByte(codePage, text);
  // A zero unit would end the text early on reading; nothing after it belongs to it.
  stream.WriteString(bytes.c_str());
}

int CheckedValue(TScoreFileHeader& header, int value, int lo, int hi, int fallback) {
  if (value >= lo && value <= hi) return value;
  NoteLayoutFault(header);
  return fallback;
}

int ClampedValue(TScoreFileHeader& header, int value, int lo, int hi) {
  if (value < lo) {
    NoteLayoutFault(header);
    return lo;
  }
  if (value > hi) {
    NoteLayoutFault(header);
    return hi;
  }
  return value;
}

}  // namespace kvt
