#include "scripting/qt/qt_script_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <cstdlib>
#include <memory>

#include "scripting/script_dialog_calls.h"

namespace kvt {

namespace {

int applicationArgc = 1;
char applicationName[] = "kvt2";
char* applicationArgv[] = {applicationName, nullptr};

QWidget* Owner(void* owner) { return static_cast<QWidget*>(owner); }

QString Text(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

QDoubleSpinBox* RealBox(const TPromptRequest& request, int axis) {
  auto* box = new QDoubleSpinBox;
  box->setDecimals(2);
  box->setSingleStep(0.1);
  box->setRange(request.low[axis], request.high[axis]);
  box->setValue(request.initial[axis]);
  return box;
}

}  // namespace

TQtScriptDialogs::TQtScriptDialogs() = default;

TQtScriptDialogs::~TQtScriptDialogs() = default;

void TQtScriptDialogs::EnsureApplication() {
  if (QApplication::instance() != nullptr) return;
  application = std::make_unique<QApplication>(applicationArgc, applicationArgv);
}

bool CanShowScriptDialogs() {
  const char* quiet = std::getenv("KVT_NONINTERACTIVE");
  if (quiet != nullptr && *quiet != '\0') return false;
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (display != nullptr && *display != '\0') || (wayland != nullptr && *wayland != '\0');
}

TScriptAnswer TQtScriptDialogs::ShowMessage(const TScriptMessage& message) {
  EnsureApplication();
  QMessageBox box(message.icon == TScriptIcon::kQuestion ? QMessageBox::Question
                                                         : QMessageBox::Information,
                  Text(message.caption), Text(message.text), QMessageBox::NoButton,
                  Owner(message.owner));
  QPushButton* first = nullptr;
  QPushButton* second = nullptr;
  switch (message.buttons) {
    case TScriptButtons::kOkCancel:
      first = box.addButton(QMessageBox::Ok);
      second = box.addButton(QMessageBox::Cancel);
      break;
    case TScriptButtons::kYesNoCancel:
      first = box.addButton(QMessageBox::Yes);
      second = box.addButton(QMessageBox::No);
      box.addButton(QMessageBox::Cancel);
      break;
    case TScriptButtons::kYesNo:
      first = box.addButton(QMessageBox::Yes);
      second = box.addButton(QMessageBox::No);
      break;
  }
  box.setDefaultButton(message.defaultButton == 2 ? second : first);
  box.exec();
  switch (box.standardButton(box.clickedButton())) {
    case QMessageBox::Ok: return TScriptAnswer::kOk;
    case QMessageBox::Yes: return TScriptAnswer::kYes;
    case QMessageBox::No: return TScriptAnswer::kNo;
    default: return TScriptAnswer::kCancel;
  }
}

bool TQtScriptDialogs::ShowPrompt(const TPromptRequest& request, TPromptValues& values,
                                  void* owner) {
  EnsureApplication();
  QDialog dialog(Owner(owner));
  dialog.setObjectName("KVTLuaDlg");
  dialog.setWindowTitle("User Prompt");
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(new QLabel(Text(request.label)));
  QLineEdit* text = nullptr;
  QSpinBox* whole = nullptr;
  QDoubleSpinBox* real[2] = {nullptr, nullptr};
  QComboBox* list = nullptr;
  switch (request.kind) {
    case TPromptKind::kText:
      text = new QLineEdit(Text(request.text));
      text->setMaxLength(static_cast<int>(kMaxDialogTextChars));
      layout->addWidget(text);
      break;
    case TPromptKind::kInteger:
      whole = new QSpinBox;
      whole->setRange(static_cast<int>(request.low[0]), static_cast<int>(request.high[0]));
      whole->setValue(static_cast<int>(request.initial[0]));
      layout->addWidget(whole);
      break;
    case TPromptKind::kReal:
      real[0] = RealBox(request, 0);
      layout->addWidget(real[0]);
      break;
    case TPromptKind::kCoord: {
      auto* row = new QHBoxLayout;
      for (int axis = 0; axis < 2; ++axis) {
        real[axis] = RealBox(request, axis);
        row->addWidget(real[axis]);
      }
      layout->addLayout(row);
      break;
    }
    case TPromptKind::kList:
      list = new QComboBox;
      for (const std::string& entry : request.entries) list->addItem(Text(entry));
      list->setCurrentIndex(request.choice);
      layout->addWidget(list);
      break;
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) return false;
  values.clear();
  switch (request.kind) {
    case TPromptKind::kText: values.emplace_back(text->text().toStdString()); break;
    case TPromptKind::kInteger:
      values.emplace_back(FinishPromptNumber(request, 0, whole->value()));
      break;
    case TPromptKind::kReal: values.emplace_back(FinishPromptNumber(request, 0, real[0]->value())); break;
    case TPromptKind::kCoord:
      for (int axis = 0; axis < 2; ++axis)
        values.emplace_back(FinishPromptNumber(request, axis, real[axis]->value()));
      break;
    case TPromptKind::kList:
      if (list->currentIndex() < 0) return false;
      values.emplace_back(request.entries[static_cast<size_t>(list->currentIndex())]);
      break;
  }
  return true;
}

bool TQtScriptDialogs::ShowFontChooser(TScriptFontChoice& choice, void* owner) {
  EnsureApplication();
  QFont initial(Text(choice.face));
  initial.setPointSizeF(choice.points > 0 ? choice.points : 12);
  initial.setBold(choice.style.find("Bold") != std::string::npos);
  initial.setItalic(choice.style.find("Italic") != std::string::npos);
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, initial, Owner(owner), "Font",
                                          QFontDialog::ScalableFonts);
  if (!ok) return false;
  choice.face = font.family().toStdString();
  choice.points = font.pointSizeF();
  choice.style = font.bold() && font.italic() ? "Bold Italic"
                 : font.bold()               ? "Bold"
                 : font.italic()             ? "Italic"
                                             : "";
  return true;
}

}  // namespace kvt
