#pragma once
// Hand-built bodies of the older binary score layout for tests: the score part, staves and a
// few item records, field by field as the layout's tables give them for a format version. They
// are written independently of the writers under test.

#include <cstdint>
#include <string>
#include <vector>

#include "tests/notation/layout_bytes.h"

namespace kvt::test {

struct TOlderScorePart {
  std::string title = "Song";
  std::string author = "Author";
  std::string lyricist = "Lyricist";
  std::string copyright1 = "C1";
  std::string copyright2 = "C2";
  std::string comments = "Notes";
  std::string letters = "YY";
  int barNumbers = 1;
  int startingBar = 3;
  std::string margins = "0.5 0.75 1 1.25";
  int mirror = 1;
  int zoom = 10;
  uint32_t visibleBits = 0xFFFFFFFF;  // the first 32 staves
  int allowLayering = 1;
  int staffSize = 20;
  std::string musicFace = "";
  int fontCount = -1;  // -1: as the version has them
  int titlePage = 1;
  int staffLabels = 2;
  int pageNumbers = 1;
  int justify = 1;
  int separator = 0;
};

inline void AppendScorePart(TLayoutBytes& b, int v, const TOlderScorePart& p) {
  b.Str(p.title).Str(p.author);
  if (v > 16) b.Str(p.lyricist);
  b.Str(p.copyright1).Str(p.copyright2).Str(p.comments).Str(p.letters).Str("F2");
  if (v > 3) b.U16(p.barNumbers).U16(p.startingBar);
  if (v > 5) b.Str(p.margins).U8(p.mirror).U16(p.zoom);
  if (v > 7) b.U32(p.visibleBits).Zeros(28).U8(p.allowLayering);
  if (v > 5) {
    if (v < 7) {
      b.U16(10);
    } else {
      if (v > 23) b.Str(p.musicFace);
      if (v < 36) b.U16(p.staffSize); else b.U32(static_cast<uint32_t>(p.staffSize * 100));
      const int count = p.fontCount >= 0 ? p.fontCount : (v < 15 ? 10 : 12);
      for (int i = 0; i < count; ++i) {
        b.Str("Face" + std::to_string(i)).U8(i % 4);
        if (v < 36) b.U16(10 + i); else b.U32(static_cast<uint32_t>((10 + i) * 100));
        b.U8(0);
      }
    }
    b.U8(p.titlePage).U8(p.staffLabels).U16(p.pageNumbers);
  }
  if (v > 22) b.U8(p.justify);
  if (v > 30) b.U8(p.separator);
  if (v > 25) b.U16(0).U32(5).U32(0xFFFFFFFF).U16(2);
}

struct TOlderStaffFields {
  std::string name = "Piano";
  std::string label = "Pno";
  std::string abbr = "P";
  std::string instrumentName = "Grand";
  std::string group = "Keys";
  int endingBar = 3;
  int muted = 0;
  int channel = 2;
  int device = 1;
  int patch = 5;
  int bank = 130;
  int transposition = -2;
  int connections = 0;  // or the legacy style below version 28
  int top = -14;
  int bottom = 10;
  int lines = 5;
  int layering = 0;
  int instrumentFlags = 1;
  int volume = 100;
  int pan = 40;
  int color = 2;
  int hasLyrics = 0;
};

// The staff fields up to the lyrics flag (included).
inline void AppendStaffFields(TLayoutBytes& b, int v, const TOlderStaffFields& f) {
  b.Str(f.name);
  if (v > 18) b.Str(f.label);
  if (v > 28) b.Str(f.abbr);
  if (v > 18) b.Str(f.instrumentName);
  b.Str(f.group);
  if (v > 8) b.U8(f.endingBar);
  b.U16(f.muted).U16(f.channel).U16(f.device).U16(f.patch).U16(f.bank).U16(f.transposition);
  if (v > 18) b.U8(11).U8(22).U8(33).U8(44).U8(55).U8(66).U8(77).U8(88);
  if (v > 34) b.U8(255);
  b.U16(f.connections).U16(f.top).U16(f.bottom);
  if (v > 15) b.U8(f.lines);
  if (v > 7) b.U16(f.layering);
  b.U16(f.instrumentFlags).U16(f.volume).U16(f.pan);
  if (v > 9) b.U8(f.color);
  if (v > 3) b.U16(f.hasLyrics);
}

// The reserved values, the item count (the enclosing bar lines included) and the records.
inline void AppendStaffItems(TLayoutBytes& b, int count, const std::vector<std::string>& records) {
  b.U16(0).U16(0).U16(count);
  for (const std::string& record : records) b.Raw(record);
}

// A bar line record of version 10 or later with a raw style value.
inline std::string BarRecord(int value, int common = 0) {
  return TLayoutBytes().U16(2).U8(common).U16(value).Bytes();
}

// A note record of versions 10 to 28: common byte, value 1, value 2, flags and note word.
inline std::string NoteRecord(int duration, int staffPos, int flags = 0, int value2 = 0,
                              int common = 0, int accidental = 5) {
  return TLayoutBytes()
      .U16(8)
      .U8(common)
      .U16(duration)
      .U16(value2)
      .U16(flags)
      .U16((staffPos & 0xFF) | accidental << 8)
      .Bytes();
}

// A whole older body: score part, one staff with the given records.
inline std::string OneStaffBody(int v, const std::vector<std::string>& records,
                                const TOlderStaffFields& fields = {}, const TOlderScorePart& part = {}) {
  TLayoutBytes b;
  AppendScorePart(b, v, part);
  b.U16(1);
  AppendStaffFields(b, v, fields);
  AppendStaffItems(b, static_cast<int>(records.size()) + 2, records);
  return b.Bytes();
}

}  // namespace kvt::test
