// The editing view's context popups: which one shows where, their items' state from the
// command table, the note popup's choices (each undone and redone) and the user object's own
// popup with the null and with a scripted user-object host.

#include <gtest/gtest.h>

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>
#include <set>
#include <vector>

#include "app/editor/context_popup.h"
#include "app/editor/edit_popup_menus.h"
#include "app/editor/note_popup_menu.h"
#include "app/editor/undo_snapshot.h"
#include "app/editor/user_object_popup.h"
#include "notation/items/chord_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/music_note.h"
#include "notation/items/user_object.h"
#include "tests/app/editor/edit_mouse_fixture.h"
#include "tools/command_table.h"

namespace kvt {
namespace edit_mouse_test {
namespace {

// The command ids of a popup's items, submenus included.
std::set<int> CommandIds(const QMenu& menu) {
  std::set<int> ids;
  for (QAction* action : menu.actions()) {
    if (action->menu()) {
      const std::set<int> sub = CommandIds(*action->menu());
      ids.insert(sub.begin(), sub.end());
    } else if (action->data().isValid()) {
      ids.insert(action->data().toInt());
    }
  }
  return ids;
}

QAction* Named(QMenu& menu, const QString& name) {
  QAction* found = menu.findChild<QAction*>(name);
  if (!found) ADD_FAILURE() << "no action " << name.toStdString();
  return found;
}

class ScoreEditPopupTest : public EditMouseTest {
protected:
  // A point on the chord's member `m` (its head's box).
  QPoint OnMember(int chordIndex, int m) {
    auto* chord = ItemAs<TMusicNote>(Staff().GetItem(chordIndex));
    const int position = chord->GetMember(m)->GetStaffPos();
    // Inside the head: a little right of the item's x.
    for (int dx = 0; dx < 40; ++dx) {
      const QPoint at = At(chordIndex, position) + QPoint(dx, 0);
      int item = 0, member = -1;
      if (FindNoteHeadAt(*view, at, item, member) && item == chordIndex && member == m) return at;
    }
    ADD_FAILURE() << "no head found";
    return {};
  }
  QPoint OnObject() {
    const int object = IndexOf(kItemUserObject);
    const auto& item = ItemRef<TKVTUserObject>(*Staff().GetItem(object));
    return At(object, static_cast<int>(item.GetPos()));
  }
};

TEST_F(ScoreEditPopupTest, WhichPopupAClickShows) {
  TScoreEdit& edit = Open();
  const int chord = IndexOf(kItemChord);
  const int object = IndexOf(kItemUserObject);
  struct TCase {
    const char* name;
    int anchor, caret;  // the selection before the click
    QPoint at;
    bool middle;
    int want;
  };
  const QPoint empty = At(chord + 2, -8);  // inside the staff, no head there
  const QPoint below(300, edit.StaffRect(1).bottom() + 5);
  const std::vector<TCase> cases = {
      {"Head", chord, chord, OnMember(chord, 1), false, kPopupNote},
      {"HeadWithMiddleHeld", chord, chord, OnMember(chord, 1), true, kPopupInsert},
      {"HeadWithSelection", chord, chord + 2, OnMember(chord, 1), false, kPopupSelection},
      {"Object", chord, chord, OnObject(), false, kPopupObjectOwn},
      {"ObjectInTheSelection", object - 1, object + 1, OnObject(), false, kPopupObjectOwn},
      {"OneObjectSelected", object, object + 1, empty, false, kPopupUserObject},
      {"ObjectOutsideTheSelection", chord, chord + 1, OnObject(), false, kPopupSelection},
      {"EmptyPlaceInTheStaff", chord, chord, empty, false, kPopupInsert},
      {"OutsideTheStaves", chord, chord, below, false, kPopupStaff},
  };
  for (const TCase& c : cases) {
    edit.SetActiveStaff(0, false);
    edit.SetCaretIndex(c.anchor, false);
    edit.SetCaretIndex(c.caret, true);
    const TContextPopup popup = PrepareMousePopup(edit, c.at, c.middle);
    EXPECT_EQ(popup.position, c.want) << c.name;
    EXPECT_NE(popup.menu, nullptr) << c.name;
    EXPECT_EQ(popup.at, c.at) << c.name;
  }
}

TEST_F(ScoreEditPopupTest, RightClickInTheStaffMovesTheCaretWhenTheOptionSaysSo) {
  TScoreEdit& edit = Open();
  const int chord = IndexOf(kItemChord);
  const QPoint onLower(edit.OriginX() + 300, edit.StaffRect(1).top() + 2);
  host.options.rightMouseSetsCaret = false;
  edit.SetCaretIndex(chord, false);
  EXPECT_EQ(PrepareMousePopup(edit, onLower, false).position, kPopupInsert);
  EXPECT_EQ(edit.ActiveScoreStaff(), 0);
  EXPECT_EQ(edit.Caret().caret, chord);
  host.options.rightMouseSetsCaret = true;
  EXPECT_EQ(PrepareMousePopup(edit, onLower, false).position, kPopupInsert);
  EXPECT_EQ(edit.ActiveScoreStaff(), 1);
}

TEST_F(ScoreEditPopupTest, TheContextKeyShowsThePopupOfTheSelectionAtTheCaret) {
  TScoreEdit& edit = Open();
  const int chord = IndexOf(kItemChord);
  const int object = IndexOf(kItemUserObject);
  struct TCase {
    int anchor, caret, want;
  };
  for (const TCase c :
       {TCase{chord, chord, kPopupInsert}, TCase{object, object + 1, kPopupUserObject},
        TCase{object + 1, object, kPopupUserObject}, TCase{chord, chord + 3, kPopupSelection}}) {
    edit.SetCaretIndex(c.anchor, false);
    edit.SetCaretIndex(c.caret, true);
    const TContextPopup popup = PrepareKeyboardPopup(edit);
    EXPECT_EQ(popup.position, c.want) << c.anchor << " " << c.caret;
    EXPECT_EQ(popup.at, edit.CaretPoint());
  }
}

TEST_F(ScoreEditPopupTest, ContextMenuEventsOfMouseAndKeyShowThePopup) {
  TScoreEdit& edit = Open();
  const int chord = IndexOf(kItemChord);
  edit.SetCaretIndex(chord, false);
  QStringList shown;
  // Closes the popup once it runs, noting its first item.
  const auto closeWhenShown = [&shown] {
    QTimer::singleShot(0, [&shown] {
      if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
        shown << menu->actions().value(0)->text();
        menu->close();
      }
    });
  };
  closeWhenShown();
  const QPoint head = OnMember(chord, 0);
  QContextMenuEvent click(QContextMenuEvent::Mouse, head, edit.viewport()->mapToGlobal(head));
  QApplication::sendEvent(edit.viewport(), &click);
  closeWhenShown();
  QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(), QPoint());
  QApplication::sendEvent(&edit, &key);
  EXPECT_EQ(shown, (QStringList{QStringLiteral("T&ie"), QStringLiteral("&Note\tEnter")}));
}

TEST_F(ScoreEditPopupTest, PopupsListTheirCommands) {
  TScoreEdit& edit = Open();
  struct TCase {
    int position;
    std::set<int> some;
  };
  for (const TCase& c :
       {TCase{1, {128, 129, 130, 131, 145, 149, 34, 51}},
        TCase{2, {32, 33, 221, 34, 35, 103, 97, 116, 113, 115, 111, 289, 224}},
        TCase{3, {217, 218, 226, 227, 219, 220, 162, 163, 164, 62}}, TCase{16, {168, 224}}}) {
    const std::unique_ptr<QMenu> menu = BuildEditPopup(edit, c.position);
    ASSERT_NE(menu, nullptr);
    const std::set<int> ids = CommandIds(*menu);
    for (int id : c.some) EXPECT_TRUE(ids.count(id)) << c.position << ": " << id;
  }
  EXPECT_EQ(BuildEditPopup(edit, 5), nullptr);
}

TEST_F(ScoreEditPopupTest, ItemsTakeTheirStateFromTheCommandTableAndRunTheCommand) {
  TScoreEdit& edit = Open();
  int ran = 0;
  edit.Commands().Register(128, [&](int32_t) { ++ran; });
  edit.Commands().Unregister(130);
  edit.Commands().Register(
      131, [&](int32_t) {}, [](TCommandEnabler& e) { e.Enable(false); });
  edit.Commands().Register(
      129, [&](int32_t) {},
      [](TCommandEnabler& e) {
        e.Enable(true);
        e.SetCheck(kChecked);
        e.SetText(QStringLiteral("&Rest (now)"));
      });
  const std::unique_ptr<QMenu> menu = BuildEditPopup(edit, kPopupInsert);
  QAction* note = nullptr;
  for (QAction* a : menu->actions()) {
    const int id = a->data().isValid() ? a->data().toInt() : 0;
    if (id == 128) note = a;
    if (id == 128) EXPECT_TRUE(a->isEnabled());
    if (id == 128) EXPECT_EQ(a->text(), QStringLiteral("&Note\tEnter"));
    if (id == 130) EXPECT_FALSE(a->isEnabled()) << "not registered";
    if (id == 131) EXPECT_FALSE(a->isEnabled());
    if (id == 129) {
      EXPECT_TRUE(a->isChecked());
      EXPECT_EQ(a->text(), QStringLiteral("&Rest (now)"));
    }
  }
  ASSERT_NE(note, nullptr);
  note->trigger();
  EXPECT_EQ(ran, 1);
}

// --- the note popup ---

struct TNoteCase {
  const char* name;
  bool chord;  // on the chord's middle member, else on the single note
  const char* action;
  int undoCode;
};

class NotePopupTest : public ScoreEditPopupTest, public ::testing::WithParamInterface<TNoteCase> {};

TEST_P(NotePopupTest, ChoiceChangesTheMemberAndUndoesAndRedoes) {
  const TNoteCase& c = GetParam();
  TScoreEdit& edit = Open();
  const int item = c.chord ? IndexOf(kItemChord) : IndexOf(kItemNote);
  const int member = c.chord ? 1 : 0;
  const std::string before = Lines();
  const std::string lower = Lines(1);
  TContextPopup popup = PrepareMousePopup(edit, OnMember(item, member), false);
  ASSERT_EQ(popup.position, kPopupNote);
  QAction* action = Named(*popup.menu, QString::fromLatin1(c.action));
  ASSERT_NE(action, nullptr);
  EXPECT_FALSE(action->isChecked());
  action->trigger();
  const std::string after = Lines();
  EXPECT_NE(after, before);
  EXPECT_EQ(edit.Caret().caret, item + 1);
  EXPECT_FALSE(edit.HasSelection());
  ASSERT_TRUE(undo.CanUndo());
  EXPECT_EQ(undo.PeekUndo(0).kind, kUndoEditorAction);
  EXPECT_EQ(undo.PeekUndo(0).command, c.undoCode);
  // The choice shows checked on the changed member now.
  TContextPopup again = PrepareMousePopup(edit, OnMember(item, member), false);
  ASSERT_EQ(again.position, kPopupNote);
  EXPECT_TRUE(Named(*again.menu, QString::fromLatin1(c.action))->isChecked());
  // Only that member changed: the others keep their state.
  if (c.chord) {
    const auto& chord = ItemRef<TChordData>(*Staff().GetItem(item));
    const TMusicNote& other = *chord.GetMember(0);
    EXPECT_FALSE(other.IsTieOut());
    EXPECT_EQ(other.GetHeadShape(), 0);
    EXPECT_EQ(other.GetNoteColor(), 0);
    EXPECT_EQ(other.GetAccidental(), 5);
  }

  ASSERT_TRUE(edit.Undo());
  EXPECT_EQ(Lines(), before);
  ASSERT_TRUE(edit.Redo());
  EXPECT_EQ(Lines(), after);
  EXPECT_EQ(Lines(1), lower);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, NotePopupTest,
    ::testing::Values(TNoteCase{"ChordTie", true, "tie", kUndoPropertyChange},
                      TNoteCase{"ChordColor", true, "color3", kUndoPropertyChange},
                      TNoteCase{"ChordSharp", true, "accidental0", kUndoPropertyChange},
                      TNoteCase{"ChordDoubleFlat", true, "accidental4", kUndoPropertyChange},
                      TNoteCase{"ChordHead", true, "head5", kUndoNoteheadChange},
                      TNoteCase{"NoteTie", false, "tie", kUndoPropertyChange},
                      TNoteCase{"NoteColor", false, "color7", kUndoPropertyChange},
                      TNoteCase{"NoteNatural", false, "accidental2", kUndoPropertyChange},
                      TNoteCase{"NoteHead", false, "head1", kUndoNoteheadChange}),
    [](const ::testing::TestParamInfo<TNoteCase>& info) { return std::string(info.param.name); });

TEST_F(ScoreEditPopupTest, NotePopupChecksTheMembersStateAndBeepsInViewerMode) {
  TScoreEdit& edit = Open();
  const int chord = IndexOf(kItemChord);
  auto& item = ItemRef<TChordData>(*Staff().GetItem(chord));
  item.GetMember(2)->SetNoteHead(3);
  item.GetMember(2)->SetAccidental(1);
  const std::unique_ptr<QMenu> menu = BuildNotePopup(edit, chord, 2);
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(Named(*menu, QStringLiteral("head3"))->isChecked());
  EXPECT_FALSE(Named(*menu, QStringLiteral("head0"))->isChecked());
  EXPECT_TRUE(Named(*menu, QStringLiteral("accidental1"))->isChecked());
  EXPECT_TRUE(Named(*menu, QStringLiteral("color0"))->isChecked());
  EXPECT_EQ(Named(*menu, QStringLiteral("accidental0"))->text(), QStringLiteral("&Sharp"));
  // Choosing the accidental it has returns the member to the automatic one.
  Named(*menu, QStringLiteral("accidental1"))->trigger();
  EXPECT_EQ(item.GetMember(2)->GetAccidental(), 5);

  edit.SetActive(false);
  const std::string before = Lines();
  const int beeps = host.beeps;
  EXPECT_FALSE(ApplyNoteChoice(edit, chord, 2, {TNoteChoice::kHead, 1}));
  EXPECT_EQ(host.beeps, beeps + 1);
  EXPECT_EQ(Lines(), before);
  edit.SetActive(true);
  // Not a note, or a member it does not have: nothing.
  EXPECT_EQ(BuildNotePopup(edit, IndexOf(kItemUserObject), 0), nullptr);
  EXPECT_EQ(BuildNotePopup(edit, chord, 3), nullptr);
  EXPECT_FALSE(ApplyNoteChoice(edit, chord, 7, {TNoteChoice::kTie, 0}));
  EXPECT_EQ(Lines(), before);
}

// --- the user object's popup ---

// A plug-in host with a fixed popup; its menu function writes "Done" into the "Last"
// parameter for entries it changes.
class TScriptedObjects final : public TUserObjectHost {
public:
  bool IsUserObjectTypeLoaded(const char*) override { return true; }
  void PlayUserObject(TSimpleNtnIdx&, TStaffContextState&, TMidiFileBuf*) override {}
  void RunUserObjectAudit(TSimpleNtnIdx&) override {}
  void SpinUserObject(TSimpleNtnIdx&, int) override {}
  void TransposeUserObject(TSimpleNtnIdx&, const TStaffContextState&, int, int, bool) override {}

  std::vector<TUserObjectPopupEntry> GetUserObjectPopup(TSimpleNtnIdx&) override {
    using E = TUserObjectPopupEntry;
    std::vector<E> entries(5);
    entries[0].kind = E::kCommand;
    entries[0].text = "Re&set";
    entries[1].kind = E::kChoice;
    entries[1].text = "Style";
    entries[1].choices = {"Plain", "Rock & Roll"};
    entries[1].checkedChoice = 0;
    entries[2].kind = E::kEnumProperty;
    entries[2].text = "Si&ze";
    entries[2].property = "Size";
    entries[2].choices = {"Big", "Small"};
    entries[2].separatorBefore = true;
    entries[3].kind = E::kBoolProperty;
    entries[3].text = "Bold";
    entries[3].property = "Bold";
    entries[4].kind = E::kCommand;
    entries[4].text = "Nothing";
    return entries;
  }
  bool RunUserObjectMenu(TSimpleNtnIdx&, TKVTUserObject& edited, int entry, int choice) override {
    calls.push_back({entry, choice});
    if (entry == 4) return false;
    edited.SetParam("Last", entry == 1 ? "Choice " + std::to_string(choice) : "Reset");
    return true;
  }

  std::vector<std::pair<int, int>> calls;
};

TEST_F(ScoreEditPopupTest, ChoiceAfterTheStaffChangedUnderThePopupChangesNothing) {
  TScriptedObjects objects;
  host.userObjects = &objects;
  TScoreEdit& edit = Open();
  const int chord = IndexOf(kItemChord);
  const int object = IndexOf(kItemUserObject);
  const std::unique_ptr<QMenu> notes = BuildNotePopup(edit, chord, 0);
  const std::unique_ptr<QMenu> own = BuildUserObjectPopup(edit, object);
  // While the popups are open an item before both goes (as MIDI input could change the staff).
  Staff().DetachItemAndAudit(chord - 1);
  edit.StaffChanged(0, chord - 1);
  const std::string before = Lines();
  const int beeps = host.beeps;
  Named(*notes, QStringLiteral("head4"))->trigger();
  Named(*own, QStringLiteral("entry3"))->trigger();
  Named(*own, QStringLiteral("entry0"))->trigger();
  EXPECT_EQ(Lines(), before);
  EXPECT_EQ(host.beeps, beeps + 3);
  EXPECT_FALSE(undo.CanUndo());
  EXPECT_TRUE(objects.calls.empty());
}

TEST_F(ScoreEditPopupTest, ObjectPopupWithTheNullHostHasOnlyItsPropertiesItem) {
  TScoreEdit& edit = Open();
  const int object = IndexOf(kItemUserObject);
  const std::unique_ptr<QMenu> menu = BuildUserObjectPopup(edit, object);
  ASSERT_NE(menu, nullptr);
  ASSERT_EQ(menu->actions().size(), 1);
  QAction* properties = menu->actions()[0];
  EXPECT_EQ(properties->text(), QStringLiteral("Flag..."));
  EXPECT_TRUE(properties->isEnabled());
  // It selects the object when nothing is selected.
  properties->trigger();
  EXPECT_EQ(edit.Caret().anchor, object);
  EXPECT_EQ(edit.Caret().caret, object + 1);
  edit.SetActive(false);
  EXPECT_FALSE(BuildUserObjectPopup(edit, object)->actions()[0]->isEnabled());
  EXPECT_EQ(BuildUserObjectPopup(edit, object - 1), nullptr);
}

TEST_F(ScoreEditPopupTest, ObjectPopupOffersThePluginsEntriesLiterally) {
  TScriptedObjects objects;
  host.userObjects = &objects;
  TScoreEdit& edit = Open();
  const std::unique_ptr<QMenu> menu = BuildUserObjectPopup(edit, IndexOf(kItemUserObject));
  ASSERT_NE(menu, nullptr);
  QStringList texts;
  for (QAction* a : menu->actions()) texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
  EXPECT_EQ(texts,
            (QStringList{"Flag...", "-", "Re&&set", "Style", "-", "Si&&ze", "Bold", "Nothing"}));
  QMenu* style = Named(*menu, QStringLiteral("entry1"))->menu();
  ASSERT_NE(style, nullptr);
  ASSERT_EQ(style->actions().size(), 2);
  EXPECT_TRUE(style->actions()[0]->isChecked());
  EXPECT_EQ(style->actions()[1]->text(), QStringLiteral("Rock && Roll"));
  QMenu* size = menu->findChild<QMenu*>(QStringLiteral("entry2"));
  ASSERT_NE(size, nullptr);
  EXPECT_TRUE(size->actions()[0]->isChecked()) << "the object's Size is Big";
  EXPECT_FALSE(Named(*menu, QStringLiteral("entry3"))->isChecked());
}

struct TObjectCase {
  const char* name;
  const char* action;
  const char* param;
  const char* value;
};

class ObjectPopupChangeTest : public ScoreEditPopupTest,
                              public ::testing::WithParamInterface<TObjectCase> {};

TEST_P(ObjectPopupChangeTest, ChangeIsWrittenBackAfterAnUndoEntry) {
  const TObjectCase& c = GetParam();
  TScriptedObjects objects;
  host.userObjects = &objects;
  TScoreEdit& edit = Open();
  const int object = IndexOf(kItemUserObject);
  const std::string before = Lines();
  for (bool selected : {false, true}) {
    SCOPED_TRACE(selected ? "selected" : "nothing selected");
    if (selected) {
      edit.SetCaretIndex(object - 1, false);
      edit.SetCaretIndex(object + 2, true);
    } else {
      edit.SetCaretIndex(1, false);
    }
    const TEditorCaret caretBefore = edit.Caret();
    TContextPopup popup = PrepareMousePopup(edit, OnObject(), false);
    ASSERT_EQ(popup.position, kPopupObjectOwn);
    QAction* action = Named(*popup.menu, QString::fromLatin1(c.action));
    ASSERT_NE(action, nullptr);
    action->trigger();
    const auto& item = ItemRef<TKVTUserObject>(*Staff().GetItem(object));
    ASSERT_NE(item.FindParamValue(c.param), nullptr);
    EXPECT_EQ(*item.FindParamValue(c.param), c.value);
    EXPECT_EQ(undo.PeekUndo(0).kind, kUndoEditorAction);
    if (selected) {
      EXPECT_EQ(undo.PeekUndo(0).command, kUndoChangeSelection);
      EXPECT_EQ(edit.Caret(), caretBefore);
    } else {
      EXPECT_EQ(undo.PeekUndo(0).command, kUndoPropertyChange);
      EXPECT_EQ(edit.Caret().caret, object + 1);
      EXPECT_FALSE(edit.HasSelection());
    }
    const std::string after = Lines();
    EXPECT_NE(after, before);
    ASSERT_TRUE(edit.Undo());
    EXPECT_EQ(Lines(), before);
    ASSERT_TRUE(edit.Redo());
    EXPECT_EQ(Lines(), after);
    ASSERT_TRUE(edit.Undo());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ObjectPopupChangeTest,
    ::testing::Values(TObjectCase{"MenuCommand", "entry0", "Last", "Reset"},
                      TObjectCase{"MenuChoice", "entry1.1", "Last", "Choice 1"},
                      TObjectCase{"EnumProperty", "entry2.1", "Size", "Small"},
                      TObjectCase{"BoolProperty", "entry3", "Bold", "Y"}),
    [](const ::testing::TestParamInfo<TObjectCase>& info) { return std::string(info.param.name); });

TEST_F(ScoreEditPopupTest, UnchangedObjectLeavesNoUndoEntry) {
  TScriptedObjects objects;
  host.userObjects = &objects;
  TScoreEdit& edit = Open();
  const int object = IndexOf(kItemUserObject);
  const std::unique_ptr<QMenu> menu = BuildUserObjectPopup(edit, object);
  const int top = undo.Top();
  // The plug-in changed nothing; the property already has the value chosen.
  Named(*menu, QStringLiteral("entry4"))->trigger();
  Named(*menu, QStringLiteral("entry2.0"))->trigger();
  EXPECT_EQ(undo.Top(), top);
  EXPECT_EQ(objects.calls, (std::vector<std::pair<int, int>>{{4, -1}}));
  // An inactive editor may not edit: a beep and nothing changes.
  edit.SetActive(false);
  const int beeps = host.beeps;
  EXPECT_FALSE(ChangeUserObject(edit, object, [](TKVTUserObject& o) {
    o.SetParam("Size", "Small");
    return true;
  }));
  EXPECT_EQ(host.beeps, beeps + 1);
  EXPECT_EQ(undo.Top(), top);
}

}  // namespace
}  // namespace edit_mouse_test
}  // namespace kvt
