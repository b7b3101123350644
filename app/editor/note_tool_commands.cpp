#include "app/editor/note_tool_commands.h"

#include <set>
#include <vector>

#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/selection_edit.h"
#include "notation/edits/staff_edits.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/music_note.h"
#include "notation/items/song_note.h"
#include "notation/services/services.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_range.h"
#include "tools/command_table.h"

namespace kvt {

namespace {

constexpr int kCmdDot = 14;
constexpr int kCmdNatural = 96;
constexpr int kCmdDoubleFlat = 100;
constexpr int kCmdWhole = 101;
constexpr int kCmdSixtyFourth = 107;
constexpr int kCmdLonger = 108;
constexpr int kCmdShorter = 109;
constexpr int kCmdStemUp = 111;
constexpr int kCmdStemDown = 112;
constexpr int kCmdBeam = 113;
constexpr int kCmdTriplet = 115;
constexpr int kCmdTie = 121;
constexpr int kCmdHeadCycle = 240;
constexpr int kCmdFirstHead = 241;
constexpr int kCmdLastHead = 254;
constexpr int kCmdColor = 289;
constexpr int kAttributeCommands[] = {114, 116, 117, 118, 119, 120, 121,
                                      122, 123, 124, 125, 225, 230, 231};
// Shape-note heads (shape notes 1 to 7 with the alternative 4).
constexpr int kFirstShapeHead = 6;
constexpr int kNoteHeadCount = 14;
// Without two shape-note heads in the selection the cycle runs through the first four heads.
constexpr int kPlainHeadCycle = 0x000F;

TInsertionState& Insertion(TScoreEdit& view) { return view.Host().Insertion(); }

// The tool is offered: the view may edit and, with a selection, the selection offers it.
bool Offered(const TScoreEdit& view, bool selectionOffers) {
  return view.CanEdit() && (!view.HasSelection() || selectionOffers);
}

int Check(bool on) { return on ? kChecked : kUnchecked; }

// The heads that the cycle steps through: those of the shape-note heads on the selection's
// notes when there are at least two, else the first four.
int HeadCycleMask(const TScoreEdit& view) {
  const TStaffRange range = SelectedRange(view);
  std::set<int> heads;
  if (range.IsValid()) {
    for (int i = range.GetFirst(); i <= range.GetLast(); ++i) {
      const TNotatedItem* item = range.GetStaff()->GetItem(i);
      for (int m = 0; item != nullptr && m < item->GetMemberCount(); ++m) {
        const TMusicNote* note = item->GetMember(m);
        if (note != nullptr && note->GetHeadShape() >= kFirstShapeHead)
          heads.insert(note->GetHeadShape());
      }
    }
  }
  if (heads.size() < 2) return kPlainHeadCycle;
  int mask = 0;
  for (const int head : heads) mask |= 1 << head;
  return mask;
}

int NextHeadIn(int mask, int head) {
  for (int step = 1; step <= kNoteHeadCount; ++step) {
    const int next = (head + step) % kNoteHeadCount;
    if ((mask >> next) & 1) return next;
  }
  return head;
}

void RegisterDurations(TScoreEdit& view, TCommandTable& table) {
  table.RegisterRange(
      kCmdWhole, kCmdSixtyFourth,
      [&view](int32_t id) {
        const int code = static_cast<int>(id) - kCmdWhole;
        if (!view.HasSelection()) {
          Insertion(view).duration = code;
          return;
        }
        EditSelection(view, [code](TStaffRange& range) {
          range.SetDurationCode(code);
          return true;
        });
      },
      [&view](TCommandEnabler& enabler) {
        const TSelectionSummary& summary = view.SelectionSummary();
        enabler.Enable(Offered(view, summary.offersDurations));
        const int current = view.HasSelection() ? summary.commonDuration : Insertion(view).duration;
        enabler.SetCheck(Check(current == enabler.Id() - kCmdWhole));
      });
  for (const int id : {kCmdLonger, kCmdShorter}) {
    table.Register(
        id,
        [&view](int32_t command) {
          const bool longer = command == kCmdLonger;
          if (!view.HasSelection()) {
            int& duration = Insertion(view).duration;
            if (longer)
              duration = duration <= kDurWhole ? kDur64th : duration - 1;
            else
              duration = duration >= kDur64th ? kDurWhole : duration + 1;
            return;
          }
          EditSelection(view, [longer](TStaffRange& range) {
            range.ShiftDurations(longer ? 1 : -1, TServices{});
            return true;
          });
        },
        [&view](TCommandEnabler& enabler) { enabler.Enable(view.CanEdit()); });
  }
}

void RegisterAccidentals(TScoreEdit& view, TCommandTable& table) {
  table.RegisterRange(
      kCmdNatural, kCmdDoubleFlat,
      [&view](int32_t id) {
        const int code = AccidentalOfCommand(id);
        if (!view.HasSelection()) {
          Insertion(view).accidental = code;
          return;
        }
        EditSelection(view, [code](TStaffRange& range) {
          range.SetAccidental(code);
          return true;
        });
      },
      [&view](TCommandEnabler& enabler) {
        const TSelectionSummary& summary = view.SelectionSummary();
        enabler.Enable(Offered(view, summary.offersAccidentals));
        const int current =
            view.HasSelection() ? summary.commonAccidental : Insertion(view).accidental;
        enabler.SetCheck(Check(current == AccidentalOfCommand(enabler.Id())));
      });
}

void RegisterNoteHeads(TScoreEdit& view, TCommandTable& table) {
  table.RegisterRange(
      kCmdFirstHead, kCmdLastHead,
      [&view](int32_t id) {
        const int head = static_cast<int>(id) - kCmdFirstHead;
        if (!view.HasSelection()) {
          Insertion(view).noteHead = head;
          return;
        }
        EditSelection(view, [head](TStaffRange& range) {
          range.SetNoteHead(head);
          return true;
        });
      },
      [&view](TCommandEnabler& enabler) {
        const TSelectionSummary& summary = view.SelectionSummary();
        enabler.Enable(Offered(view, summary.offersNoteHeads));
        const int current = view.HasSelection() ? summary.commonNoteHead : Insertion(view).noteHead;
        enabler.SetCheck(Check(current == enabler.Id() - kCmdFirstHead));
      });
  table.Register(
      kCmdHeadCycle,
      [&view](int32_t) {
        const int mask = HeadCycleMask(view);
        if (!view.HasSelection()) {
          int& head = Insertion(view).noteHead;
          head = NextHeadIn(mask, head);
          return;
        }
        EditSelection(view, [mask](TStaffRange& range) {
          range.CycleNoteHeads(mask);
          return true;
        });
      },
      [&view](TCommandEnabler& enabler) {
        enabler.Enable(Offered(view, view.SelectionSummary().offersNoteHeads));
      });
}

void ToggleAttribute(TScoreEdit& view, int id) {
  const int bit = AttributeBitOfCommand(id);
  if (bit < 0) return;
  if (!view.HasSelection()) {
    uint16_t& attributes = Insertion(view).attributes;
    attributes = ToggleInsertionAttribute(attributes, bit);
    return;
  }
  EditSelection(view, [bit, id](TStaffRange& range) {
    return id == kCmdTie ? range.ToggleTies() : range.ToggleFlag(bit);
  });
}

void RegisterAttributes(TScoreEdit& view, TCommandTable& table) {
  for (const int id : kAttributeCommands) {
    table.Register(
        id, [&view](int32_t command) { ToggleAttribute(view, command); },
        [&view](TCommandEnabler& enabler) {
          const int bit = AttributeBitOfCommand(enabler.Id());
          const TSelectionSummary& summary = view.SelectionSummary();
          const uint16_t mask = static_cast<uint16_t>(1u << bit);
          enabler.Enable(Offered(view, (summary.offeredAttributes & mask) != 0));
          const uint16_t set =
              view.HasSelection() ? summary.sharedAttributes : Insertion(view).attributes;
          enabler.SetCheck(Check((set & mask) != 0));
        });
  }
  table.Register(
      kCmdDot,
      [&view](int32_t) {
        ToggleAttribute(view,
                        DotCommandFor(Insertion(view), view.Host().Options().dotButtonsPaired));
      },
      [&view](TCommandEnabler& enabler) { enabler.Enable(view.CanEdit()); });
}

void RegisterGroupsAndStems(TScoreEdit& view, TCommandTable& table) {
  for (const int id : {kCmdBeam, kCmdTriplet}) {
    table.Register(
        id,
        [&view](int32_t command) {
          const int kind = command == kCmdBeam ? kGroupBeam : kGroupTriplet;
          EditSelection(view, [kind](TStaffRange& range) {
            return range.ContainsGroup(kind) ? range.Ungroup(kind) : range.Beam(kind);
          });
        },
        [&view](TCommandEnabler& enabler) {
          const TSelectionSummary& summary = view.SelectionSummary();
          const bool offered =
              enabler.Id() == kCmdBeam ? summary.offersBeam : summary.offersTriplet;
          enabler.Enable(view.CanEdit() && view.HasSelection() && offered);
        });
  }
  for (const int id : {kCmdStemUp, kCmdStemDown}) {
    table.Register(
        id,
        [&view](int32_t command) {
          const int dir = command == kCmdStemUp ? kStemUp : kStemDown;
          if (!view.HasSelection()) {
            // Pressed again, the insertion state's stem returns to automatic.
            int& stem = Insertion(view).stem;
            stem = stem == dir ? kStemAuto : dir;
            return;
          }
          EditSelection(view, [dir](TStaffRange& range) {
            range.SetStem(dir);
            return true;
          });
        },
        [&view](TCommandEnabler& enabler) {
          const TSelectionSummary& summary = view.SelectionSummary();
          enabler.Enable(Offered(view, summary.offersStems));
          const int dir = enabler.Id() == kCmdStemUp ? kStemUp : kStemDown;
          const int current = view.HasSelection() ? summary.commonStem : Insertion(view).stem;
          enabler.SetCheck(Check(current == dir));
        });
  }
}

void RegisterColor(TScoreEdit& view, TCommandTable& table) {
  table.Register(
      kCmdColor,
      [&view](int32_t) {
        const int current =
            view.HasSelection() ? view.SelectionSummary().commonColor : Insertion(view).color;
        const int color =
            view.Host().ChooseNoteColor(current < 0 ? Insertion(view).color : current);
        if (color < 0 || color >= kItemColorCount) return;
        Insertion(view).color = color;
        if (view.HasSelection())
          EditSelection(view, [color](TStaffRange& range) { return range.SetColor(color); });
      },
      [&view](TCommandEnabler& enabler) {
        enabler.Enable(Offered(view, view.SelectionSummary().offersColors));
      });
}

// The selectors of the toolbar: accidentals (84), durations (85), note heads (86).
void RegisterSelectors(TScoreEdit& view, TCommandTable& table) {
  struct TSelector {
    int id;
    std::vector<int> commands;
  };
  static const TSelector kSelectors[] = {
      {84, {kCmdNatural, 97, 98, 99, kCmdDoubleFlat}},
      {85, {101, 102, 103, 104, 105, 106, kCmdSixtyFourth}},
      {86, {241, 242, 243, 244, 245, 246, 247, 248, 249, 250, 251, 252, 253, kCmdLastHead}},
  };
  for (const TSelector& selector : kSelectors) {
    table.Register(
        selector.id, [&view, &selector](int32_t) { view.Host().PopupCommands(selector.commands); },
        [&view, &selector](TCommandEnabler& enabler) {
          const TSelectionSummary& summary = view.SelectionSummary();
          const bool offered = selector.id == 84   ? summary.offersAccidentals
                               : selector.id == 85 ? summary.offersDurations
                                                   : summary.offersNoteHeads;
          enabler.Enable(Offered(view, offered));
        });
  }
}

}  // namespace

int AttributeBitOfCommand(int id) {
  switch (id) {
    case 116: return kFlagAccent;
    case 119: return kFlagDotted;
    case 117: return kFlagStaccato;
    case 121: return kFlagTieOut;
    case 114: return kFlagSlur;
    case 118: return kFlagTenuto;
    case 122: return kFlagMarkA;
    case 123: return kFlagMarkB;
    case 120: return kFlagDblDotted;
    case 225: return kFlagGrace;
    case 230: return kFlagCrescendo;
    case 231: return kFlagDiminuendo;
    case 124: return kFlagMarcato;
    case 125: return kFlagStaccatissimo;
    default: return -1;
  }
}

uint16_t ToggleInsertionAttribute(uint16_t attributes, int bit) {
  if (bit < 0 || bit > 15) return attributes;
  const uint16_t mask = static_cast<uint16_t>(1u << bit);
  if (attributes & mask) return static_cast<uint16_t>(attributes & ~mask);
  return WithNoteFlag(attributes, bit);
}

int AccidentalOfCommand(int id) {
  switch (id) {
    case 97: return kInsertSharp;
    case 98: return kInsertFlat;
    case 96: return kInsertNatural;
    case 99: return kInsertDoubleSharp;
    case 100: return kInsertDoubleFlat;
    default: return -1;
  }
}

int DotCommandFor(const TInsertionState& state, bool buttonsPaired) {
  const bool dotted = (state.attributes & (kMaskDotted | kMaskDblDotted)) != 0;
  return buttonsPaired && dotted ? 120 : 119;
}

void RegisterNoteToolCommands(TScoreEdit& view, TCommandTable& table) {
  RegisterDurations(view, table);
  RegisterAccidentals(view, table);
  RegisterNoteHeads(view, table);
  RegisterAttributes(view, table);
  RegisterGroupsAndStems(view, table);
  RegisterColor(view, table);
  RegisterSelectors(view, table);
}

}  // namespace kvt
