#include "tools/toolbar.h"

#include "tests/tools/toolbar_fixture.h"
#include "tools/dock_station.h"
#include "tools/toolbar_frame.h"
#include "tools/toolbar_gadgets.h"
#include "utils/precondition.h"

#include <QCoreApplication>
#include <QMenu>
#include <QTimer>

namespace kvt {
namespace {

using ToolbarTest = test::ToolbarFixture;

void Settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

TEST_F(ToolbarTest, ToolbarsGetCommandIdsInCreationOrder) {
  TToolbar* a = AddToolbar("Main", TBRS_ALIGN_TOP, 2);
  TToolbar* b = AddToolbar("Notes", TBRS_ALIGN_LEFT, 2);
  EXPECT_EQ(a->CommandId(), 20310);
  EXPECT_EQ(b->CommandId(), 20311);
  EXPECT_EQ(list->FindByTitle("Notes"), 1);
  EXPECT_EQ(list->FindByTitle("None"), -1);
  EXPECT_EQ(window->toolBarArea(a), Qt::TopToolBarArea);
  EXPECT_EQ(window->toolBarArea(b), Qt::LeftToolBarArea);
  EXPECT_TRUE(b->IsVertical());
  delete a;
  EXPECT_EQ(b->CommandId(), 20310);
}

TEST_F(ToolbarTest, NoNinetyFirstToolbar) {
  for (int i = 0; i < kMaxToolbars; ++i)
    ASSERT_NE(list->Add(QString("T%1").arg(i), TBRS_ALIGN_TOP, false), nullptr);
  EXPECT_EQ(list->Add("One too many", TBRS_ALIGN_TOP, false), nullptr);
  EXPECT_EQ(list->Toolbars().back()->CommandId(), kLastToolbarCommand);
}

TEST_F(ToolbarTest, StyleWithoutAnEdgeIsAPreconditionError) {
  TToolbar* a = AddToolbar("Main", TBRS_ALIGN_TOP, 1);
  EXPECT_THROW(a->SetStyle(TBRS_FLOATING, false), TPreconditionError);
}

TEST_F(ToolbarTest, ClosingTheFloatingFrameHidesAndTheCommandBringsItBackThere) {
  TToolbar* a = AddToolbar("Main", TBRS_ALIGN_TOP, 3);
  a->SetFloatPosition(QPoint(200, 150));
  a->SetStyle(TBRS_ALIGN_TOP | TBRS_FLOATING, false);
  ASSERT_NE(a->Frame(), nullptr);
  EXPECT_TRUE(a->IsFloating());
  EXPECT_EQ(a->Frame()->pos(), QPoint(200, 150));
  EXPECT_EQ(a->Frame()->windowTitle(), "Main");

  a->Frame()->close();
  Settle();
  EXPECT_TRUE(a->IsHidden());
  EXPECT_EQ(a->Frame(), nullptr);
  EXPECT_FALSE(commands.Action(20310) == nullptr);
  EXPECT_FALSE(commands.Action(20310)->isChecked());

  EXPECT_TRUE(commands.Execute(20310));
  ASSERT_NE(a->Frame(), nullptr);
  EXPECT_EQ(a->Frame()->pos(), QPoint(200, 150));
  commands.Refresh();
  EXPECT_TRUE(commands.Action(20310)->isChecked());
}

TEST_F(ToolbarTest, PlacesSurviveARestart) {
  TToolbar* a = AddToolbar("Main", TBRS_ALIGN_TOP, 3);
  AddToolbar("Notes", TBRS_ALIGN_TOP, 2);
  a->SetButtonSize(24);
  a->SetFloatPosition(QPoint(220, 160));
  a->SetStyle(TBRS_ALIGN_LEFT | TBRS_FLOATING, false);
  Restart();
  TToolbar* again = AddToolbar("Main", TBRS_ALIGN_TOP, 3);
  TToolbar* notes = AddToolbar("Notes", TBRS_ALIGN_BOTTOM, 2);
  EXPECT_EQ(again->Style(), TBRS_ALIGN_LEFT | TBRS_FLOATING);
  EXPECT_EQ(again->FloatPosition(), QPoint(220, 160));
  EXPECT_EQ(again->ButtonSize(), 24);
  ASSERT_NE(again->Frame(), nullptr);
  EXPECT_EQ(window->toolBarArea(notes), Qt::TopToolBarArea);  // its saved edge wins
}

TEST_F(ToolbarTest, SavedFloatPositionOffTheScreenBecomesTenTen) {
  TToolbar* a = AddToolbar("Main", TBRS_ALIGN_TOP, 1);
  a->SetFloatPosition(QPoint(-40, 30000));
  Restart();
  TToolbar* again = AddToolbar("Main", TBRS_ALIGN_TOP, 1);
  EXPECT_EQ(again->FloatPosition(), QPoint(10, 10));
}

TEST_F(ToolbarTest, DeleteSavedLayoutForgetsEveryPlace) {
  TToolbar* a = AddToolbar("Main", TBRS_ALIGN_TOP, 1);
  a->SetStyle(TBRS_ALIGN_RIGHT, false);
  Restart();
  EXPECT_TRUE(list->DeleteSavedLayout());
  TToolbar* again = AddToolbar("Other", TBRS_ALIGN_TOP, 1);
  EXPECT_EQ(again->Style(), TBRS_ALIGN_TOP);
  delete again;
  Restart();
  EXPECT_TRUE(list->DeleteSavedLayout());
  EXPECT_EQ(AddToolbar("Main", TBRS_ALIGN_TOP, 1)->Style(), TBRS_ALIGN_TOP);
}

TEST_F(ToolbarTest, RemovingTheFirstOfARowPassesTheRowStartOn) {
  TToolbar* a = list->Add("A", TBRS_ALIGN_TOP, true);
  TToolbar* b = list->Add("B", TBRS_ALIGN_TOP, false);
  b->SetDockIndex(1);
  list->Station(TBRS_ALIGN_TOP).LayoutToolbars();
  EXPECT_FALSE(b->RowStart());
  a->SetStyle(TBRS_ALIGN_TOP | TBRS_HIDDEN, true);
  EXPECT_TRUE(b->RowStart());
  EXPECT_FALSE(list->Station(TBRS_ALIGN_TOP).Holds(a));
}

TEST_F(ToolbarTest, ButtonSizeIsClampedAndReachesTheButtons) {
  TToolbar* a = AddToolbar("Main", TBRS_ALIGN_TOP, 2);
  auto* button = a->FindButton(100);
  ASSERT_NE(button, nullptr);
  a->SetButtonSize(3);
  EXPECT_EQ(a->ButtonSize(), 6);
  a->SetButtonSize(500);
  EXPECT_EQ(a->ButtonSize(), 120);
  a->SetButtonSize(12);
  EXPECT_EQ(button->GlyphSize(), QSize(12, 12));
}

TEST_F(ToolbarTest, ContextMenuListsToolbarsAndChoosesButtonSizes) {
  AddToolbar("Main", TBRS_ALIGN_TOP, 2);
  TToolbar* b = AddToolbar("Notes", TBRS_ALIGN_TOP, 2);
  b->SetStyle(TBRS_ALIGN_TOP | TBRS_HIDDEN, true);
  QMenu sizes;
  for (int id : {2, 3, 4}) sizes.addAction(QString("%1 Pixels").arg(id * 6))->setData(id);
  list->SetContextMenu(&sizes);
  QStringList texts;
  QList<bool> checks;
  QMenu* shown = nullptr;
  QTimer::singleShot(0, [&] {
    for (QAction* action : shown->actions())
      if (!action->isSeparator()) {
        texts << action->text();
        checks << action->isChecked();
      }
    shown->close();
  });
  EXPECT_EQ(list->RunContextMenu(QPoint(100, 100), &shown), 0);
  EXPECT_EQ(texts, (QStringList{"Main", "Notes", "12 Pixels", "18 Pixels", "24 Pixels"}));
  EXPECT_EQ(checks, (QList<bool>{true, false, false, true, false}));
  list->ContextMenuChoice(2);
  EXPECT_EQ(b->ButtonSize(), 12);
  EXPECT_EQ(list->Toolbars()[0]->ButtonSize(), 12);
}

TEST_F(ToolbarTest, CommandPairsAndButtonsAreFound) {
  TToolbar* a = AddToolbar("Main", TBRS_ALIGN_TOP, 3, 200);
  EXPECT_TRUE(list->IsCommandPair(200, 201));
  EXPECT_FALSE(list->IsCommandPair(201, 200));
  QRect rect;
  QPoint menuAt;
  ASSERT_TRUE(list->LocateButton(201, rect, menuAt, false));
  EXPECT_EQ(menuAt, QPoint(rect.left(), rect.top() + rect.height()));
  a->SetStyle(TBRS_ALIGN_LEFT, false);
  ASSERT_TRUE(list->LocateButton(201, rect, menuAt, false));
  EXPECT_EQ(menuAt, QPoint(rect.left() + rect.width(), rect.top()));
  EXPECT_FALSE(list->LocateButton(999, rect, menuAt, false));
}

TEST_F(ToolbarTest, DraggingWithCtrlFloatsAndDoubleClickDocks) {
  TToolbar* a = AddToolbar("Main", TBRS_ALIGN_TOP, 3);
  Settle();
  const QPoint grip(4, a->height() / 2);  // the gripper: the toolbar's background
  QTest::mousePress(a, Qt::LeftButton, Qt::ControlModifier, grip);
  EXPECT_EQ(window->statusBar()->currentMessage(), "Press the Ctrl key to prevent docking");
  QMouseEvent move(QEvent::MouseMove, QPointF(grip), QPointF(a->mapToGlobal(grip)), Qt::NoButton,
                   Qt::LeftButton, Qt::ControlModifier);
  QCoreApplication::sendEvent(a, &move);
  QTest::mouseRelease(a, Qt::LeftButton, Qt::ControlModifier, grip);
  EXPECT_TRUE(a->IsFloating());
  ASSERT_NE(a->Frame(), nullptr);
  EXPECT_EQ(window->statusBar()->currentMessage(), "");

  Settle();
  // On an enabled button a double click only beeps; on a disabled one it docks.
  TToolbarButtonGadget* button = a->FindButton(100);
  const QPoint onButton = button->mapTo(a, button->rect().center());
  QTest::mouseDClick(a, Qt::LeftButton, Qt::NoModifier, onButton);
  EXPECT_TRUE(a->IsFloating());
  button->setEnabled(false);
  Settle();
  QTest::mouseDClick(a, Qt::LeftButton, Qt::NoModifier, button->mapTo(a, button->rect().center()));
  EXPECT_FALSE(a->IsFloating());
  EXPECT_EQ(window->toolBarArea(a), Qt::TopToolBarArea);
}

TEST_F(ToolbarTest, FloatingFrameSnapsToTheLayouts) {
  TToolbar* a = AddToolbar("Main", TBRS_ALIGN_TOP, 6);
  a->SetStyle(TBRS_ALIGN_TOP | TBRS_FLOATING, false);
  ASSERT_NE(a->Frame(), nullptr);
  ASSERT_GE(a->FloatLayouts().size(), 3u);
  const int narrow = static_cast<int>(a->FloatLayouts().size()) - 1;
  EXPECT_EQ(a->Frame()->SnapLayout(1, true), narrow);
  EXPECT_EQ(a->Frame()->SnapLayout(5000, true), 0);
  a->SetFloatLayout(99);
  EXPECT_EQ(a->FloatLayoutIndex(), narrow);
  EXPECT_LT(a->Frame()->width(), a->Frame()->height());
}

}  // namespace
}  // namespace kvt

namespace kvt {
namespace {

TEST_F(ToolbarTest, TableRefreshReachesTheButtons) {
  TToolbar* a = AddToolbar("Main", TBRS_ALIGN_TOP, 2, 300);
  bool on = true;
  commands.Register(
      300, [](int32_t) {},
      [&](TCommandEnabler& ce) {
        ce.Enable(on);
        ce.SetCheck(kChecked);
      });
  commands.Refresh();
  EXPECT_TRUE(a->FindButton(300)->isEnabled());
  EXPECT_EQ(a->FindButton(300)->State(), kChecked);
  EXPECT_FALSE(a->FindButton(301)->isEnabled());  // no handler
  on = false;
  commands.Refresh();
  EXPECT_FALSE(a->FindButton(300)->isEnabled());
}

}  // namespace
}  // namespace kvt
