#include "tools/command_table.h"

#include "tools/kv_app_base.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QEventLoop>
#include <QMenu>
#include <QTimer>

#include <vector>

namespace kvt {
namespace {

class CommandTableTest : public testing::Test {
protected:
  TCommandTable table;
  std::vector<int32_t> ran;
  TCommandTable::THandler Record() {
    return [this](int32_t id) { ran.push_back(id); };
  }
};

TEST_F(CommandTableTest, HandledCommandsRunAndUnknownOnesAreDisabled) {
  table.Register(100, Record());
  EXPECT_TRUE(table.IsEnabled(100));
  EXPECT_TRUE(table.Execute(100));
  EXPECT_FALSE(table.IsEnabled(101));
  EXPECT_FALSE(table.Execute(101));
  EXPECT_EQ(ran, std::vector<int32_t>{100});
}

TEST_F(CommandTableTest, DisabledCommandDoesNotRun) {
  bool allowed = false;
  table.Register(100, Record(), [&](TCommandEnabler& ce) { ce.Enable(allowed); });
  EXPECT_FALSE(table.Execute(100));
  allowed = true;
  EXPECT_TRUE(table.Execute(100));
  EXPECT_EQ(ran.size(), 1u);
}

TEST_F(CommandTableTest, EnablerThatOnlyChecksLeavesAHandledCommandEnabled) {
  table.Register(100, Record(), [](TCommandEnabler& ce) { ce.SetCheck(kIndeterminate); });
  TCommandEnabler ce(100);
  table.Enable(ce);
  EXPECT_EQ(ce.enabled, true);
  EXPECT_EQ(ce.check, kIndeterminate);
}

TEST_F(CommandTableTest, RangesServeTheirIdsAndSingleIdsWin) {
  table.RegisterRange(20310, 20399, Record());
  table.Register(20320, [this](int32_t) { ran.push_back(-1); });
  for (int32_t id : {20309, 20310, 20320, 20399, 20400}) table.Execute(id);
  EXPECT_EQ(ran, (std::vector<int32_t>{20310, -1, 20399}));
}

TEST_F(CommandTableTest, HandlerMayUnregisterItself) {
  table.Register(7, [this](int32_t id) {
    table.Unregister(id);
    ran.push_back(id);
  });
  EXPECT_TRUE(table.Execute(7));
  EXPECT_FALSE(table.Execute(7));
  EXPECT_EQ(ran, std::vector<int32_t>{7});
}

TEST_F(CommandTableTest, ActionsFollowTheirEnablersWhenAMenuOpens) {
  bool on = true;
  int check = kUnchecked;
  table.Register(5, Record(), [&](TCommandEnabler& ce) {
    ce.Enable(on);
    ce.SetCheck(check);
    ce.SetText(on ? "On" : "Off");
  });
  QAction* action = table.Action(5);
  EXPECT_EQ(table.Action(5), action);
  EXPECT_TRUE(action->isEnabled());
  QMenu menu;
  menu.addAction(action);
  table.WatchMenu(&menu);
  on = false;
  check = kChecked;
  emit menu.aboutToShow();
  EXPECT_FALSE(action->isEnabled());
  EXPECT_TRUE(action->isChecked());
  EXPECT_EQ(action->text(), "Off");
  on = true;
  table.Refresh();
  action->trigger();
  EXPECT_EQ(ran, std::vector<int32_t>{5});
}

TEST_F(CommandTableTest, PostedCommandRunsFromTheEventLoop) {
  table.Register(9, Record());
  table.Post(9);
  EXPECT_TRUE(ran.empty());
  QEventLoop loop;
  QTimer::singleShot(0, &loop, &QEventLoop::quit);
  loop.exec();
  EXPECT_EQ(ran, std::vector<int32_t>{9});
}

TEST_F(CommandTableTest, ActionsRefreshWhenTheLoopFallsIdle) {
  bool on = true;
  table.Register(5, Record(), [&](TCommandEnabler& ce) { ce.Enable(on); });
  QAction* action = table.Action(5);
  table.StartIdleRefresh();
  QEventLoop loop;
  QTimer::singleShot(0, [&] { on = false; });
  QTimer::singleShot(30, &loop, &QEventLoop::quit);
  loop.exec();
  EXPECT_FALSE(action->isEnabled());
}

TEST(CommandTableAppTest, ApplicationHoldsOneTable) {
  EXPECT_EQ(&GetKVAppBase()->Commands(), &GetKVAppBase()->Commands());
  EXPECT_EQ(GetKVAppBase()->Commands().parent(), GetKVAppBase());
}

}  // namespace
}  // namespace kvt
