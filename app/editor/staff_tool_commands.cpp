// The whole-staff tools of the active staff: automatic beams, forced accidentals, the audits
// of bar lines, accidentals, enharmonic spelling and stems, the re-audit, and Transpose Staff.

// The audit's headers come before any Qt header: Qt's keyword macros (slots) would change them.
#include "notation/audit/staff_audit.h"

#include <algorithm>
#include <memory>

#include "app/editor/edit_dialogs.h"
#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/staff_commands.h"
#include "notation/edits/staff_edits.h"
#include "notation/services/services.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_range.h"
#include "platform/qt_cursor_service.h"
#include "tools/command_table.h"
#include "utils/busy_cursor.h"

namespace kvt {

namespace {

// The transposition the dialog offers, either way.
constexpr int kMaxTransposeSemitones = 12;
// Compound meters beam by their dotted beats.
constexpr bool kBeamDottedBeats = true;

// Runs a whole-staff tool after an undo entry of kind 2, under the wait cursor, and shows the
// staff again.
template <typename TTool>
bool RunWholeStaffTool(TScoreEdit& view, int command, TTool tool) {
  TMusicStaff* staff = view.ActiveStaff();
  if (!staff || !view.SaveUndoState(kUndoWholeStaff, command)) return false;
  {
    TQtCursorService cursor;
    TKVBusyCursor busy(cursor);
    tool(*staff);
  }
  view.EndUndoState();
  view.StaffChanged(view.ActiveScoreStaff(), 0);
  return true;
}

bool AuditBarLines(TScoreEdit& view) {
  const TMusicStaff* staff = view.ActiveStaff();
  if (!staff) return false;
  const int64_t slot = view.HScrollSlot();
  const int32_t ticks = staff->GetDurationBetween(view.Caret().caret, 0, 0);
  if (!RunWholeStaffTool(view, kCmdAuditBarLines,
                         [](TMusicStaff& s) { AutoInsertBarLines(s, false); }))
    return false;
  view.SetCaretToTimeSlot(ticks);
  view.ScrollToSlot(slot);
  return true;
}

bool AuditStems(TScoreEdit& view) {
  TMusicStaff* staff = view.ActiveStaff();
  if (!staff) return false;
  if (!view.HasSelection()) {
    view.SetCaretIndex(staff->GetLastIndex(), false);
    view.SetCaretIndex(1, true);
  }
  const int first = view.Caret().SelectionStart();
  const int last = view.Caret().SelectionEnd();
  if (!view.SaveUndoState(kUndoItems, kCmdAuditStems)) return false;
  TStaffRange(staff, first, last).AutoStemGroups();
  view.EndUndoState();
  view.StaffChanged(view.ActiveScoreStaff(), first);
  return true;
}

bool TransposeStaff(TScoreEdit& view) {
  TEditDialogs& dialogs = view.Host().Dialogs();
  TTransposeChoice choice = dialogs.lastTranspose;
  if (!dialogs.Transpose(&view, choice)) return false;
  choice.semitones = std::clamp(choice.semitones, -kMaxTransposeSemitones, kMaxTransposeSemitones);
  dialogs.lastTranspose = choice;
  const int steps = KeySpellingSteps(choice.keyPreference);
  return RunWholeStaffTool(view, kCmdTransposeStaff, [&](TMusicStaff& s) {
    Transpose(s, choice.semitones, steps, choice.updatePlayback, TServices());
  });
}

// Steps the warning through the chords the respelling may get wrong, selecting each.
class TSpellingConflicts final : public TRespellWarnSteps {
public:
  TSpellingConflicts(TScoreEdit& view, TMusicStaff& staff, int first)
      : view(view), staff(staff), current(first) {
    Select();
  }
  bool HasNext() const override { return FindSpellingConflict(staff, current) != 0; }
  bool ShowNext() override {
    const int next = FindSpellingConflict(staff, current);
    if (next == 0) return false;
    current = next;
    Select();
    return true;
  }
  QRect CaretRect() const override {
    const QPoint at = view.viewport()->mapToGlobal(view.CaretPoint());
    return QRect(at, QSize(1, 1));
  }

private:
  void Select() {
    view.SetCaretIndex(current, false);
    view.SetCaretIndex(current + 1, true);
  }
  TScoreEdit& view;
  TMusicStaff& staff;
  int current;
};

bool AuditSpelling(TScoreEdit& view) {
  TMusicStaff* staff = view.ActiveStaff();
  if (!staff) return false;
  const int first = FindSpellingConflict(*staff, 0);
  if (first != 0) {
    const int caret = view.Caret().caret;
    TSpellingConflicts conflicts(view, *staff, first);
    if (view.Host().Dialogs().RespellWarning(&view, conflicts) != TRespellAnswer::kProceed)
      return false;  // the chord shown stays selected for the user to look at
    view.SetCaretIndex(caret, false);
  }
  return RunWholeStaffTool(view, kCmdAuditSpelling, [](TMusicStaff& s) { NormalizeChords(s); });
}

void Reaudit(TScoreEdit& view) {
  TMusicStaff* staff = view.ActiveStaff();
  if (!staff) return;
  {
    TQtCursorService cursor;
    TKVBusyCursor busy(cursor);
    AuditStaffRange(*staff);
  }
  view.StaffChanged(view.ActiveScoreStaff(), 0);
}

}  // namespace

void RegisterStaffToolCommands(TScoreEdit& view, TCommandTable& table) {
  const auto noSelection = [&view](TCommandEnabler& e) {
    e.Enable(view.CanEdit() && !view.HasSelection());
  };
  const auto mayEdit = [&view](TCommandEnabler& e) { e.Enable(view.CanEdit()); };
  const auto withDialog = [&view](TEditDialog dialog) {
    return [&view, dialog](TCommandEnabler& e) {
      e.Enable(view.CanEdit() && !view.HasSelection() && view.Host().Dialogs().IsAvailable(dialog));
    };
  };

  table.Register(
      kCmdAutoBeam,
      [&view](int32_t) {
        RunWholeStaffTool(view, kCmdAutoBeam,
                          [](TMusicStaff& s) { AutoBeam(s, kBeamDottedBeats); });
      },
      noSelection);
  table.Register(
      kCmdForceAccidentals,
      [&view](int32_t) {
        RunWholeStaffTool(view, kCmdForceAccidentals,
                          [](TMusicStaff& s) { MakeAccidentalsExplicit(s); });
      },
      noSelection);
  table.Register(
      kCmdAuditAccidentals,
      [&view](int32_t) {
        RunWholeStaffTool(view, kCmdAuditAccidentals, [](TMusicStaff& s) { AuditAccidentals(s); });
      },
      noSelection);
  table.Register(
      kCmdAuditBarLines, [&view](int32_t) { AuditBarLines(view); }, noSelection);
  table.Register(
      kCmdTransposeStaff, [&view](int32_t) { TransposeStaff(view); },
      withDialog(TEditDialog::kTranspose));
  table.Register(
      kCmdAuditSpelling, [&view](int32_t) { AuditSpelling(view); },
      withDialog(TEditDialog::kRespellWarning));
  table.Register(
      kCmdAuditStems, [&view](int32_t) { AuditStems(view); }, mayEdit);
  table.Register(
      kCmdReaudit, [&view](int32_t) { Reaudit(view); }, mayEdit);
}

}  // namespace kvt
