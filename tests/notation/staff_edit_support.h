#pragma once
// Test support for staff ranges and whole-staff edits: a compact text of a staff's items, so a
// table case states the whole staff it expects, and the played pitches of a staff's notes.
//
// Item words, separated by blanks:
//   |  |1 ... |10      bar line (Single, or its style number)
//   N<pos>:<ticks>     note; "~" after it when it ties on, "#" "b" "n" "x" "bb" after the
//                      position for an explicit accidental
//   C<pos>,<pos>...:<ticks>  chord, members from the lowest
//   R:<ticks>          rest;  RC:<ticks>  rest chord
//   T<beats>/<value>   time signature;  K<count> key;  Tempo<n>;  Dyn<level>;  Ped+ / Ped-
//   ?<type>            any other kind

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "notation/items/item_cast.h"
#include "notation/audit/audit_ntn_idx.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/chord_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/flow_direction.h"
#include "notation/items/repeat_ending.h"
#include "notation/items/key_data.h"
#include "notation/items/music_note.h"
#include "notation/staff/music_staff.h"
#include "notation/items/rest_note.h"
#include "notation/items/sustain_pedal.h"
#include "notation/items/tempo_data.h"
#include "notation/items/text_expression.h"
#include "notation/items/time_signature_data.h"

namespace kvt::test {

inline std::string AccidentalText(int code) {
  switch (code) {
    case kAccSharp: return "#";
    case kAccFlat: return "b";
    case kAccNatural: return "n";
    case kAccDoubleSharp: return "x";
    case kAccDoubleFlat: return "bb";
    default: return "";
  }
}

inline std::string DescribeItem(const TNotatedItem& item, bool accidentals = true) {
  auto acc = [accidentals](int code) { return accidentals ? AccidentalText(code) : std::string(); };
  auto ticks = [&] { return ":" + std::to_string(item.GetDuration()); };
  switch (item.GetType()) {
    case kItemBarLine: {
      const int style = ItemRef<TBarLineData>(item).GetStyle();
      return style == kBarSingle ? "|" : "|" + std::to_string(style);
    }
    case kItemNote: {
      const auto& note = ItemRef<TMusicNote>(item);
      return "N" + std::to_string(note.GetStaffPos()) + acc(note.GetAccidental()) +
             ticks() + (note.IsTieOut() ? "~" : "");
    }
    case kItemChord: {
      std::string text = "C";
      for (int m = 0; m < item.GetMemberCount(); ++m) {
        const TMusicNote* member = item.GetMember(m);
        text += (m ? "," : "") + std::to_string(member->GetStaffPos()) +
                acc(member->GetAccidental()) + (member->IsTieOut() ? "~" : "");
      }
      return text + ticks();
    }
    case kItemRest: return "R" + ticks();
    case kItemRestChord: return "RC" + ticks();
    case kItemTimeSig: {
      const auto& sig = ItemRef<TTimeSignatureData>(item);
      return "T" + std::to_string(sig.GetBeats()) + "/" + std::to_string(sig.GetBeatValue());
    }
    case kItemKey: return "K" + std::to_string(ItemRef<TKeyData>(item).GetKeyCount());
    case kItemTempo: return "Tempo" + std::to_string(ItemRef<TTempoData>(item).GetTempo());
    case kItemDynamic:
      return "Dyn" + std::to_string(ItemRef<TDynamicLevelData>(item).GetLevel());
    case kItemSustainPedal:
      return ItemRef<TSustainPedal>(item).IsDown() ? "Ped+" : "Ped-";
    default: return "?" + std::to_string(item.GetType());
  }
}

// Appends items before the closing bar line from a compact layout, words separated by blanks:
//   n<code>[@<pos>][.][g][~][#|b|n]   note of duration code 0-6 (at position 0 unless given),
//                                     dotted, grace, tied, explicit accidental
//   r<code>[.]                        rest
//   |  |<style>                       bar line
//   T<beats>/<value>  K<count>  Tempo<n>  Ped+  Ped-
//   x                                 a text expression
//   E  DC                             an ending (1st), a Da Capo jump
inline void Fill(TMusicStaff& staff, const std::string& layout);

// Every item of the staff, the boundary bar lines included; without `accidentals` the notes'
// explicit accidentals are left out.
inline std::string Describe(const TMusicStaff& staff, bool accidentals = true) {
  std::string text;
  for (int i = 0; i <= staff.GetLastIndex(); ++i) {
    if (i) text += ' ';
    text += DescribeItem(*staff.GetItem(i), accidentals);
  }
  return text;
}

// The played pitch of every member of every item with notes, in staff order, under the
// running context of an audit walk.
inline std::vector<int> PlayedPitches(TMusicStaff& staff) {
  std::vector<int> pitches;
  TAuditNtnIdx idx(&staff);
  do {
    const TNotatedItem* item = idx.GetItem();
    if (!item || !item->HasNotes()) continue;
    for (int m = 0; m < item->GetMemberCount(); ++m)
      pitches.push_back(item->GetMember(m)->GetPitch(idx.GetRunningState()));
  } while (idx.Next());
  return pitches;
}

inline void Fill(TMusicStaff& staff, const std::string& layout) {
  std::istringstream words(layout);
  std::string w;
  auto add = [&staff](std::unique_ptr<TNotatedItem> item) {
    staff.InsertItem(std::move(item), staff.GetLastIndex());
  };
  while (words >> w) {
    if (w[0] == 'n' || w[0] == 'r') {
      const int code = w[1] - '0';
      int pos = 0;
      int flags = 0;
      int acc = kAccNone;
      for (size_t k = 2; k < w.size(); ++k) {
        switch (w[k]) {
          case '@': {
            size_t used = 0;
            pos = std::stoi(w.substr(k + 1), &used);
            k += used;
            break;
          }
          case '.': flags |= kMaskDotted; break;
          case 'g': flags |= kMaskGrace; break;
          case '~': flags |= kMaskTieOut; break;
          case '#': acc = kAccSharp; break;
          case 'b': acc = kAccFlat; break;
          case 'n': acc = kAccNatural; break;
          default: break;
        }
      }
      if (w[0] == 'n')
        add(std::make_unique<TMusicNote>(pos, code, flags, acc));
      else
        add(std::make_unique<TRestNote>(code, flags));
    } else if (w[0] == '|') {
      add(std::make_unique<TBarLineData>(w.size() > 1 ? std::stoi(w.substr(1)) : kBarSingle));
    } else if (w[0] == 'T' && w.rfind("Tempo", 0) == 0) {
      add(std::make_unique<TTempoData>(std::stoi(w.substr(5))));
    } else if (w[0] == 'T') {
      const size_t slash = w.find('/');
      add(std::make_unique<TTimeSignatureData>(
          std::stoi(w.substr(1, slash - 1)),
          TTimeSignatureData::ExponentOf(std::stoi(w.substr(slash + 1)))));
    } else if (w[0] == 'K') {
      int sharps = 0;
      int flats = 0;
      const int count = std::stoi(w.substr(1));
      TKeyData::MasksOfCount(count, sharps, flats);
      add(std::make_unique<TKeyData>(sharps, flats, TKeyData::MajorTonic(count)));
    } else if (w == "Ped+" || w == "Ped-") {
      add(std::make_unique<TSustainPedal>(w == "Ped+"));
    } else if (w == "x") {
      add(std::make_unique<TTextExpression>());
    } else if (w == "E") {
      auto ending = std::make_unique<TSpecialEnding>();
      ending->SetEnding(1, true);
      add(std::move(ending));
    } else if (w == "DC") {
      add(std::make_unique<TFlowDirection>(kFlowDaCapo));
    }
  }
}

}  // namespace kvt::test
