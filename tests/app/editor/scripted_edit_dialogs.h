#pragma once
// A scripted dialog service for the editing commands' tests: each dialog is available when the
// test says so, answers what the test set and records what it was shown.

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/editor/edit_dialogs.h"
#include "notation/staff/music_staff.h"

namespace kvt::test {

class TScriptedEditDialogs final : public TEditDialogs {
public:
  bool IsAvailable(TEditDialog dialog) const override { return available.count(dialog) != 0; }
  void MakeAvailable(std::initializer_list<TEditDialog> dialogs) { available.insert(dialogs); }

  bool Goto(QWidget*, TGotoRequest& request) override {
    shownGoto = request;
    if (!answerOk) return false;
    request.bar = gotoBar;
    request.makeSelection = gotoSelection;
    return true;
  }
  bool Transpose(QWidget*, TTransposeChoice& choice) override {
    shownTranspose.push_back(choice);
    if (!answerOk) return false;
    choice = transpose;
    return true;
  }
  TRespellAnswer RespellWarning(QWidget*, TRespellWarnSteps& steps) override {
    ++respellRuns;
    return onRespell ? onRespell(steps) : TRespellAnswer::kProceed;
  }
  bool EditNewItem(QWidget*, TNotatedItem& item, int command) override {
    editedCommands.push_back(command);
    shownItemPos.push_back(item.GetStaffPos());
    if (onEditItem) onEditItem(item);
    return answerOk;
  }
  bool EditItems(QWidget*, TMusicStaff&, int first, int last) override {
    editedRanges.push_back({first, last});
    return answerOk;
  }
  int ChooseSelectorEntry(QWidget*, const std::vector<std::u16string>& names) override {
    menus.push_back(names);
    return selectorChoice;
  }

  std::set<TEditDialog> available;
  bool answerOk = true;
  int gotoBar = 1;
  bool gotoSelection = false;
  TGotoRequest shownGoto;
  TTransposeChoice transpose;
  std::vector<TTransposeChoice> shownTranspose;
  std::function<TRespellAnswer(TRespellWarnSteps&)> onRespell;
  int respellRuns = 0;
  std::function<void(TNotatedItem&)> onEditItem;
  std::vector<int> editedCommands;
  std::vector<int> shownItemPos;
  std::vector<std::pair<int, int>> editedRanges;
  std::vector<std::vector<std::u16string>> menus;
  int selectorChoice = 0;
};

}  // namespace kvt::test
