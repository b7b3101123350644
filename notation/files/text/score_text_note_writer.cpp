// Record lines of the song notes: notes, rests, chords and rest chords, with their durations,
// note positions and options.

#include "notation/items/chord_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/name_lists.h"
#include "notation/items/rest_chord.h"
#include "notation/files/text/score_text_item_format.h"
#include "notation/files/text/score_text_numbers.h"

namespace kvt {

namespace {

constexpr char kAccidentalLetters[] = "#bnxv";
constexpr char kHeadLetters[] = "oxXzyYabcdefghijklmnpqrstuvwABCDEFGHIJKLMNOPQRSTUVW";
constexpr int kHeadLetterCount = sizeof kHeadLetters - 1;

// The flag words of a duration value after the dots, triplet and grace, in writing order.
struct TFlagWord {
  int bit;
  const char* word;
};
constexpr TFlagWord kArticulationWords[] = {
    {kFlagStaccatissimo, "Staccatissimo"}, {kFlagStaccato, "Staccato"}, {kFlagTenuto, "Tenuto"},
    {kFlagSlur, "Slur"},                   {kFlagAccent, "Accent"},     {kFlagMarcato, "Marcato"},
};

}  // namespace

void TItemLineFormatter::AppendDuration(const TSongNote& note) {
  AppendName(kNameListDurationsText, note.GetDurationCode());
  if (note.IsDblDotted())
    out += ",DblDotted";
  else if (note.IsDotted())
    out += ",Dotted";
  if (note.IsTriplet()) {
    out += ",Triplet";
    if (note.GetTripletState() != kGroupMiddle || IsLone()) {
      out += '=';
      AppendName(kNameListGroupStates, note.GetTripletState());
    }
  }
  if (note.IsGrace()) out += ",Grace";
  for (const TFlagWord& word : kArticulationWords) {
    if (note.HasNoteFlag(word.bit)) {
      out += ',';
      out += word.word;
    }
  }
}

namespace {

// The accidental a member is written with: its own, or where it has none, that of another
// member at its position: a reader gives it that one (members at one position share an
// accidental), so the line reads back as it was written.
int WrittenAccidental(const TMusicNote& note, const TMusicNote* owner) {
  int accidental = note.GetAccidental();
  if (accidental != kAccNone || !owner) return accidental;
  for (int i = 0; i < owner->GetMemberCount(); ++i) {
    const TMusicNote* other = owner->GetMember(i);
    if (other && other != &note && other->GetStaffPos() == note.GetStaffPos() &&
        other->GetAccidental() != kAccNone)
      return other->GetAccidental();
  }
  return accidental;
}

}  // namespace

void TItemLineFormatter::AppendPosition(const TMusicNote& note, const TMusicNote* owner) {
  const int accidental = WrittenAccidental(note, owner);
  if (accidental >= 0 && accidental < 5) out += kAccidentalLetters[accidental];
  AppendIntText(out, -note.GetStaffPos());
  const int head = note.GetHeadShape();
  if (head != 0 || IsLone()) out += head < kHeadLetterCount ? kHeadLetters[head] : 'o';
  if (note.IsTieOut()) out += '^';
  if (note.GetNoteColor() != 0) {
    out += '!';
    AppendIntText(out, note.GetNoteColor());
  }
}

// The positions of a note's members, comma-separated: every member, or with allMembers false
// those whose stem setting is (stemDir >= 0) or is not (stemDir < 0, given as ~setting) the
// given one.
void TItemLineFormatter::AppendPositions(const TMusicNote& note, bool allMembers, int stemDir) {
  bool any = false;
  for (int i = 0; i < note.GetMemberCount(); ++i) {
    const TMusicNote* member = note.GetMember(i);
    if (!member) continue;
    if (!allMembers) {
      const bool same = member->GetStemSetting() == (stemDir >= 0 ? stemDir : ~stemDir);
      if (same != (stemDir >= 0)) continue;
    }
    if (any) out += ',';
    AppendPosition(*member, &note);
    any = true;
  }
}

void TItemLineFormatter::OptionStart() {
  out += optionsOpen ? "," : "|Opts:";
  optionsOpen = true;
}

void TItemLineFormatter::AppendSongNoteOptions(const TSongNote& item, const TMusicNote* notes,
                                              const TRestNote* rest) {
  optionsOpen = false;
  auto word = [&](const char* name) {
    OptionStart();
    out += name;
  };
  auto named = [&](const char* name, int list, int value) {
    OptionStart();
    out += name;
    out += '=';
    AppendName(list, value);
  };
  auto number = [&](const char* name, int value) {
    OptionStart();
    out += name;
    out += '=';
    AppendIntText(out, value);
  };

  if (item.GetStemSetting() == kStemUp) {
    OptionStart();
    out += "Stem=Up";
  } else if (item.GetStemSetting() == kStemDown) {
    OptionStart();
    out += "Stem=Down";
  }
  if (item.HasNoteFlag(kFlagCrescendo)) word("Crescendo");
  if (item.HasNoteFlag(kFlagDiminuendo)) word("Diminuendo");
  if (item.GetSlurDirection() != kCurveDefault)
    named("Slur", kNameListSlurDirections, item.GetSlurDirection());
  if (item.GetLyric() != kLyricDefault) named("Lyric", kNameListLyricOptions, item.GetLyric());

  if (notes) {
    if (notes->HasStemLength()) number("StemLength", notes->GetStemLength());
    if (notes->IsBeamed()) {
      word("Beam");
      if (notes->GetBeamState() != kGroupMiddle || IsLone()) {
        out += '=';
        AppendName(kNameListGroupStates, notes->GetBeamState());
      }
    }
    if (notes->GetXAccSpace() != 0) number("XAccSpace", notes->GetXAccSpace());
    if (notes->GetXNoteSpace() != 0) number("XNoteSpace", notes->GetXNoteSpace());
    if (notes->GetNoLegerLines()) word("NoLegerLines");
    if (notes->GetArticulationsOnStem()) word("ArticulationsOnStem");
    if (notes->GetTieDirection() != kCurveDefault)
      named("Tie", kNameListSlurDirections, notes->GetTieDirection());
    if (notes->IsMuted()) word("Muted");
  }
  if (rest) {
    if (rest->IsRestHidden())
      word("HideRest");
    else if (rest->GetVertOffset() != 0)
      number("VertOffset", -rest->GetVertOffset());
  }
}

void TItemLineFormatter::AppendNote(const TMusicNote& note) {
  FieldStart("Dur");
  AppendDuration(note);
  FieldStart("Pos");
  AppendPosition(note);
  AppendSongNoteOptions(note, &note, nullptr);
}

void TItemLineFormatter::AppendChord(const TMusicNote& chord) {
  const bool split = chord.HasSplitStem();
  FieldStart("Dur");
  AppendDuration(chord);
  FieldStart("Pos");
  AppendPositions(chord, !split, chord.GetStemSetting());
  AppendSongNoteOptions(chord, &chord, nullptr);
  if (!split) return;
  const TMusicNote* second = nullptr;
  if (chord.GetType() == kItemChord)
    second = ItemRef<TChordData>(chord).GetSecondDurationNote();
  if (!second) return;
  FieldStart("Dur2");
  AppendDuration(*second);
  FieldStart("Pos2");
  AppendPositions(chord, false, ~chord.GetStemSetting());
}

void TItemLineFormatter::AppendRest(const TRestNote& rest) {
  FieldStart("Dur");
  AppendDuration(rest);
  AppendSongNoteOptions(rest, nullptr, &rest);
}

void TItemLineFormatter::AppendRestChord(const TRestNote& restChord) {
  const TMusicNote* part = nullptr;
  if (restChord.GetType() == kItemRestChord)
    part = ItemRef<TRestChord>(restChord).GetPart();
  FieldStart("Dur");
  AppendDuration(restChord);
  AppendSongNoteOptions(restChord, part, &restChord);
  if (!part) return;
  FieldStart("Dur2");
  AppendDuration(*part);
  FieldStart("Pos2");
  // Every member of a chord part: a part chord may hold a unison on the other stem, which
  // the chord's own stem selection would leave out.
  AppendPositions(*part, true, 0);
}

}  // namespace kvt
