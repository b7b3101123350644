// The score window's Print and Print Preview: the shown staves of the score through the
// application's printer, the preview opening at the caret's time.

#include "app/editor/score_window.h"

#include "app/editor/play_start_tick.h"
#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/score_window_host.h"
#include "notation/staff/music_score.h"
#include "print/kv_printer.h"
#include "print/preview_services.h"
#include "print/preview_show.h"
#include "print/print_command.h"

namespace kvt {
namespace {

// The song time of the caret item on the active staff.
class TViewCaretTime final : public TCaretTimeSource {
public:
  TViewCaretTime(TMusicScore& score, int staff, int caret)
      : score(score), staff(staff), caret(caret) {}
  int64_t CaretTime() override { return PlayStartTick(score.GetStaff(staff), caret, 0); }

private:
  TMusicScore& score;
  int staff;
  int caret;
};

}  // namespace

void TScoreWindow::Print() {
  // The caret and selection go with the score, as for a save.
  CommitPendingEdit();
  const TPreviewServices services = host.PrintServices();
  const std::string path = document->IsUntitled() ? std::string() : document->FileName();
  TMusicScore& score = document->Score();
  PrintScore(this, score, score.GetIncludeFlags(), path, host.Printer(), host.EditHost().Colors(),
             services.print);
}

void TScoreWindow::PrintPreview() {
  CommitPendingEdit();
  TPreviewServices services = host.PrintServices();
  TMusicScore& score = document->Score();
  TViewCaretTime caretTime(score, ActiveStaff(), CaretIndex());
  services.caretTime = &caretTime;
  ShowPrintPreview(PrintShellOf(services.print).MainWindow(), score, score.GetIncludeFlags(),
                   host.Printer(), host.EditHost().Colors(), services);
}

}  // namespace kvt
