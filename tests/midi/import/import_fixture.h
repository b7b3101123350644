#pragma once
// Test support for the MIDI import: import data built event by event, and the items of a
// converted staff.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "midi/events/midi_msg.h"
#include "midi/import/import_convert.h"
#include "midi/import/import_data.h"
#include "notation/items/music_note.h"
#include "notation/items/notated_item.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"

namespace kvt::test {

class ImportFixture : public testing::Test {
protected:
  // Tracks 0..n-1, empty.
  void Tracks(int n) { data.Reset(n); }
  void Note(int track, int channel, int pitch, uint32_t start, uint32_t end, int velocity = 90) {
    Events(track).AddEvent(start, TMidiMsg::Channel(kMidiNoteOn, 0, channel, pitch, velocity));
    Events(track).AddEvent(end, TMidiMsg::Channel(kMidiNoteOff, 0, channel, pitch, 0));
  }
  void Add(int track, uint32_t time, TMidiMsg msg) { Events(track).AddEvent(time, msg); }
  TMidiFileBuf& Events(int track) { return data.GetTrack(track)->GetEvents(); }

  // Scans with the data's options and converts; the score stays in `score`.
  TMusicScore& Convert(int lyricMode = 1) {
    ScanImportInstructions(data, data.GetOptions().extractChannels != 0,
                           data.GetOptions().maxChordSize);
    return ConvertInstructions(lyricMode);
  }
  TMusicScore& ConvertInstructions(int lyricMode = 1) {
    bool cancelled = true;
    score = ConvertImportToScore(data, lyricMode, TServices(), nullptr, &cancelled);
    EXPECT_FALSE(cancelled);
    return *score;
  }

  static std::vector<TNotatedItem*> OfType(const TMusicStaff& staff, TNotatedItemType type) {
    std::vector<TNotatedItem*> found;
    for (int i = 0; i <= staff.GetLastIndex(); ++i)
      if (staff.GetItem(i)->GetType() == type) found.push_back(staff.GetItem(i));
    return found;
  }
  // Notes and chords in order.
  static std::vector<TMusicNote*> Notes(const TMusicStaff& staff) {
    std::vector<TMusicNote*> found;
    for (int i = 0; i <= staff.GetLastIndex(); ++i) {
      const int type = staff.GetItem(i)->GetType();
      if (type == kItemNote || type == kItemChord)
        found.push_back(static_cast<TMusicNote*>(staff.GetItem(i)));
    }
    return found;
  }
  // The tick time at which item i starts.
  static int32_t TimeOf(const TMusicStaff& staff, const TNotatedItem* item) {
    for (int i = 0; i <= staff.GetLastIndex(); ++i)
      if (staff.GetItem(i) == item) return staff.GetDurationBetween(i, 0, 0);
    return -1;
  }

  TKVTImportData data;
  std::unique_ptr<TMusicScore> score;
};

}  // namespace kvt::test
