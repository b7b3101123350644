#pragma once
// Conventions shared by the readers and writers of the older binary score layout (format
// versions below 35 in files; version 36 for in-memory property copies; version 16 for the
// 1.75 export).
//
// - Integers are little-endian, 16-bit unless said otherwise.
// - A text is a zero-terminated byte string: UTF-8 from version 33 on; before, in the code page
//   of the character set of the score font that shows it (the header's code page standing for
//   the ANSI code page). Texts are converted to UTF-16 and cut to their field's size.
// - Readers never trust a value: one outside its range is bounded or replaced by its default
//   and counted in the header's dataFaults, so the load reports the corrupt status.

#include <cstdint>
#include <string>
#include <string_view>

#include "notation/files/binary/score_file_header.h"
#include "utils/stream.h"

namespace kvt {

class TMusicFontsData;

inline constexpr int kOlderLayoutCopyVersion = 36;
inline constexpr int kExportFormatVersion = 16;
inline constexpr int kExportWriterVersion = 0x014B;  // 1.75
inline constexpr int kFirstUtf8TextVersion = 33;
// Bytes kept of one text; longer texts are consumed and cut.
inline constexpr int kLayoutTextMaxBytes = 4096;

// Score font roles that choose a text's code page (the text expression's font numbering).
enum TLayoutFontRole : int {
  kRoleStaffSymbols = 0,
  kRoleStaffBold = 3,
  kRoleStaffLyric = 4,
  kRolePageTitleText = 5,
  kRolePageText = 6,
  kRolePageSmallText = 7,
};

// The code page of texts shown in font `role` at `version`: UTF-8 from version 33 on, else by
// the font's character set (TMusicScore::CodePageOfFont) with `ansiCodePage` as fallback.
// `fonts` may be null.
int LayoutCodePage(int version, const TMusicFontsData* fonts, int role, int ansiCodePage);
// The same for a reader: the header's version and code page and the fonts of its score.
int LayoutCodePage(const TScoreFileHeader& header, int role);

// Reads one text (up to kLayoutTextMaxBytes bytes kept, the rest consumed), converts it from
// the code page and cuts it to maxUnits UTF-16 units on a character boundary.
std::u16string ReadLayoutText(TKRVStream& stream, int codePage, int maxUnits);
// Writes the text converted to the code page, with its terminator.
void WriteLayoutText(TKRVStream& stream, int codePage, std::u16string_view text);

// Counts one value found out of range.
inline void NoteLayoutFault(TScoreFileHeader& header) { ++header.dataFaults; }
// value when it lies in lo..hi; otherwise `fallback`, counting a fault.
int CheckedValue(TScoreFileHeader& header, int value, int lo, int hi, int fallback);
// value limited to lo..hi, counting a fault when it had to be limited.
int ClampedValue(TScoreFileHeader& header, int value, int lo, int hi);

// A signed 16-bit field.
inline int ReadSigned16(TKRVStream& stream) { return static_cast<int16_t>(stream.ReadShort()); }

}  // namespace kvt
