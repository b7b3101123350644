#include "tools/toolbar_button_gadget.h"

#include "tests/tools/toolbar_fixture.h"
#include "tools/command_table.h"
#include "tools/toolbar_gadgets.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTest>
#include <QTimer>

#include <vector>

namespace kvt {
namespace {

class ToolbarButtonGadgetTest : public ::testing::Test {
protected:
  void SetUp() override {
    table.RegisterRange(1, 999, [this](int32_t id) { posted.push_back(id); });
    host.resize(300, 60);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
  }

  TToolbarButtonGadget* Add(int32_t id, TToolbarButtonGadget::TType type, int state = 0) {
    auto* button = new TToolbarButtonGadget({}, id, type, true, state, test::SquareGlyph);
    button->SetTarget(&table);
    host.Add(button);
    return button;
  }

  void Click(QWidget* w) {
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, w->rect().center());
    RunPosted();
  }
  void RunPosted() {
    QEventLoop loop;
    QTimer::singleShot(0, &loop, &QEventLoop::quit);
    loop.exec();
  }

  TCommandTable table;
  TToolbarGadgets host;
  std::vector<int32_t> posted;
};

TEST_F(ToolbarButtonGadgetTest, ToggleFlipsAndPostsOnEveryActivation) {
  TToolbarButtonGadget* toggle = Add(10, TToolbarButtonGadget::Toggle);
  Click(toggle);
  EXPECT_EQ(toggle->State(), kChecked);
  Click(toggle);
  EXPECT_EQ(toggle->State(), kUnchecked);
  EXPECT_EQ(posted, (std::vector<int32_t>{10, 10}));
}

TEST_F(ToolbarButtonGadgetTest, ExclusiveGroupKeepsOneChecked) {
  TToolbarButtonGadget* a = Add(1, TToolbarButtonGadget::Exclusive, kChecked);
  TToolbarButtonGadget* b = Add(2, TToolbarButtonGadget::Exclusive);
  host.Add(new TKVToolbarSeparatorGadget);
  TToolbarButtonGadget* other = Add(3, TToolbarButtonGadget::Exclusive, kChecked);
  Click(b);
  EXPECT_EQ(a->State(), kUnchecked);
  EXPECT_EQ(b->State(), kChecked);
  EXPECT_EQ(other->State(), kChecked);  // beyond the separator: another group
  Click(b);                             // already checked: the command still goes, the group stays
  EXPECT_EQ(b->State(), kChecked);
  EXPECT_EQ(posted, (std::vector<int32_t>{2, 2}));
}

TEST_F(ToolbarButtonGadgetTest, ReleasingOutsideAfterDraggingOffPostsNothing) {
  TToolbarButtonGadget* button = Add(5, TToolbarButtonGadget::Plain);
  QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3));
  EXPECT_TRUE(button->IsPressed());
  QMouseEvent away(QEvent::MouseMove, QPointF(200, 200), button->mapToGlobal(QPointF(200, 200)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(button, &away);
  EXPECT_FALSE(button->IsPressed());
  QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(200, 200));
  RunPosted();
  EXPECT_TRUE(posted.empty());
}

TEST_F(ToolbarButtonGadgetTest, GlyphScalesToTheButtonSize) {
  TToolbarButtonGadget* button = Add(5, TToolbarButtonGadget::Plain);
  EXPECT_EQ(button->GlyphSize(), QSize(16, 16));  // its own height outside a toolbar
  for (int size : {24, 12}) {
    button->SetButtonSize(size);
    EXPECT_EQ(button->GlyphSize(), QSize(size, size));
    EXPECT_EQ(button->Cell(0).size(), QSize(size, size));
    EXPECT_EQ(button->sizeHint(), QSize(size + 4, size + 4));
  }
}

TEST_F(ToolbarButtonGadgetTest, DisabledLookCoversTheWholeOfALargeGlyph) {
  auto big = [](const TGlyphResource&) {
    QImage image(200, 200, QImage::Format_ARGB32);
    image.fill(Qt::black);
    return image;
  };
  TToolbarButtonGadget button({}, 1, TToolbarButtonGadget::Plain, false, 0, big);
  const QImage& disabled = button.Cell(button.CurrentCell());
  ASSERT_EQ(disabled.size(), QSize(200, 200));
  EXPECT_NE(qAlpha(disabled.pixel(190, 190)), 0);  // beyond a 128-pixel mask
}

TEST_F(ToolbarButtonGadgetTest, OversizedGlyphPictureIsRefused) {
  auto huge = [](const TGlyphResource&) { return QImage(4000, 16, QImage::Format_ARGB32); };
  TToolbarButtonGadget button({}, 1, TToolbarButtonGadget::Plain, true, 0, huge);
  EXPECT_TRUE(button.Cell(0).isNull());
  EXPECT_EQ(button.GlyphSize(), QSize(2, 2));
}

TEST_F(ToolbarButtonGadgetTest, EnablerSetsStateEnabledAndGlyph) {
  TToolbarButtonGadget* button = Add(7, TToolbarButtonGadget::Plain);
  table.Register(
      7, [](int32_t) {},
      [](TCommandEnabler& ce) {
        ce.Enable(false);
        ce.SetCheck(kIndeterminate);
        ce.SetGlyph({42, {}});
        ce.SetText("ignored");
      });
  button->Refresh();
  EXPECT_FALSE(button->isEnabled());
  EXPECT_EQ(button->State(), kIndeterminate);
  EXPECT_EQ(button->Glyph().id, 42);
  EXPECT_EQ(button->CurrentCell(), 1);
}

TEST_F(ToolbarButtonGadgetTest, CellFollowsTheLook) {
  TToolbarButtonGadget* button = Add(8, TToolbarButtonGadget::Plain);
  EXPECT_EQ(button->CurrentCell(), 0);
  button->SetState(kChecked);
  EXPECT_EQ(button->CurrentCell(), 3);
  button->SetState(kIndeterminate);
  EXPECT_EQ(button->CurrentCell(), 2);
}

TEST_F(ToolbarButtonGadgetTest, HiddenDisabledGadgetsTakeNoRoom) {
  TToolbarButtonGadget* a = Add(1, TToolbarButtonGadget::Plain);
  TToolbarButtonGadget* b = Add(2, TToolbarButtonGadget::Plain);
  const int second = b->x();
  host.SetShowDisabled(false);
  a->setEnabled(false);
  EXPECT_LT(b->x(), second);
  EXPECT_FALSE(a->isVisible());
}

}  // namespace
}  // namespace kvt
