// The audit's header comes before any Qt header: Qt's keyword macros (slots) would change it.
#include "notation/audit/staff_audit.h"

#include "app/editor/note_popup_menu.h"

#include <QMenu>
#include <array>

#include "app/editor/edit_command_texts.h"
#include "app/editor/edit_popup_menus.h"
#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/undo_snapshot.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/items/name_lists.h"
#include "notation/items/song_note.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

constexpr int kCmdTie = 121;
constexpr int kCmdFirstHead = 241;
constexpr int kHeadCount = 14;
// The accidental commands in menu order, with the codes they stand for.
struct TAccidentalItem {
  int command;
  int code;
};
constexpr std::array<TAccidentalItem, 5> kAccidentals = {
    {{96, 2}, {97, 0}, {98, 1}, {99, 3}, {100, 4}}};

TMusicNote* FindMember(TScoreEdit& view, int itemIndex, int member, TMusicNote** owner) {
  TMusicStaff* staff = view.ActiveStaff();
  if (!staff || itemIndex < 1 || itemIndex >= staff->GetLastIndex()) return nullptr;
  auto* note = ItemAs<TMusicNote>(staff->GetItem(itemIndex));
  if (!note || member < 0 || member >= note->GetMemberCount()) return nullptr;
  if (owner) *owner = note;
  return note->GetMember(member);
}

// The colour the member shows: its own, else its item's.
int ShownColor(const TMusicNote& item, const TMusicNote& member) {
  return member.GetNoteColor() != 0 ? member.GetNoteColor() : item.GetColor();
}

QAction* AddChoice(QMenu& menu, const QString& text, const QString& name, bool checked,
                   TScoreEdit& view, const TMusicNote* item, int itemIndex, int member,
                   TNoteChoice choice) {
  QAction* action = menu.addAction(text);
  action->setObjectName(name);
  action->setCheckable(true);
  action->setChecked(checked);
  action->setEnabled(view.CanEdit());
  QObject::connect(action, &QAction::triggered, &menu, [&view, item, itemIndex, member, choice] {
    if (ItemStillAt(view, itemIndex, item))
      ApplyNoteChoice(view, itemIndex, member, choice);
    else
      view.Host().Beep();
  });
  return action;
}

}  // namespace

std::unique_ptr<QMenu> BuildNotePopup(TScoreEdit& view, int itemIndex, int member) {
  TMusicNote* item = nullptr;
  const TMusicNote* note = FindMember(view, itemIndex, member, &item);
  if (!note) return nullptr;
  auto menu = std::make_unique<QMenu>();
  AddChoice(*menu, TextWithoutKey(EditCommandText(kCmdTie)), QStringLiteral("tie"),
            note->IsTieOut(), view, item, itemIndex, member, {TNoteChoice::kTie, 0});

  QMenu* colors = menu->addMenu(QStringLiteral("&Color"));
  const int color = ShownColor(*item, *note);
  for (int c = 0; c < kItemColorCount; ++c)
    AddChoice(*colors, QString::fromLatin1(GetNameListEntry(kNameListColors, c)),
              QStringLiteral("color%1").arg(c), c == color, view, item, itemIndex, member,
              {TNoteChoice::kColor, c});

  menu->addSeparator();
  for (const TAccidentalItem& a : kAccidentals)
    AddChoice(*menu, TextWithoutKey(EditCommandText(a.command)),
              QStringLiteral("accidental%1").arg(a.code), note->GetAccidental() == a.code, view,
              item, itemIndex, member, {TNoteChoice::kAccidental, a.code});

  menu->addSeparator();
  QMenu* heads = menu->addMenu(QStringLiteral("Note &Head"));
  for (int h = 0; h < kHeadCount; ++h)
    AddChoice(*heads, TextWithoutKey(EditCommandText(kCmdFirstHead + h)),
              QStringLiteral("head%1").arg(h), note->GetHeadShape() == h, view, item, itemIndex,
              member, {TNoteChoice::kHead, h});
  return menu;
}

bool ApplyNoteChoice(TScoreEdit& view, int itemIndex, int member, const TNoteChoice& choice) {
  TMusicNote* item = nullptr;
  TMusicNote* note = FindMember(view, itemIndex, member, &item);
  if (!note || !view.CanEdit()) {
    view.Host().Beep();
    return false;
  }
  // The entry records the bar of the item before the caret.
  view.SetCaretIndex(itemIndex + 1, false);
  const int code = choice.kind == TNoteChoice::kHead ? kUndoNoteheadChange : kUndoPropertyChange;
  if (!view.SaveUndoState(kUndoEditorAction, code)) {
    view.Host().Beep();
    return false;
  }
  switch (choice.kind) {
    case TNoteChoice::kTie:
      if (note->IsTieOut())
        note->ClearNoteFlag(kFlagTieOut);
      else
        note->SetNoteFlag(kFlagTieOut);
      break;
    case TNoteChoice::kColor:
      if (note == item) {
        // A single note's colour is the item's.
        item->SetColor(choice.value);
        note->SetNoteColor(0);
      } else {
        note->SetNoteColor(choice.value);
      }
      break;
    case TNoteChoice::kAccidental:
      // Choosing the accidental the member has returns it to the automatic one.
      if (note->GetAccidental() == choice.value)
        note->ClearAutoAccidental();
      else
        note->SetAccidental(choice.value);
      break;
    case TNoteChoice::kHead: note->SetNoteHead(choice.value); break;
  }
  item->Update();
  TMusicStaff& staff = *view.ActiveStaff();
  AuditStaffRange(staff, itemIndex, itemIndex);
  view.EndUndoState();
  view.StaffChanged(view.Caret().staff, itemIndex);
  return true;
}

}  // namespace kvt
