// New, delete, move and mute staff and the connections with the next staff.

#include "app/editor/staff_commands.h"

#include <algorithm>
#include <memory>

#include "app/editor/edit_dialogs.h"
#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "draw/layout/score_draw_info.h"
#include "draw/layout/staff_draw_info.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "tools/command_table.h"
#include "tools/message_box_service.h"

namespace kvt {

namespace {

// The boundaries a new staff starts with.
constexpr int kNewStaffTop = -10;
constexpr int kNewStaffBottom = 10;

// The score staff shown at the layout index; -1 outside the shown staves.
int ShownScoreStaff(const TScoreEdit& view, int layoutIndex) {
  const TStaffDrawInfo* draw = view.Layout().GetStaffDrawInfo(layoutIndex);
  return draw ? draw->GetStaffIndex() : -1;
}

// Shows the score staff among the others and makes it the active one.
void Activate(TScoreEdit& view, int scoreStaff) {
  view.Score().SetStaffIncluded(scoreStaff, true);
  view.RelayoutShown();
  view.ShowStaff(scoreStaff);
}

bool Toggle(TScoreEdit& view, int command, uint8_t bit) {
  TMusicStaff* staff = view.ActiveStaff();
  if (!staff || !view.SaveUndoState(kUndoStaffProperties, command)) return false;
  if (bit == 0)
    staff->SetMuted(!staff->IsMuted());
  else
    staff->SetConnectionBits(staff->GetConnectionBits() ^ bit);
  view.EndUndoState();
  // Connections change how the staves are drawn together.
  if (bit != 0) view.Reformat();
  return true;
}

}  // namespace

bool NewStaff(TScoreEdit& view) {
  TMusicScore& score = view.Score();
  if (score.GetStaffCount() >= TMusicScore::MaxScoreStaffs) {
    view.Host().MessageBox(MB_OK | MB_ICONEXCLAMATION, "Full Song",
                           "The song is full. No more parts can be added to this song.");
    return false;
  }
  const TMusicStaff* active = view.ActiveStaff();
  if (!active || !view.SaveUndoState(kUndoStaffPresence, kCmdNewStaff)) return false;
  auto staff = std::make_unique<TMusicStaff>();
  staff->SetName(score.MakeNewStaffName());
  score.MakeStaffNameUnique(*staff);
  staff->SetGroup(active->GetGroup());
  const int device = score.GetLastStaffDevice();
  staff->SetDevice(device);
  staff->SetChannel(score.GetNextFreeChannel(device));
  staff->SetBoundaries(kNewStaffTop, kNewStaffBottom);
  score.AddStaff(std::move(staff));
  const int added = score.GetLastIndex();
  view.EndUndoState(added);
  Activate(view, added);
  return true;
}

bool DeleteStaff(TScoreEdit& view) {
  TMusicScore& score = view.Score();
  const int index = view.ActiveScoreStaff();
  if (index < 0 || score.GetStaffCount() < 2) {
    view.Host().Beep();
    return false;
  }
  const int shownIndex = view.ActiveStaffIndex();
  if (!view.SaveUndoState(kUndoStaffPresence, kCmdDeleteStaff)) return false;
  score.DetachStaff(index);
  view.EndUndoState();
  // The shown staff that took its place, or the new last one when the last one went; hidden
  // staves stay hidden, so undo gives back the shown set exactly.
  view.RelayoutShown();
  view.SetActiveStaff(std::min(shownIndex, view.ShownStaffCount() - 1), true);
  return true;
}

bool MoveStaff(TScoreEdit& view, int direction) {
  TMusicScore& score = view.Score();
  const int from = view.ActiveScoreStaff();
  const int to = ShownScoreStaff(view, view.ActiveStaffIndex() + (direction < 0 ? -1 : 1));
  if (from < 0 || to < 0 || score.GetStaffCount() < 2) {
    view.Host().Beep();
    return false;
  }
  if (!view.SaveUndoState(kUndoStaffMove, kCmdMoveStaff, to)) return false;
  score.InsertStaff(score.DetachStaff(from), to);
  view.EndUndoState();
  Activate(view, to);
  return true;
}

void RegisterStaffCommands(TScoreEdit& view, TCommandTable& table) {
  const auto mayEdit = [&view](TCommandEnabler& e) { e.Enable(view.CanEdit()); };
  const auto severalStaves = [&view](TCommandEnabler& e) {
    e.Enable(view.CanEdit() && view.Score().GetStaffCount() > 1);
  };
  table.Register(
      kCmdNewStaff, [&view](int32_t) { NewStaff(view); }, mayEdit);
  table.Register(
      kCmdDeleteStaff, [&view](int32_t) { DeleteStaff(view); }, severalStaves);
  table.Register(
      kCmdMoveStaffUp, [&view](int32_t) { MoveStaff(view, -1); }, severalStaves);
  table.Register(
      kCmdMoveStaffDown, [&view](int32_t) { MoveStaff(view, 1); }, severalStaves);
  // The position is asked by the move-staff dialog; until the service offers it, disabled.
  table.Register(
      kCmdMoveStaff, [&view](int32_t) { view.Host().Beep(); },
      [&view](TCommandEnabler& e) {
        e.Enable(view.CanEdit() && view.Score().GetStaffCount() > 1 &&
                 view.Host().Dialogs().IsAvailable(TEditDialog::kMoveStaff));
      });

  table.Register(
      kCmdMuteStaff, [&view](int32_t) { Toggle(view, kCmdMuteStaff, 0); },
      [&view](TCommandEnabler& e) {
        const TMusicStaff* staff = view.ActiveStaff();
        e.Enable(view.CanEdit() && !view.HasSelection() && staff);
        e.SetCheck(staff && staff->IsMuted() ? kChecked : kUnchecked);
      });

  struct TConnection {
    int command;
    uint8_t bit;
  };
  static constexpr TConnection kConnections[] = {
      {kCmdBracketWithNext, kStaffBracketWithNext},
      {kCmdBraceWithNext, kStaffBraceWithNext},
      {kCmdConnectBars, kStaffConnectBarsWithNext},
      {kCmdLayerWithNext, kStaffLayerWithNext},
  };
  for (const TConnection& c : kConnections) {
    table.Register(
        c.command, [&view, c](int32_t) { Toggle(view, c.command, c.bit); },
        [&view, c](TCommandEnabler& e) {
          const TMusicStaff* staff = view.ActiveStaff();
          // The last shown staff has no next staff to connect with.
          e.Enable(view.CanEdit() && staff && view.ActiveStaffIndex() < view.ShownStaffCount() - 1);
          e.SetCheck(staff && (staff->GetConnectionBits() & c.bit) != 0 ? kChecked : kUnchecked);
        });
  }

  RegisterStaffToolCommands(view, table);
  RegisterGotoCommand(view, table);
  RegisterDialogInsertCommands(view, table);
  RegisterSelectorInsertCommands(view, table);
  RegisterPendingDialogCommands(view, table);
}

}  // namespace kvt
