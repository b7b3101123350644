#pragma once
// Reading one item record of the older binary score layout: a 16-bit type code (0 to 23)
// followed by the kind's fields, whose presence and meaning depend on the format version in
// the header (3 to 34). From version 35 on an item record is a zero-terminated score text
// line of at most 8,191 bytes instead (the form in which items are cloned).
//
// The note part shared by notes, rests, chords and rest chords, as this reader takes it
// (bits not named are not read; "vN" gives the first version that carries a field):
//   common byte  (v10) v29 on: bits 0-2 visibility, 4-7 colour; before: bits 0-1 visibility
//                (3 = Never), bits 3-5 colour
//   value 1      bits 0-3 duration code, 4-7 XAccSpace (v9), 8-11 XNoteSpace (v9)
//   value 2      bits 0-1 beam, 2-3 triplet, 4-5 stem setting, 6 SlurDown (v4), 7-8 lyric
//                option (v13), 9-12 head shape (v17), 13 Marcato for bit 5 of the flags and
//                14 Staccatissimo for their staccato (v26), 15 an extra byte follows (v29)
//   flags        bits 0-1 dots and staccato (1 double dotted (v5), 2 staccato, 3 both),
//                2 dotted, 3 TieIn, 4 tied on, 5 accent (or marcato), 6 mark A (v5), 7 mark B
//                (v5), 8 slur (v4), 9 SlurIn (v4), 10 tenuto (v5), 11 crescendo (v18),
//                12 diminuendo (v18), 13 grace (v7), 14 explicit tie direction (v10),
//                15 explicit slur direction (v10)
//   extra byte   bits 0-3 note colour, bit 4 ArticulationsOnStem
//   note word    (notes and chords) bits 0-7 staff position, 8-10 accidental, 11 TieDown,
//                12 muted, 13 no leger lines, 14 stem hidden
//
// Chords hold only notes as members; a rest chord's part is a note or a chord. A member or part
// of another kind is read (so the stream stays in step) and dropped; records nest at most
// kMaxItemNesting deep, deeper data is not taken as a score at all.
//
// Errors: a record that cannot be read (an unknown type code, a user object, which this layout
// cannot hold, nesting too deep, a text line that yields no item) gives null and marks the
// stream failed. A record that was read but whose item had to be dropped gives null and
// leaves the stream as it was. Values out of range are bounded and counted in the header's
// dataFaults.

#include <memory>

#include "notation/files/binary/score_file_header.h"

namespace kvt {

class TKRVStream;
class TNotatedItem;

inline constexpr int kMaxItemNesting = 3;
// Members one chord record may announce; a larger count is damage.
inline constexpr int kMaxChordRecordMembers = 256;

std::unique_ptr<TNotatedItem> ReadItem(TScoreFileHeader& header, TKRVStream& stream);

// The tempo names of version 4 to 10 tempo marks, by index; null outside the list.
const char* GetOlderTempoName(int index);

}  // namespace kvt
