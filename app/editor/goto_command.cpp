// Goto (38): the caret to the first item of a bar, asked by the "Goto Measure" dialog.

#include <algorithm>

#include "app/editor/edit_dialogs.h"
#include "app/editor/editor_status.h"
#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/staff_commands.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/item_cast.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "tools/command_table.h"

namespace kvt {

namespace {

// Bars the dialog accepts past the score's first bar number.
constexpr int kGotoBarSpan = 32002;

// The index of the first item of the bar (numbered as the status bar numbers them); the last
// index when the staff has fewer bars.
int FirstIndexOfBar(const TMusicScore& score, const TMusicStaff& staff, int bar) {
  int current = score.GetStartingBar();
  if (bar <= current) return 1;
  for (int i = 1; i < staff.GetLastIndex(); ++i) {
    const auto* line = ItemAs<TBarLineData>(staff.GetItem(i));
    if (line && !line->IsXBarCnt() && ++current == bar) return i + 1;
  }
  return staff.GetLastIndex();
}

bool Goto(TScoreEdit& view) {
  const TMusicStaff* staff = view.ActiveStaff();
  if (!staff) return false;
  const TMusicScore& score = view.Score();
  TGotoRequest request;
  request.firstBar = score.GetStartingBar();
  request.lastBar = request.firstBar + kGotoBarSpan;
  request.bar = BarOf(score, *staff, view.Caret().caret);
  if (!view.Host().Dialogs().Goto(&view, request)) return false;
  const int first = score.GetStartingBar();
  const int bar = std::clamp(request.bar, first, first + kGotoBarSpan);
  view.SetCaretIndex(FirstIndexOfBar(score, *staff, bar), request.makeSelection);
  return true;
}

}  // namespace

void RegisterGotoCommand(TScoreEdit& view, TCommandTable& table) {
  table.Register(
      kCmdGoto, [&view](int32_t) { Goto(view); },
      [&view](TCommandEnabler& e) {
        e.Enable(view.CanEdit() && view.Host().Dialogs().IsAvailable(TEditDialog::kGoto));
      });
}

}  // namespace kvt
