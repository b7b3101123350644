#pragma once
// TMidiEntryDecoder: turns the short messages of a MIDI keyboard into note-entry actions for
// the editor. Note on (velocity above 0) adds the key to the held set; the release (note off,
// or note on with velocity 0) of a held key hands the whole held set over, lowest key first,
// and empties the set, so a chord goes in when its first key is released. Control change 64
// sets (value 64 or more) or clears the tie; controllers 1, 4, 5 and 6 set the duration
// (value / 20) while no key is held, and the dots while keys are held (none up to 35, a dot
// 36..71, a double dot 72..107, nothing above). A program change asks for an instrument change
// with the stored patch value + 1.
//
// Messages come from outside: data bytes are masked to 7 bits; running-status bytes,
// system messages (exclusive, common, real time), releases of keys not held and every other
// message give no action. Not thread-safe: one decoder on the UI thread.

#include <cstdint>
#include <set>
#include <vector>

namespace kvt {

enum class TMidiEntryKind {
  kNone,
  kEnterKeys,      // keys: the held keys, ascending
  kSetDuration,    // value: duration code 0..6
  kSetDots,        // value: 0 none, 1 dot, 2 double dot
  kSetTie,         // value: 1 tie, 0 no tie
  kProgramChange,  // value: patch + 1, 1..128
};

struct TMidiEntryAction {
  TMidiEntryKind kind = TMidiEntryKind::kNone;
  int value = 0;
  std::vector<int> keys;
};

class TMidiEntryDecoder {
public:
  // The action of one message as the sequencer hands it over: status in bits 0-7, the data
  // bytes in bits 8-15 and 16-23.
  TMidiEntryAction Feed(uint32_t shortMsg);
  // Forgets the held keys.
  void Reset() { held.clear(); }
  bool HasHeldKeys() const { return !held.empty(); }

private:
  std::set<int> held;
};

}  // namespace kvt
