#include "app/editor/user_object_popup.h"

#include <QMenu>
#include <string>
#include <vector>

#include "app/editor/edit_popup_menus.h"
#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/undo_snapshot.h"
#include "notation/index/simple_ntn_idx.h"
#include "notation/items/item_cast.h"
#include "notation/items/user_object.h"
#include "notation/services/user_object_host.h"
#include "notation/staff/music_staff.h"
#include "tools/command_table.h"

namespace kvt {

namespace {

// Values of a yes/no property.
constexpr std::string_view kYes = "Y";
constexpr std::string_view kNo = "N";

TKVTUserObject* FindObject(TScoreEdit& view, int itemIndex) {
  TMusicStaff* staff = view.ActiveStaff();
  if (!staff || itemIndex < 1 || itemIndex >= staff->GetLastIndex()) return nullptr;
  return ItemAs<TKVTUserObject>(staff->GetItem(itemIndex));
}

bool WriteProperty(TScoreEdit& view, const TKVTUserObject* expected, int itemIndex,
                   const std::string& name, const std::string& value) {
  if (!ItemStillAt(view, itemIndex, expected)) {
    view.Host().Beep();
    return false;
  }
  return ChangeUserObject(view, itemIndex, [&](TKVTUserObject& object) {
    const std::string* now = object.FindParamValue(name);
    if (now && *now == value) return false;
    object.SetParam(name, value);
    return object.FindParamValue(name) != nullptr;
  });
}

bool RunMenu(TScoreEdit& view, const TKVTUserObject* expected, int itemIndex, int entry,
             int choice) {
  if (!ItemStillAt(view, itemIndex, expected)) {
    view.Host().Beep();
    return false;
  }
  return ChangeUserObject(view, itemIndex, [&](TKVTUserObject& object) {
    TSimpleNtnIdx index(view.ActiveStaff(), itemIndex);
    return view.Host().UserObjects().RunUserObjectMenu(index, object, entry, choice);
  });
}

QAction* AddAction(QMenu& menu, const QString& text, const QString& name, bool enabled) {
  QAction* action = menu.addAction(text);
  action->setObjectName(name);
  action->setEnabled(enabled);
  return action;
}

void AddEntry(QMenu& menu, TScoreEdit& view, int itemIndex, const TKVTUserObject& object,
              const TUserObjectPopupEntry& e, int n) {
  const bool enabled = view.CanEdit() && !e.disabled;
  const QString text = LiteralMenuText(e.text);
  const QString name = QStringLiteral("entry%1").arg(n);
  QMenu* parent = &menu;
  if (e.separatorBefore) menu.addSeparator();
  switch (e.kind) {
    case TUserObjectPopupEntry::kCommand: {
      QAction* action = AddAction(menu, text, name, enabled);
      action->setCheckable(e.checked);
      action->setChecked(e.checked);
      QObject::connect(action, &QAction::triggered, parent,
                       [&view, o = &object, itemIndex, n] { RunMenu(view, o, itemIndex, n, -1); });
      return;
    }
    case TUserObjectPopupEntry::kBoolProperty: {
      const std::string* value = object.FindParamValue(e.property);
      const bool on = value && *value == kYes;
      QAction* action = AddAction(menu, text, name, enabled);
      action->setCheckable(true);
      action->setChecked(on);
      const std::string property = e.property;
      QObject::connect(action, &QAction::triggered, parent,
                       [&view, o = &object, itemIndex, property, on] {
                         WriteProperty(view, o, itemIndex, property, std::string(on ? kNo : kYes));
                       });
      return;
    }
    case TUserObjectPopupEntry::kChoice:
    case TUserObjectPopupEntry::kEnumProperty: break;
  }
  if (!enabled || e.choices.empty()) {
    // A disabled choice shows as a plain greyed entry.
    AddAction(menu, text, name, false);
    return;
  }
  QMenu* sub = menu.addMenu(text);
  sub->setObjectName(name);
  sub->menuAction()->setObjectName(name);
  const std::string* value = object.FindParamValue(e.property);
  for (int c = 0; c < static_cast<int>(e.choices.size()); ++c) {
    const std::string& choice = e.choices[static_cast<size_t>(c)];
    QAction* action =
        AddAction(*sub, LiteralMenuText(choice), QStringLiteral("%1.%2").arg(name).arg(c), true);
    action->setCheckable(true);
    if (e.kind == TUserObjectPopupEntry::kChoice) {
      action->setChecked(c == e.checkedChoice);
      QObject::connect(action, &QAction::triggered, parent, [&view, o = &object, itemIndex, n, c] {
        RunMenu(view, o, itemIndex, n, c);
      });
    } else {
      action->setChecked(value && *value == choice);
      const std::string property = e.property;
      QObject::connect(action, &QAction::triggered, parent,
                       [&view, o = &object, itemIndex, property, choice] {
                         WriteProperty(view, o, itemIndex, property, choice);
                       });
    }
  }
}

}  // namespace

std::unique_ptr<QMenu> BuildUserObjectPopup(TScoreEdit& view, int itemIndex) {
  const TKVTUserObject* object = FindObject(view, itemIndex);
  if (!object) return nullptr;
  auto menu = std::make_unique<QMenu>();
  QAction* properties =
      AddAction(*menu, LiteralMenuText(object->GetTypeName()) + QStringLiteral("..."),
                QStringLiteral("properties"), view.CanEdit());
  QObject::connect(properties, &QAction::triggered, menu.get(), [&view, object, itemIndex] {
    if (!ItemStillAt(view, itemIndex, object)) {
      view.Host().Beep();
      return;
    }
    if (!view.HasSelection()) {
      view.SetCaretIndex(itemIndex, false);
      view.SetCaretIndex(itemIndex + 1, true);
    }
    view.Commands().Post(kCmdNotationProperties);
  });

  TSimpleNtnIdx index(view.ActiveStaff(), itemIndex);
  const std::vector<TUserObjectPopupEntry> entries =
      view.Host().UserObjects().GetUserObjectPopup(index);
  if (!entries.empty()) menu->addSeparator();
  for (int n = 0; n < static_cast<int>(entries.size()); ++n)
    AddEntry(*menu, view, itemIndex, *object, entries[static_cast<size_t>(n)], n);
  return menu;
}

bool ChangeUserObject(TScoreEdit& view, int itemIndex,
                      const std::function<bool(TKVTUserObject&)>& edit) {
  TKVTUserObject* object = FindObject(view, itemIndex);
  if (!object || !view.CanEdit()) {
    view.Host().Beep();
    return false;
  }
  TKVTUserObject edited(object->GetTypeName());
  edited = *object;
  if (!edit(edited)) return false;
  const TEditorCaret& at = view.Caret();
  const bool inSelection =
      at.HasSelection() && itemIndex >= at.SelectionStart() && itemIndex <= at.SelectionEnd();
  if (!inSelection) view.SetCaretIndex(itemIndex + 1, false);
  const int code = inSelection ? kUndoChangeSelection : kUndoPropertyChange;
  if (!view.SaveUndoState(kUndoEditorAction, code)) {
    view.Host().Beep();
    return false;
  }
  *object = edited;
  view.EndUndoState();
  view.StaffChanged(view.Caret().staff, itemIndex);
  return true;
}

}  // namespace kvt
