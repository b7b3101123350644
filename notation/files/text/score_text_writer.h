#pragma once
// The writer of the score text format: the one serialised form of scores, item runs, clips and
// single items (cloning and comparing items use the one-line form).
//
// A record line is a bar, the record name, then fields "|Name:value" in a fixed order. Text
// values are UTF-8 in double quotes with the escapes \] (backslash), \} (bar), \t, \n, \r, \"
// and \'; a bar never stands raw inside a value, so readers may split a line at bars. Numbers
// are written as printf writes them in the "C" locale whatever the process locale is.
//
// Modes: kTextModeScore (0) for scores, ranges and clips omits fields that hold their default;
// kTextModeLone (1), for one item written by itself, also writes the default-valued fields
// that identify the item whole (clef OctaveShift and AutoSys, bar Style, XBarCnt and SysBreak,
// Color, Visibility ...), so the line can be compared and pasted on its own.
//
// Writers do not test the stream between writes: callers test the stream's error flags after
// the whole write (a stream keeps them).

#include <string>
#include <string_view>

namespace kvt {

class TKRVStream;
class TNotatedItem;
class TMusicScore;
class TSimpleNtnIdx;

inline constexpr int kTextModeScore = 0;
inline constexpr int kTextModeLone = 1;

// Writes a whole score (mode 0): the header line, the editor position (when a staff is
// active), song information, page setup, the twelve text fonts, margins, then for each staff
// its AddStaff, two StaffProperties, StaffInstrument and lyric records and one line per item
// between its two boundary bar lines; then the end line. Every line ends in CR LF.
void WriteScoreText(TKRVStream& stream, const TMusicScore& score);

// The record line of an item, without line end.
std::string FormatItemLine(const TNotatedItem& item, int mode);
// Appends the record line of an item (without line end) to `out`.
void AppendItemLine(std::string& out, const TNotatedItem& item, int mode);

// Writes the record line of the item without line end; nothing for a null item.
void WriteItemLine(TKRVStream& stream, const TNotatedItem* item, int mode);
// The same for the item at an index's position.
void WriteItemText(TKRVStream& stream, const TSimpleNtnIdx& index, int mode);

// Appends a text value: quoted and escaped when forceQuotes is set or when the text holds a
// blank, bar, CR, LF, TAB, backslash, double quote or apostrophe; otherwise raw.
void AppendTextValue(std::string& out, std::string_view utf8, bool forceQuotes);
// Appends a UTF-16 text as UTF-8, always quoted.
void AppendWideTextValue(std::string& out, std::u16string_view text);
// The stream forms of the two above.
void WriteTextValue(TKRVStream& stream, std::string_view utf8, bool forceQuotes);
void WriteWideTextValue(TKRVStream& stream, std::u16string_view text);

// The short search text of an item for the find command: an instrument's name, a time
// signature's "%d/%d" (nothing for Common and AllaBreve), a tempo's text, a dynamic's style
// name, a flow direction's two display words, the display text of a tempo variance from
// Accelerando on, of a dynamic variance and of a performance style, a text item's text; nothing
// for other kinds. UTF-8, no line end.
std::string FormatItemFindText(const TNotatedItem& item);
void WriteItemFindText(TKRVStream& stream, const TNotatedItem& item);

}  // namespace kvt
