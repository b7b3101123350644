#pragma once
// The staff commands' tests: a headless editing view over a score read from score text, with
// the scripted dialog service and a settable selector source, and the score text writer as
// the oracle.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/selector_source.h"
#include "app/editor/undo_action_mgr.h"
#include "notation/files/score_load_result.h"
#include "notation/files/text/score_text_reader.h"
#include "notation/files/text/score_text_writer.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "tests/app/editor/scripted_edit_dialogs.h"
#include "tools/command_enabler.h"
#include "utils/flat_ram_stream.h"

namespace kvt::test {

// A score of the score text lines (each ending in CR LF); fails the test when it does not read.
inline std::unique_ptr<TMusicScore> ReadScore(const std::string& lines) {
  std::string text = "!TarlowmedeRazadove(2.75)\r\n" + lines + "!TarlowmedeRazadove-End\r\n";
  const int size = static_cast<int>(text.size());
  TKRVFlatRamStream stream(text.data(), size, size);
  TScoreLoadResult result = ReadScoreText(stream, TServices{});
  EXPECT_TRUE(result.score);
  return std::move(result.score);
}

inline std::string WriteScore(const TMusicScore& score) {
  TKRVFlatRamStream stream(0, 64 * 1024);
  WriteScoreText(stream, score);
  std::string text(static_cast<size_t>(stream.Size()), '\0');
  stream.Rewind();
  if (!text.empty()) stream.Read(text.data(), static_cast<int>(text.size()));
  return text;
}

class TMapSelectorSource final : public TSelectorSource {
public:
  const TMusicScore* SelectorScore(int command) const override {
    const auto it = scores.find(command);
    return it == scores.end() ? nullptr : it->second.get();
  }
  std::map<int, std::unique_ptr<TMusicScore>> scores;
};

class StaffCommandsFixture : public ::testing::Test {
protected:
  StaffCommandsFixture() {
    host.dialogs = &dialogs;
    host.selectors = &selectors;
  }
  TScoreEdit& Open(const std::string& lines) {
    score = ReadScore(lines);
    view = std::make_unique<TScoreEdit>(nullptr, *score, undo, host);
    view->resize(900, 500);
    view->SetActive(true);
    return *view;
  }
  std::string Text() const { return WriteScore(*score); }
  bool Run(int id) { return view->ExecuteCommand(id); }
  bool Enabled(int id) const {
    TCommandEnabler e(id);
    view->EnableCommand(e);
    return e.enabled.value_or(false);
  }
  int Checked(int id) const {
    TCommandEnabler e(id);
    view->EnableCommand(e);
    return e.check.value_or(-1);
  }
  TMusicStaff& Staff(int i) const { return *score->GetStaff(i); }
  std::u16string Name(int i) const { return score->GetStaff(i)->GetName(); }
  // The staff names in score order, as "A B C".
  std::string Names() const {
    std::string out;
    for (int i = 0; i < score->GetStaffCount(); ++i) {
      if (i) out += ' ';
      for (char16_t c : std::u16string(score->GetStaff(i)->GetName())) out += static_cast<char>(c);
    }
    return out;
  }
  // The include bits of the staves, as "101".
  std::string Shown() const {
    std::string out;
    for (int i = 0; i < score->GetStaffCount(); ++i) out += score->IsStaffIncluded(i) ? '1' : '0';
    return out;
  }
  // Runs the command and checks that undo gives the text before and redo the text after.
  void RunUndoRedo(int id) {
    const std::string before = Text();
    ASSERT_TRUE(Run(id)) << "command " << id;
    const std::string after = Text();
    EXPECT_NE(before, after) << "command " << id << " changed nothing";
    ASSERT_TRUE(view->Undo());
    EXPECT_EQ(Text(), before) << "undo of " << id;
    ASSERT_TRUE(view->Redo());
    EXPECT_EQ(Text(), after) << "redo of " << id;
  }

  TNullScoreEditHost host;
  TScriptedEditDialogs dialogs;
  TMapSelectorSource selectors;
  TUndoActionMgr undo{20, 1000};
  std::unique_ptr<TMusicScore> score;
  std::unique_ptr<TScoreEdit> view;
};

// A staff line with its group.
inline std::string StaffLine(const char* name, const char* group = "Standard") {
  return std::string("|AddStaff|Name:\"") + name + "\"|Group:\"" + group + "\"\r\n";
}

}  // namespace kvt::test
