#pragma once
// A one-staff score read from item lines, an offscreen editing view over it with the null host,
// and the staff's items written back as text: the oracle of the editing commands' tests.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/undo_action_mgr.h"
#include "notation/files/score_load_result.h"
#include "notation/files/text/score_text_reader.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "utils/flat_ram_stream.h"

namespace kvt::edit_test {

// The score of item lines ("|Note|Dur:4th|Pos:0", each ending in "\n"); null when it does not
// read.
inline std::unique_ptr<TMusicScore> ReadItems(const std::string& lines) {
  std::string text =
      "!TarlowmedeRazadoveClip(2.75,Single)\r\n" + lines + "!TarlowmedeRazadoveClip-End\r\n";
  TKRVFlatRamStream stream(text.data(), static_cast<int>(text.size()),
                           static_cast<int>(text.size()));
  TScoreLoadResult result = ReadScoreText(stream, TServices{});
  return std::move(result.score);
}

// The items between the staff's boundary bar lines, one line each ending in "\n".
inline std::string ItemsText(const TMusicStaff& staff) {
  std::string text;
  for (int i = 1; i < staff.GetLastIndex(); ++i)
    text += FormatItemLine(*staff.GetItem(i), kTextModeScore) + "\n";
  return text;
}

class EditFixture : public ::testing::Test {
protected:
  // A view over the items with caret, anchor and vertical position; the items must read.
  TScoreEdit& Open(const std::string& lines, int caret = 1, int anchor = -1, int caretPos = 0) {
    score = ReadItems(lines);
    EXPECT_NE(score, nullptr);
    if (!score) score = ReadItems("");
    score->SetZoom(20);
    score->SetEditorState(0, caret, anchor < 0 ? caret : anchor, caretPos);
    view = std::make_unique<TScoreEdit>(nullptr, *score, undo, host);
    view->resize(900, 400);
    view->SetActive(true);
    view->RefreshSelectionSummary();
    return *view;
  }
  TMusicStaff& Staff() const { return *view->ActiveStaff(); }
  std::string Text() const { return ItemsText(Staff()); }

  std::unique_ptr<TMusicScore> score;
  TNullScoreEditHost host;
  TUndoActionMgr undo{20, 1000};
  std::unique_ptr<TScoreEdit> view;
};

}  // namespace kvt::edit_test
