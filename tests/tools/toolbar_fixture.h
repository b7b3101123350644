#pragma once
// A main window with a central widget, a status bar and a toolbar list whose places go to a
// settings file in a temporary folder, for the toolbar tests. Restart() destroys the window
// (saving the places) and makes it again from the same file.

#include "tests/utils/temp_folder.h"
#include "tools/command_table.h"
#include "tools/toolbar.h"
#include "tools/toolbar_button_gadget.h"
#include "tools/toolbar_list.h"
#include "utils/ini_file_io.h"
#include "utils/ini_profile.h"
#include "utils/registry_key.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QMainWindow>
#include <QStatusBar>
#include <QTest>

#include <memory>

namespace kvt::test {

// A 16 x 16 glyph: a dark square on the button face.
inline QImage SquareGlyph(const TGlyphResource&) {
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(QColor(192, 192, 192));
  for (int y = 4; y < 12; ++y)
    for (int x = 4; x < 12; ++x) image.setPixel(x, y, qRgb(0, 0, 0));
  return image;
}

class ToolbarFixture : public ::testing::Test {
protected:
  void SetUp() override { Make(); }

  void Make() {
    window = std::make_unique<QMainWindow>();
    window->setCentralWidget(new QWidget);
    window->setStatusBar(new QStatusBar);
    window->resize(640, 480);
    window->move(50, 50);
    auto profile = std::make_shared<TIniProfile>(folder / "Toolbars.ini", DefaultIniFileIo(), true);
    list = std::make_unique<TToolbarList>(*window, TKey(profile, TKey::kCreate), commands);
    list->SetStatusBar(window->statusBar());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }

  // The list goes first here and the window first at the end of a test: both orders save.
  void Restart() {
    list.reset();
    window.reset();
    Make();
  }

  void TearDown() override {
    window.reset();
    list.reset();
  }

  // A toolbar with count buttons, ids from firstId.
  TToolbar* AddToolbar(const QString& title, uint16_t style, int count, int32_t firstId = 100) {
    TToolbar* toolbar = list->Add(title, style, true);
    if (toolbar == nullptr) return nullptr;
    for (int i = 0; i < count; ++i)
      toolbar->AddGadget(new TToolbarButtonGadget({}, firstId + i, TToolbarButtonGadget::Plain,
                                                  true, 0, SquareGlyph));
    return toolbar;
  }

  TTempFolder folder;
  TCommandTable commands;
  std::unique_ptr<QMainWindow> window;
  std::unique_ptr<TToolbarList> list;
};

}  // namespace kvt::test
