#pragma once
// A headless editing view over a small score text for the mouse and popup tests: two staves,
// the upper one with a note, a chord, a user object and enough bars to scroll; the staff's
// item lines (the text writer's) are the oracle of edits.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <memory>
#include <string>

#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/undo_action_mgr.h"
#include "draw/layout/score_draw_info.h"
#include "draw/layout/staff_draw_info.h"
#include "notation/files/score_load_result.h"
#include "notation/files/text/score_text_reader.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/items/notated_item.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "utils/flat_ram_stream.h"

namespace kvt {
namespace edit_mouse_test {

// Upper: clef, time, [note, chord, note, note] | [note, object, note, note, note] | 30 bars of
// four quarter notes. Lower: clef, time, two bars of whole notes.
inline std::string ScoreText() {
  std::string text =
      "!TarlowmedeRazadove(2.75)\n"
      "|AddStaff|Name:\"Upper\"|Label:\"Upper\"|Group:\"Standard\"\n"
      "|Clef|Type:Treble\n"
      "|TimeSig|Signature:4/4\n"
      "|Note|Dur:4th|Pos:-4\n"
      "|Chord|Dur:4th|Pos:-4,-2,1\n"
      "|Note|Dur:4th|Pos:-1\n"
      "|Note|Dur:4th|Pos:-2\n"
      "|Bar\n"
      "|Note|Dur:4th|Pos:1\n"
      "|User|Flag|Pos:-9|Size:Big\n"
      "|Note|Dur:4th|Pos:-1\n"
      "|Note|Dur:4th|Pos:0\n"
      "|Note|Dur:4th|Pos:2\n"
      "|Bar\n";
  for (int bar = 0; bar < 30; ++bar)
    text +=
        "|Note|Dur:4th|Pos:-2\n|Note|Dur:4th|Pos:0\n|Note|Dur:4th|Pos:1\n"
        "|Note|Dur:4th|Pos:-3\n|Bar\n";
  text +=
      "|AddStaff|Name:\"Lower\"|Label:\"Lower\"|Group:\"Standard\"\n"
      "|Clef|Type:Bass\n"
      "|TimeSig|Signature:4/4\n"
      "|Note|Dur:Whole|Pos:2\n"
      "|Bar\n"
      "|Note|Dur:Whole|Pos:0\n"
      "|Bar\n";
  return text;
}

class EditMouseTest : public ::testing::Test {
protected:
  void SetUp() override {
    std::string text = ScoreText();
    TKRVFlatRamStream in(text.data(), static_cast<int>(text.size()), static_cast<int>(text.size()));
    TScoreLoadResult result = ReadScoreText(in, TServices{});
    ASSERT_TRUE(result.score);
    score = std::move(result.score);
    score->SetZoom(8);
  }

  TScoreEdit& Open(int width = 900, int height = 400) {
    view = std::make_unique<TScoreEdit>(nullptr, *score, undo, host);
    view->resize(width, height);
    view->SetActive(true);
    view->show();
    view->SetActiveStaff(0, false);
    return *view;
  }

  TMusicStaff& Staff(int i = 0) { return *score->GetStaff(i); }
  TStaffDrawInfo& Draw() { return *view->Layout().GetStaffDrawInfo(view->ActiveStaffIndex()); }

  // The staff's items as the text writer writes them.
  std::string Lines(int staffIndex = 0) {
    std::string out;
    TMusicStaff& staff = Staff(staffIndex);
    for (int i = 0; i <= staff.GetLastIndex(); ++i) {
      out += FormatItemLine(*staff.GetItem(i), 0);
      out += '\n';
    }
    return out;
  }

  // The index of the n-th (0-based) item of a type on the upper staff.
  int IndexOf(TNotatedItemType type, int n = 0) {
    TMusicStaff& staff = Staff();
    for (int i = 0; i <= staff.GetLastIndex(); ++i)
      if (staff.GetItem(i)->GetType() == type && n-- == 0) return i;
    ADD_FAILURE() << "no such item";
    return 1;
  }

  // A viewport point at an item's left edge and a staff position of the active staff.
  QPoint At(int itemIndex, int position) {
    const int x = view->OriginX() + Draw().ItemIndexToX(itemIndex);
    const QPoint layout = view->ViewportToLayout(QPoint(0, 0));
    return {x, Draw().PositionToY(static_cast<float>(position)) - layout.y()};
  }

  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF local(at);
    QMouseEvent event(type, local, view->viewport()->mapToGlobal(local), button, held, modifiers);
    QApplication::sendEvent(view->viewport(), &event);
  }
  void Press(QPoint at, Qt::MouseButton button = Qt::LeftButton,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Mouse(QEvent::MouseButtonPress, at, button, button, modifiers);
  }
  void Move(QPoint at, Qt::MouseButtons held = Qt::LeftButton) {
    Mouse(QEvent::MouseMove, at, Qt::NoButton, held);
  }
  void Release(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    Mouse(QEvent::MouseButtonRelease, at, button, Qt::NoButton);
  }

  std::unique_ptr<TMusicScore> score;
  TNullScoreEditHost host;
  TUndoActionMgr undo{20, 1000};
  std::unique_ptr<TScoreEdit> view;
};

}  // namespace edit_mouse_test
}  // namespace kvt
