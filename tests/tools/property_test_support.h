#pragma once
// Property dialogs for tests: a dialog with OK and Cancel buttons below the pages, and pages
// that make a label, an edit field and a button and record what the dialog asks of them.

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <string>
#include <vector>

#include "tools/message_box_service.h"
#include "tools/property_dialog.h"
#include "tools/property_page.h"

namespace kvt::test {

class TTestPropertyDialog : public TKVPropertyDialog {
public:
  explicit TTestPropertyDialog(uint32_t options, QWidget* parent = nullptr)
      : TKVPropertyDialog(parent, 700, options) {
    resize(420, 300);
    ok = AddButton("OK", IDOK, 250);
    cancel = AddButton("Cancel", IDCANCEL, 335);
  }

  QPushButton* AddButton(const char* text, int id, int x) {
    auto* button = new QPushButton(QString::fromUtf8(text), this);
    button->setGeometry(x, 264, 75, 25);
    BindCommand(button, id);
    return button;
  }

  // Shows the dialog modeless and makes it the active window, so that focus works.
  void Open() {
    Create();
    activateWindow();
    QApplication::setActiveWindow(this);
    (void)QTest::qWaitForWindowActive(this);
  }

  bool CanChangePage(int index) override {
    log.push_back("ask" + std::to_string(index));
    return allowChange;
  }
  void PageChanged(int index) override { log.push_back("changed" + std::to_string(index)); }

  QPushButton* ok;
  QPushButton* cancel;
  bool allowChange = true;
  std::vector<std::string> log;
};

class TRecordingPage : public TKVPropertyPage {
public:
  TRecordingPage(TKVPropertyDialog* dialog, std::string tag, std::vector<std::string>& log)
      : TKVPropertyPage(dialog), tag(std::move(tag)), log(log) {}

  bool IsPageValid() override {
    log.push_back("valid" + tag);
    return valid;
  }
  bool ApplyPage() override {
    log.push_back("apply" + tag);
    return applies;
  }
  bool CanDeactivate() override { return leavable; }
  void PageChangeRefused() override { log.push_back("refused" + tag); }
  void PageActivated() override { log.push_back("activated" + tag); }

  QLabel* label = nullptr;
  QLineEdit* edit = nullptr;
  QPushButton* button = nullptr;
  std::string labelText = "&Name:";
  std::string buttonText = "Reset";
  bool valid = true;
  bool applies = true;
  bool leavable = true;
  int created = 0;
  int clicks = 0;

protected:
  void CreateControls(QWidget& window) override {
    ++created;
    log.push_back("create" + tag);
    label = new QLabel(QString::fromUtf8(labelText.c_str()), &window);
    label->setGeometry(10, 10, 60, 20);
    edit = new QLineEdit(&window);
    edit->setGeometry(80, 10, 120, 22);
    button = new QPushButton(QString::fromUtf8(buttonText.c_str()), &window);
    button->setGeometry(210, 10, 80, 25);
    QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
  }

private:
  std::string tag;
  std::vector<std::string>& log;
};

}  // namespace kvt::test
