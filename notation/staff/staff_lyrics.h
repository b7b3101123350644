#pragma once
// TStaffLyrics: a staff's lyric lines (at most MaxStaffLyrics) with their placement settings.
// It owns its lines; RemoveAt hands a line back to the caller.

#include <cstdint>
#include <memory>
#include <vector>

#include "notation/items/lyric_text.h"

namespace kvt {

enum TLyricPlacement : int { kLyricsBottom = 0, kLyricsTop = 1 };
enum TLyricAlign : int { kLyricsAlignNoteStart = 0, kLyricsAlignStandard = 1 };

class TStaffLyrics {
public:
  static constexpr int MaxStaffLyrics = 8;

  // No lines, placement "Bottom", offset 0, align "Start of Accidental/Note", underscores
  // as spaces.
  TStaffLyrics();
  TStaffLyrics(const TStaffLyrics&) = delete;
  TStaffLyrics& operator=(const TStaffLyrics&) = delete;
  virtual ~TStaffLyrics();

  int GetCount() const { return static_cast<int>(lines.size()); }
  int GetLastIndex() const { return GetCount() - 1; }
  // Null outside 0..GetLastIndex().
  TLyricText* GetLine(int i);
  const TLyricText* GetLine(int i) const;

  // Precondition "GetLastIndex() < (MaxStaffLyrics-1)"; line not null.
  void Add(std::unique_ptr<TLyricText> line);
  // As Add; index clamped to 0..GetCount().
  void InsertAt(std::unique_ptr<TLyricText> line, int index);
  // Preconditions "atIndex >= 0" and "atIndex <= GetLastIndex()". The line is not deleted.
  std::unique_ptr<TLyricText> RemoveAt(int atIndex);

  // "Placement": 0 "Bottom", 1 "Top".
  int GetPlacement() const { return placement; }
  void SetPlacement(int value) { placement = value; }
  // "Offset" of the lyric lines, read by layout.
  int GetOffset() const { return offset; }
  void SetOffset(int value) { offset = value; }
  // "Align": 0 "Start of Accidental/Note", 1 "Standard Rules".
  int GetAlign() const { return align; }
  void SetAlign(int value) { align = value; }
  // "UnderscoreAsSpace": "_" typed in a syllable is a space inside it.
  bool GetUnderscoreAsSpace() const { return underscoreAsSpace != 0; }
  void SetUnderscoreAsSpace(bool value) { underscoreAsSpace = value ? 1 : 0; }

private:
  std::vector<std::unique_ptr<TLyricText>> lines;
  int32_t placement = kLyricsBottom;
  int32_t offset = 0;
  int32_t align = kLyricsAlignNoteStart;
  int32_t underscoreAsSpace = 1;
};

}  // namespace kvt
