#include "bench_score.h"

#include <memory>
#include <string>

#include "notation/context/staff_context_state.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/key_data.h"
#include "notation/items/lyric_text.h"
#include "notation/items/music_note.h"
#include "notation/items/tempo_data.h"
#include "notation/items/time_signature_data.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_lyrics.h"

namespace kvt {

namespace {

template <typename Item>
Item& Append(TMusicStaff& staff, std::unique_ptr<Item> item) {
  Item& ref = *item;
  staff.InsertItem(std::move(item), staff.GetLastIndex());
  return ref;
}

TMusicNote& Note(TMusicStaff& staff, int pos, int duration, int flags = 0) {
  return Append(staff, std::make_unique<TMusicNote>(pos, duration, flags, kAccNone));
}

void Chord(TMusicStaff& staff, std::initializer_list<int> positions, int duration) {
  auto chord = std::make_unique<TChordData>();
  bool first = true;
  for (int pos : positions) {
    auto note = std::make_unique<TMusicNote>(pos, duration, 0, kAccNone);
    if (first) {
      chord = std::make_unique<TChordData>(std::move(note));
      first = false;
    } else {
      chord->AddNote(note);
    }
  }
  Append(staff, std::move(chord));
}

// One bar of the staff's part; `beats` quarters long.
void Bar(TMusicStaff& staff, int part, int bar, int beats, int& syllables) {
  const int base = bar % 5 - 2;
  switch (part) {
    case 0: {  // melody with lyrics and a triplet
      for (int b = 0; b + 1 < beats; ++b) {
        Note(staff, base - b, kDurQuarter);
        ++syllables;
      }
      for (int t = 0; t < 3; ++t) {
        TMusicNote& note = Note(staff, base + t, kDurEighth);
        note.SetTripletState(t == 0 ? kGroupFirst : t == 2 ? kGroupEnd : kGroupMiddle);
        ++syllables;
      }
      break;
    }
    case 1: {  // melody tied over the bar line
      for (int b = 0; b + 2 < beats; ++b) Note(staff, base, kDurQuarter);
      Note(staff, base + 1, kDurHalf, kMaskTieOut);
      break;
    }
    case 2:  // two-note chords
      for (int b = 0; b < beats; ++b) Chord(staff, {base, base - 2}, kDurQuarter);
      break;
    default:  // bass chords
      Chord(staff, {base, base - 2, base - 4}, kDurHalf);
      for (int b = 2; b < beats; ++b) Chord(staff, {base + 1, base - 1, base - 3}, kDurQuarter);
      break;
  }
}

}  // namespace

std::unique_ptr<TMusicScore> MakeBenchScore(int staves, int bars) {
  auto score = std::make_unique<TMusicScore>();
  for (int s = 0; s < staves; ++s) {
    auto owned = std::make_unique<TMusicStaff>();
    TMusicStaff& staff = *owned;
    const int part = s % 4;
    Append(staff, std::make_unique<TClefData>(part == 3 ? kClefBass : kClefTreble));
    Append(staff, std::make_unique<TKeyData>(0, 0));
    Append(staff, std::make_unique<TTimeSignatureData>(4, 2));
    if (s == 0) Append(staff, std::make_unique<TTempoData>(96, kTempoQuarter));
    int syllables = 0;
    for (int b = 0; b < bars; ++b) {
      if (b == bars / 2) {
        int sharps = 0, flats = 0;
        TKeyData::MasksOfCount(-3, sharps, flats);
        Append(staff, std::make_unique<TKeyData>(sharps, flats, TKeyData::MajorTonic(-3)));
        if (s == 0) Append(staff, std::make_unique<TTempoData>(120, kTempoQuarter));
      }
      if (b == bars * 3 / 4) Append(staff, std::make_unique<TTimeSignatureData>(3, 2));
      Bar(staff, part, b, b >= bars * 3 / 4 ? 3 : 4, syllables);
      if (b + 1 < bars) Append(staff, std::make_unique<TBarLineData>(kBarSingle));
    }
    if (part == 0) {
      auto line = std::make_unique<TLyricText>();
      static const char16_t* const kWords[] = {u"la", u"li", u"lo", u"lu"};
      for (int i = 0; i < syllables; ++i)
        line->AddSyllable(i == 0 ? 1 : (i % 3 == 0 ? 32 : 45), kWords[i % 4], false);
      staff.MakeLyrics().Add(std::move(line));
    }
    score->AddStaff(std::move(owned));
  }
  return score;
}

}  // namespace kvt
