#pragma once
// TLyricText: one lyric line of a staff, a sequence of syllables held in one UTF-16 buffer.
//
// From unit 1 the buffer holds one entry per syllable: a separator unit, the syllable's
// characters, a 0 unit; the unit after the last entry is 0 (unit 0 is never an entry). The
// separator tells how the syllable joins the one before it:
//
//   code  meaning                         file text        edit-control text
//   1     first syllable of the text      nothing          nothing
//   32    new word                        " "              " "
//   45    next syllable of the word       "-"              "-"
//   13    new line                        line feed        CR LF
//   10    new line after a blank line     two line feeds   two CR LF
//
// A syllable never holds a blank, except a space typed as "_" while underscores are spaces;
// such spaces are shown and written back as "_".
//
// The buffer grows to fit whatever is added, however long; text is never cut inside a
// surrogate pair or a multi-byte character. The edit-control forms are plain texts: the
// editor moves them into and out of its control.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kvt {

class TKRVStream;

enum TLyricSeparator : char16_t {
  kLyricFirst = 1,
  kLyricNewVerse = 10,
  kLyricNewLine = 13,
  kLyricWord = 32,
  kLyricHyphen = 45,
};

// Longest line read from a stream, and longest syllable written to one, in bytes.
inline constexpr int kLyricMaxLineBytes = 32000;
// Longest edit-control text, in UTF-16 units (without the closing line end).
inline constexpr int kLyricMaxEditUnits = 60000;

class TLyricText {
public:
  TLyricText() = default;

  // Frees the buffer: no syllables, Used 1.
  void Clear();
  bool IsEmpty() const { return used <= 1; }
  int GetSyllableCount() const;

  // The entry buffer: a shared empty entry while the text is empty. Valid until the next
  // change of the text.
  const char16_t* GetBuffer() const;
  size_t GetCapacity() const { return buffer.size(); }
  size_t GetUsed() const { return used; }

  // Appends one entry. The first entry's separator is always 1; a later entry given 0 or 1
  // (which would end or restart the text) becomes a word start (32). The syllable ends at its
  // first 0 unit; with underscoreAsSpace every "_" becomes a space. The buffer grows by 8192
  // units, or by more when the syllable needs it.
  void AddSyllable(int separator, std::u16string_view text, bool underscoreAsSpace);

  // Splits one typed line into syllables and appends them; false for a blank line (nothing
  // added). The line's first syllable gets separator 10 after a blank line, else 13.
  bool ParseLine(std::u16string_view line, bool afterBlankLine, bool underscoreAsSpace);

  // Clears, then parses the text line by line (lines end at line feeds).
  void ReadFromEdit(std::u16string_view text, bool underscoreAsSpace);
  // Clears, then parses lines of at most 32000 bytes (longer lines are cut on a character
  // boundary) read from the stream and converted from the code page, until its end.
  void ReadFromStream(TKRVStream& stream, bool underscoreAsSpace, int codePage);
  // Clears, then parses the lines of a text held whole (lines end at line feeds, a closing one
  // or not), converted from the code page. No line is cut: a text score keeps its lyric lines
  // whole, however long.
  void ReadFromText(std::string_view text, bool underscoreAsSpace, int codePage);
  // Each separator's file text and the syllable in the code page, spaces as "_"; a syllable is
  // cut on a character boundary at syllableMaxBytes unless that is 0.
  std::string GetFileText(int codePage, size_t syllableMaxBytes = 0) const;
  // The file text with syllables of at most 32000 bytes, then a line feed and a zero byte.
  void WriteToStream(TKRVStream& stream, int codePage) const;
  // The edit-control text, ending in CR LF; the entries that would take it past 60000 units
  // are left out.
  std::u16string WriteToEdit() const;
  // UTF-16 units of the edit-control text before the characters of syllable `index` (0 for
  // a negative index; the text's length without its closing line end past the last one).
  int GetEditOffset(int index) const;

  friend bool operator==(const TLyricText& a, const TLyricText& b);

private:
  friend class TLyricSyllableIter;

  // Parses one file line (no line end) converted from the code page; as ParseLine.
  bool ParseFileLine(std::string_view bytes, bool afterBlankLine, bool underscoreAsSpace,
                     int codePage);

  std::vector<char16_t> buffer;  // empty while the text is empty
  size_t used = 1;
};

// A cursor over the entries of a TLyricText. The text must outlive the cursor; a cursor stays
// usable across additions to the text (it keeps a position, not a pointer).
class TLyricSyllableIter {
public:
  TLyricSyllableIter() = default;
  // Start(text, index).
  TLyricSyllableIter(const TLyricText& text, int index) { Start(text, index); }

  // On the first entry, then SeekTo(index).
  void Start(const TLyricText& text, int index);
  // Steps forward or back, stopping at either end; true when Index reached `index`.
  bool SeekTo(int index);
  // Past the current entry (stays at the end).
  void Next();
  // To the previous entry (stays on the first).
  void Prev();
  // On an entry (neither an empty text nor the end).
  bool IsValid() const;

  int GetIndex() const { return index; }
  // The current entry's separator; 0 when not valid.
  int GetSeparator() const;
  // The current syllable's characters (empty when not valid).
  std::u16string_view GetSyllable() const;
  // Position of the current entry's separator unit in the buffer.
  size_t GetEntryPos() const { return entry; }

private:
  const TLyricText* text = nullptr;
  size_t entry = 1;
  int index = 0;
};

}  // namespace kvt
