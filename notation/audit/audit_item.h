#pragma once
// The staff audit's step for one item: derives what an item shows or plays from its neighbours
// and from the running context of the audit index standing on it (the context after the items
// before it). The spans come from staff_audit.h.
//
// By the kind of the item:
// - Key: the clef in force and the key in force before it (what the key cancels when drawn).
// - Bar line: NotABar is set unless a note, rest, chord, rest chord or multi-bar rest follows
//   before the next bar line.
// - Tempo: ends the ramp of a gradual tempo variance that stands after the last tempo: the
//   variance ramps from that tempo (120 quarters a minute, the tempo play starts with, when
//   there is none) to this one over the ticks from the variance to this tempo.
// - Dynamic: without an explicit velocity, the velocity of its level from the instrument in
//   force (the last instrument change, else the staff's).
// - Tempo variance: the ramp length becomes 0 (a later tempo sets it again).
// - Multi-bar rest: the bar length of the time signature in force.
// - Song notes: stems of split voices, ties and their accidentals and directions, rests,
//   colours, beam and triplet marks, then the item's own AuditStep (see audit_song_note.cpp).
// - Other kinds (user objects included: their own audit runs before the span) are left alone.
//
// Every look-ahead is bounded by the staff's end.

namespace kvt {

class TAuditNtnIdx;
class TSongNote;

// Quarter notes a minute before any tempo mark: where play starts.
inline constexpr int kAuditDefaultQuarterTempo = 120;

// The step for the item at the index (nothing without an item). The index does not move.
void AuditItem(TAuditNtnIdx& idx);

// The song-note part of AuditItem for the song note at the index.
void AuditSongNote(TAuditNtnIdx& idx, TSongNote& note);

// Whether the beam (kind 0) or triplet (kind 1) group that the song note at the index opens
// (its state of that kind is First) is sound: an automatic-stem beam is first beamed again
// over its run, which gives its notes one stem direction; then the group's notes up to its End
// must stand without a key, bar line, ending, time signature or flow mark between them, beams
// must hold notes with flags sharing the first note's stem setting, and a triplet's notes must
// add up to whole units of 12 ticks. May change the group's stems and states (re-beaming).
bool PassesGroupCheck(TAuditNtnIdx& idx, int kind);

}  // namespace kvt
