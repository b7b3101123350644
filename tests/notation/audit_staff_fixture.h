#pragma once
// Test support for the staff audit: a staff built in code, item by item before its closing bar
// line, with the kinds the audit derives state for.

#include <memory>
#include <string>
#include <utility>

#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_note.h"
#include "notation/items/song_note.h"
#include "notation/audit/staff_audit.h"

namespace kvt::test {

class TAuditStaff {
public:
  // Appends before the closing bar line; the staff owns the item.
  template <class T, class... Args>
  T* Add(Args&&... args) {
    auto item = std::make_unique<T>(std::forward<Args>(args)...);
    T* raw = item.get();
    staff.InsertItem(std::move(item), staff.GetLastIndex());
    return raw;
  }
  TMusicNote* Note(int pos, int duration = kDurQuarter, int flags = 0, int accidental = kAccNone) {
    return Add<TMusicNote>(pos, duration, flags, accidental);
  }
  TRestNote* Rest(int duration = kDurQuarter, int flags = 0) {
    return Add<TRestNote>(duration, flags);
  }
  TBarLineData* Bar(int style = kBarSingle) { return Add<TBarLineData>(style); }
  // A chord of plain notes at the positions (all of one duration).
  TChordData* Chord(std::initializer_list<int> positions, int duration = kDurQuarter,
                    int flags = 0) {
    TChordData* chord = Add<TChordData>();
    for (int pos : positions) {
      auto note = std::make_unique<TMusicNote>(pos, duration, flags, kAccNone);
      chord->AddNote(note);
    }
    return chord;
  }
  // Index of the item (-1 when absent).
  int IndexOf(const TNotatedItem* item) const {
    for (int i = 0; i <= staff.GetLastIndex(); ++i)
      if (staff.GetItem(i) == item) return i;
    return -1;
  }
  // The whole staff, as loading does.
  void AuditAll() { AuditStaffRange(staff); }

  TMusicStaff staff;
};

// Beam or triplet states of song notes as letters: '-' None, 'F' First, 'M' Middle, 'E' End.
inline char GroupLetter(int state) { return "-FME"[state & 3]; }

}  // namespace kvt::test
