#pragma once
// Test helper: builds a staff item by item. Every item goes in before the closing bar line,
// so a builder on a new staff makes [Single bar] items... [Section Close bar]. Each adder
// returns the new item for further settings; Last() is its index.

#include <initializer_list>
#include <memory>
#include <utility>

#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/flow_direction.h"
#include "notation/items/key_data.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_note.h"
#include "notation/items/repeat_ending.h"
#include "notation/items/time_signature_data.h"

namespace kvt::test {

class TStaffBuilder {
public:
  explicit TStaffBuilder(TMusicStaff& target) : staff(target) {}

  template <typename Item>
  Item& Add(std::unique_ptr<Item> item) {
    Item& ref = *item;
    last = staff.InsertItem(std::move(item), staff.GetLastIndex());
    return ref;
  }

  TMusicNote& Note(int pos, int duration = kDurQuarter, int flags = 0, int accidental = kAccNone) {
    return Add(std::make_unique<TMusicNote>(pos, duration, flags, accidental));
  }
  TRestNote& Rest(int duration = kDurQuarter) {
    return Add(std::make_unique<TRestNote>(duration, 0));
  }
  TBarLineData& Bar(int style = kBarSingle, int repeat = 1) {
    return Add(std::make_unique<TBarLineData>(style, repeat));
  }
  TSpecialEnding& Ending(std::initializer_list<int> numbers) {
    auto ending = std::make_unique<TSpecialEnding>();
    for (int n : numbers) ending->SetEnding(n, true);
    return Add(std::move(ending));
  }
  TFlowDirection& Flow(int style) { return Add(std::make_unique<TFlowDirection>(style)); }
  // A major key of `count` sharps (positive) or flats (negative).
  TKeyData& Key(int count) {
    int sharps = 0;
    int flats = 0;
    TKeyData::MasksOfCount(count, sharps, flats);
    return Add(std::make_unique<TKeyData>(sharps, flats, TKeyData::MajorTonic(count)));
  }
  TClefData& Clef(int clef) { return Add(std::make_unique<TClefData>(clef)); }
  TTimeSignatureData& TimeSig(int beats, int exponent) {
    return Add(std::make_unique<TTimeSignatureData>(beats, exponent));
  }
  // A multi-bar rest whose bars last `beats` beats of 768 >> exponent ticks.
  TMultiMeasureRest& MultiRest(int bars, int beats = 4, int exponent = 2) {
    auto rest = std::make_unique<TMultiMeasureRest>(bars);
    rest->SetBarTicks(beats, exponent);
    return Add(std::move(rest));
  }

  // Index of the item added last.
  int Last() const { return last; }

private:
  TMusicStaff& staff;
  int last = 0;
};

}  // namespace kvt::test
