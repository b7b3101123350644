#pragma once
// Hairpins: a run of consecutive notes that carry the Crescendo (or Diminuendo) option draws
// one opening (closing) wedge from the run's first note to its last, at staff position 9 or at
// the height of the dynamic that precedes the run.

namespace kvt {

class TScoreDrawInfo;

// Draws the hairpin of the run that holds the note at draw position pos (drawn at x) of staff
// `slot`; answers the item index of the run's last note (the notes up to it start no further
// hairpin), or -1 when the note carries no hairpin option.
int DrawHairpin(TScoreDrawInfo& score, int slot, int pos, int x);

}  // namespace kvt
