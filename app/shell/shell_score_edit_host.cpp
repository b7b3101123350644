#include "app/shell/shell_score_edit_host.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>

#include "notation/items/name_lists.h"
#include "notation/items/notated_item.h"
#include "tools/command_table.h"
#include "tools/message_box_service.h"

namespace kvt {

void TShellScoreEditHost::Beep() { QApplication::beep(); }

int TShellScoreEditHost::MessageBox(uint32_t type, const std::string& caption,
                                    const std::string& text) {
  return MessageBoxServiceOf().Show(owner.data(), type, QString::fromStdString(caption),
                                    QString::fromStdString(text));
}

bool TShellScoreEditHost::ExecuteAppCommand(int id) { return appCommands.Execute(id); }

int TShellScoreEditHost::ChooseNoteColor(int current) {
  QMenu menu(owner.data());
  for (int color = 0; color < kItemColorCount; ++color) {
    QAction* action = menu.addAction(QString::fromLatin1(GetNameListEntry(kNameListColors, color)));
    action->setData(color);
    action->setCheckable(true);
    action->setChecked(color == current);
  }
  const QAction* chosen = menu.exec(QCursor::pos());
  return chosen ? chosen->data().toInt() : -1;
}

void TShellScoreEditHost::PopupCommands(const std::vector<int>& ids) {
  // The application's actions carry the menu texts and run the commands when triggered.
  QMenu menu(owner.data());
  for (const int id : ids) menu.addAction(appCommands.Action(id));
  appCommands.Refresh();
  menu.exec(QCursor::pos());
}

}  // namespace kvt
