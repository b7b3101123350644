// A small program with one docking toolbar, driven from outside under a virtual display: it
// keeps the toolbar's place in the settings file named by its argument, prints the toolbar's
// state as a line whenever it changes, and reads commands ("toggle", "quit") from its standard
// input.
#include "tools/command_table.h"
#include "tools/kv_app_base.h"
#include "tools/status_bar95.h"
#include "tools/toolbar.h"
#include "tools/toolbar_button_gadget.h"
#include "tools/toolbar_frame.h"
#include "tools/toolbar_gadgets.h"
#include "tools/toolbar_list.h"
#include "utils/ini_file_io.h"
#include "utils/ini_profile.h"
#include "utils/registry_key.h"

#include <QMainWindow>
#include <QSocketNotifier>
#include <QTimer>

#include <unistd.h>
#include <cstdio>
#include <memory>
#include <string>

namespace {

QImage Glyph(const kvt::TGlyphResource& glyph) {
  QImage image(16, 16, QImage::Format_ARGB32);
  image.fill(QColor(192, 192, 192));
  for (int i = 2; i < 14; ++i) image.setPixel(i, (i + glyph.id) % 16, qRgb(0, 0, 128));
  return image;
}

QPoint Center(const QWidget* w) { return w->mapToGlobal(w->rect().center()); }

std::string State(const kvt::TToolbar& bar, QWidget* separator) {
  char line[256];
  const QPoint grip = bar.mapToGlobal(QPoint(4, bar.height() / 2));
  const QPoint sep = Center(separator);
  QPoint frame(-1, -1), close(-1, -1);
  if (bar.Frame() != nullptr && bar.Frame()->isVisible()) {
    frame = bar.Frame()->pos();
    close = bar.Frame()->mapToGlobal(bar.Frame()->CloseBox().center());
  }
  std::snprintf(line, sizeof line,
                "STATE style=%04x visible=%d frame=%d,%d grip=%d,%d sep=%d,%d close=%d,%d\n",
                bar.Style(), bar.isVisible() ? 1 : 0, frame.x(), frame.y(), grip.x(), grip.y(),
                sep.x(), sep.y(), close.x(), close.y());
  return line;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: toolbar_demo SETTINGS.ini\n");
    return 2;
  }
  kvt::TKVAppBase app(argc, argv);
  auto window = std::make_unique<QMainWindow>();
  window->setCentralWidget(new QWidget);
  auto* status = new kvt::TStatusBar95;
  window->setStatusBar(status);
  window->setGeometry(100, 100, 800, 600);

  auto profile = std::make_shared<kvt::TIniProfile>(argv[1], kvt::DefaultIniFileIo(), true);
  auto list = std::make_unique<kvt::TToolbarList>(*window, kvt::TKey(profile, kvt::TKey::kCreate),
                                                  app.Commands());
  list->SetStatusBar(status);
  kvt::TToolbar* bar = list->Add("Demo", kvt::TBRS_ALIGN_TOP, true);
  for (int i = 0; i < 3; ++i)
    bar->AddGadget(new kvt::TToolbarButtonGadget({i + 1, {}}, 100 + i,
                                                 kvt::TToolbarButtonGadget::Plain, true, 0, Glyph));
  auto* separator = new kvt::TKVToolbarSeparatorGadget;
  bar->AddGadget(separator);
  for (int i = 3; i < 6; ++i)
    bar->AddGadget(new kvt::TToolbarButtonGadget({i + 1, {}}, 100 + i,
                                                 kvt::TToolbarButtonGadget::Plain, true, 0, Glyph));
  app.Commands().RegisterRange(100, 105, [](int32_t) {});
  app.Commands().StartIdleRefresh();
  window->show();

  std::string last;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    const std::string now = State(*bar, separator);
    if (now == last) return;
    last = now;
    std::fputs(now.c_str(), stdout);
    std::fflush(stdout);
  });
  poll.start(50);

  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, [&] {
    char buffer[64] = {};
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer - 1);
    const std::string command(buffer, n > 0 ? static_cast<size_t>(n) : 0);
    if (n <= 0 || command.rfind("quit", 0) == 0) {
      input.setEnabled(false);
      poll.stop();
      // The list saves the toolbar's place as it destroys it.
      list.reset();
      window.reset();
      app.quit();
    } else if (command.rfind("toggle", 0) == 0) {
      app.Commands().Execute(kvt::kFirstToolbarCommand);
    }
  });
  return app.exec();
}
