// A small program for the run under a virtual display: a dialog "Field Check" with a number
// field (1..100, showing 50 with the caret before it, its title "Tempo"; the text stays
// unselected when the field takes the focus) and a default OK button that closes only when
// the field accepts its text. Every message box is reported on standard output
// ("box <caption>|<text>") before it is shown; the end reports "result <code> text <field>".

#include <QLabel>
#include <QPushButton>
#include <cstdio>

#include "tools/edit_number.h"
#include "tools/krv_edit.h"
#include "tools/kv_app_base.h"
#include "tools/kv_dlg_base.h"
#include "tools/message_box_service.h"
#include "tools/qt_message_box_service.h"

namespace {

class TReportingService final : public kvt::TMessageBoxService {
public:
  int Show(QWidget* owner, uint32_t type, const QString& caption, const QString& text) override {
    std::printf("box %s|%s\n", caption.toUtf8().constData(), text.toUtf8().constData());
    std::fflush(stdout);
    return boxes.Show(owner, type, caption, text);
  }

private:
  kvt::TQtMessageBoxService boxes;
};

class TFieldCheckDialog final : public kvt::TKVDlgBase {
public:
  TFieldCheckDialog() : TKVDlgBase(nullptr, 0) {
    setWindowTitle(QStringLiteral("Field Check"));
    resize(260, 90);
    auto* label = new QLabel(QStringLiteral("&Value:"), this);
    label->setGeometry(10, 14, 50, 20);
    field = new kvt::TEditNumber(this, 1, 100, 1);
    field->setWindowTitle(QStringLiteral("Tempo"));
    field->setGeometry(70, 12, 80, 24);
    field->SetOption(kvt::kEditNoSelectOnTab);
    field->SetValue(50);
    label->setBuddy(field);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setGeometry(170, 50, 75, 28);
    ok->setDefault(true);
    SetControlId(ok, kvt::IDOK);
    connect(ok, &QPushButton::clicked, this, [this] {
      if (field->CanClose()) done(kvt::IDOK);
    });
    field->setFocus();
  }
  kvt::TEditNumber* field;
};

}  // namespace

int main(int argc, char** argv) {
  kvt::TKVAppBase app(argc, argv);
  TReportingService boxes;
  app.SetMessageBoxService(&boxes);
  TFieldCheckDialog dialog;
  const int result = dialog.exec();
  std::printf("result %d text %s\n", result, dialog.field->text().toUtf8().constData());
  app.SetMessageBoxService(nullptr);
  return 0;
}
