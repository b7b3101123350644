#include "app/shell/alert_log_dialog.h"

#include <QAction>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/shell/tarlowmede_app.h"

namespace kvt {

TAlertDlg::TAlertDlg(QWidget* parent, TTarlowmedeApp& app)
    : TKVDlgBase(parent, kAlertLogDialogId), app(app), list(new QListWidget(this)) {
  setWindowTitle(QStringLiteral("Alert Log"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  SetControlId(list, kAlertListId);
  list->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(list, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    if (QListWidgetItem* item = list->itemAt(at)) list->setCurrentItem(item);
    if (list->currentItem() == nullptr) return;
    QMenu menu(this);
    menu.addAction(QStringLiteral("Copy Alert"), this, &TAlertDlg::CopyCurrentLine);
    menu.exec(list->viewport()->mapToGlobal(at));
  });
  resize(560, 300);
}

void TAlertDlg::Fill() {
  const TKVErrorLog::TSnapshot snapshot = app.ErrorLog().Snapshot();
  list->clear();
  for (const std::string& line : snapshot.lines) list->addItem(QString::fromStdString(line));
  if (!snapshot.lines.empty()) {
    // The first line not seen yet, or the last line when all were.
    const int64_t unseen = static_cast<int64_t>(app.AlertsSeen()) + 1 - snapshot.FirstNumber();
    const int64_t last = static_cast<int64_t>(snapshot.lines.size()) - 1;
    list->setCurrentRow(static_cast<int>(std::clamp<int64_t>(unseen, 0, last)));
  }
  app.SetAlertsSeen(snapshot.total);
}

void TAlertDlg::showEvent(QShowEvent* event) {
  Fill();
  TKVDlgBase::showEvent(event);
}

void TAlertDlg::CopyCurrentLine() {
  if (list->currentItem() != nullptr && QGuiApplication::clipboard() != nullptr)
    QGuiApplication::clipboard()->setText(list->currentItem()->text());
}

void ShowAlertLog(TTarlowmedeApp& app) {
  QWidget* main = app.MainWindow();
  if (main != nullptr && !main->isEnabled()) return;
  TAlertDlg dialog(main, app);
  dialog.exec();
}

void AddAlertMenuItems(QMenu& menu, TTarlowmedeApp& app) {
  menu.addAction(QStringLiteral("Clear Alert Log"), &app, [&app] {
    app.ErrorLog().Clear();
    app.SetAlertsSeen(0);
  });
  QAction* echo = menu.addAction(QStringLiteral("Copy Alerts to Debug Monitor"));
  echo->setCheckable(true);
  QObject::connect(echo, &QAction::triggered, &app,
                   [&app](bool on) { app.ErrorLog().SetEcho(on); });
  QObject::connect(&menu, &QMenu::aboutToShow, echo,
                   [echo, &app] { echo->setChecked(app.ErrorLog().IsEcho()); });
  menu.addAction(QStringLiteral("View Alert Log..."), &app, [&app] { ShowAlertLog(app); });
}

}  // namespace kvt
