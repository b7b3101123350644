// Selector inserts (commands 256-271): the items of one staff of a selector score, inserted
// at the caret and moved vertically so that their highest position lands on the caret's.

// The audit's headers come before any Qt header: Qt's keyword macros (slots) would change them.
#include "notation/audit/staff_audit.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "app/editor/edit_dialogs.h"
#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/selector_source.h"
#include "app/editor/staff_commands.h"
#include "notation/files/text/item_text_copy.h"
#include "notation/items/general_expression.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/items/text_expression.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "notation/staff/staff_range.h"
#include "tools/command_table.h"

namespace kvt {

namespace {

// Staves of this group are the selector's hidden material, not entries; a staff of this name
// separates entries in the menu.
constexpr std::u16string_view kHiddenGroup = u"_";
constexpr std::u16string_view kSeparatorName = u"---";
// An entry whose name or label ends so opens the property dialog on what it inserted.
constexpr std::u16string_view kDialogSuffix = u"...";

struct TSelectorEntry {
  const TMusicStaff* staff;
  std::u16string text;  // the label, or the name without one
  bool opensDialog;
};

bool EndsWith(std::u16string_view text, std::u16string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::vector<TSelectorEntry> EntriesOf(const TMusicScore& selector) {
  std::vector<TSelectorEntry> entries;
  for (int i = 0; i < selector.GetStaffCount(); ++i) {
    const TMusicStaff* staff = selector.GetStaff(i);
    const std::u16string_view name = staff->GetName();
    const std::u16string_view label = staff->GetFullLabel();
    if (staff->GetGroup() == kHiddenGroup || name == kSeparatorName) continue;
    entries.push_back({staff, std::u16string(label.empty() ? name : label),
                       EndsWith(name, kDialogSuffix) || EndsWith(label, kDialogSuffix)});
  }
  return entries;
}

// What a selector staff contributes: every item but bar lines, page texts (the selector's
// captions) and hidden user objects.
bool IsInserted(const TNotatedItem& item) {
  switch (item.GetType()) {
    case kItemBarLine: return false;
    case kItemText: {
      const int font = ItemAs<TTextExpression>(&item)->GetFontIndex();
      return font < kTextFontPageTitleText || font > kTextFontPageSmallText;
    }
    case kItemUserObject: return item.GetVisibility() != kVisNever;
    default: return true;
  }
}

void MoveVertically(TNotatedItem& item, int delta) {
  if (item.HasNotes()) {
    for (int m = 0; m < item.GetMemberCount(); ++m) item.GetMember(m)->MoveStaffPos(delta);
  } else if (auto* expression = ItemAs<TNtnGeneralExpression>(&item)) {
    expression->SetPos(expression->GetPos() + delta);
  } else {
    item.SetStaffPos(item.GetStaffPos() + delta);
  }
}

std::vector<std::unique_ptr<TNotatedItem>> ItemsToInsert(const TMusicStaff& source, int caretPos) {
  std::vector<std::unique_ptr<TNotatedItem>> items;
  int highest = INT_MAX;
  for (int i = 1; i < source.GetLastIndex(); ++i) {
    const TNotatedItem* item = source.GetItem(i);
    if (!IsInserted(*item)) continue;
    std::unique_ptr<TNotatedItem> copy = CloneItem(*item);
    if (!copy) continue;
    highest = std::min(highest, copy->GetTopPos());
    items.push_back(std::move(copy));
  }
  for (auto& item : items) MoveVertically(*item, caretPos - highest);
  return items;
}

bool InsertFromSelector(TScoreEdit& view, int command) {
  TScoreEditHost& host = view.Host();
  const TMusicScore* selector = host.Selectors().SelectorScore(command);
  TMusicStaff* staff = view.ActiveStaff();
  if (!selector || !staff) return false;
  const std::vector<TSelectorEntry> entries = EntriesOf(*selector);
  int chosen = entries.size() == 1 ? 0 : -1;
  if (entries.size() > 1) {
    std::vector<std::u16string> texts;
    for (const TSelectorEntry& entry : entries) texts.push_back(entry.text);
    chosen = host.Dialogs().ChooseSelectorEntry(&view, texts);
  }
  if (chosen < 0 || chosen >= static_cast<int>(entries.size())) return false;
  const TSelectorEntry& entry = entries[static_cast<size_t>(chosen)];
  std::vector<std::unique_ptr<TNotatedItem>> items =
      ItemsToInsert(*entry.staff, view.Caret().caretPos);
  const int count = static_cast<int>(items.size());
  if (count == 0) {
    host.Beep();
    return false;
  }
  if (count == 1 && !entry.opensDialog) return view.InsertItem(std::move(items[0]), command);
  // All of them or none: a partial insertion would leave half a figure.
  const int at = view.InsertItemsAtCaret(std::move(items), kUndoItems, command);
  if (at < 0) return false;
  if (entry.opensDialog) {
    view.SetCaretIndex(at, false);
    view.SetCaretIndex(at + count, true);
    if (!host.Dialogs().EditItems(&view, *staff, at, at + count - 1)) {
      // Cancel takes the insertion back before its entry is complete, so the history (and
      // its redo entries) stays as it was.
      TStaffRange(staff, at, at + count - 1).DeleteAndAudit();
      view.CancelUndoState();
      view.StaffChanged(view.ActiveScoreStaff(), at);
      view.SetCaretIndex(at, false);
      return false;
    }
    view.EndUndoState();
    view.StaffChanged(view.ActiveScoreStaff(), at);
    return true;
  }
  view.EndUndoState();
  view.SetCaretIndex(at + count, false);
  return true;
}

}  // namespace

void RegisterSelectorInsertCommands(TScoreEdit& view, TCommandTable& table) {
  for (int command = kCmdFirstSelector; command <= kCmdLastSelector; ++command) {
    table.Register(
        command, [&view](int32_t id) { InsertFromSelector(view, id); },
        [&view, command](TCommandEnabler& e) {
          e.Enable(view.CanEdit() && !view.HasSelection() &&
                   view.Host().Selectors().SelectorScore(command) != nullptr);
        });
  }
}

}  // namespace kvt
