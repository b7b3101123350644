#include "app/dialogs/midi_import/import_list_page.h"

#include "app/dialogs/midi_import/import_wizard_pages.h"
#include "utils/busy_cursor.h"

namespace kvt {

namespace {

// The list's horizontal extent: rows wider than the box scroll sideways.
constexpr int kListExtent = 800;

}  // namespace

TSMFImportWiz4::TSMFImportWiz4(TWizardDialog* dialog, TKVTImportData& data, TMidiImportShell& shell,
                               ICursorService& cursor)
    : TWizardPage(dialog), logic(data), shell(shell), cursor(cursor) {}

void TSMFImportWiz4::CreateControls(QWidget& window) {
  TWizardPage::CreateControls(window);
  AddImportPageHeading(window, "Step 3: Review the list of import instructions");
  list = new QListWidget(&window);
  list->setObjectName(QStringLiteral("instructionList"));
  list->setGeometry(12, 40, 416, 150);
  list->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  static const struct {
    const char* text;
    int id;
  } kButtons[] = {{"Add..", kImportAddId}, {"Delete", kImportDeleteId}, {"Edit..", kImportEditId}};
  int x = 12;
  for (const auto& b : kButtons) {
    auto* button = new QPushButton(QString::fromUtf8(b.text), &window);
    button->setObjectName(QString::fromUtf8(b.text));
    button->setGeometry(x, 198, 80, 26);
    x += 88;
    QObject::connect(button, &QPushButton::clicked, button, [this, id = b.id] { EvCommand(id); });
  }
}

void TSMFImportWiz4::PageActivated() {
  TWizardPage::PageActivated();
  {
    TKVBusyCursor wait(cursor);
    logic.OnActivate();
  }
  ShowRows();
}

void TSMFImportWiz4::TakeSelection() {
  if (!list) return;
  const QList<QListWidgetItem*> chosen = list->selectedItems();
  logic.Select(chosen.isEmpty() ? -1 : list->row(chosen.front()));
}

bool TSMFImportWiz4::EvCommand(int id) {
  switch (id) {
    case kImportAddId:
      TakeSelection();
      if (logic.Add(shell)) ShowRows();
      return true;
    case kImportDeleteId:
      TakeSelection();
      if (logic.Delete(shell)) ShowRows();
      return true;
    case kImportEditId:
      TakeSelection();
      if (logic.Edit(shell)) ShowRows();
      return true;
    default: return TWizardPage::EvCommand(id);
  }
}

void TSMFImportWiz4::ShowRows() {
  if (!list) return;
  list->clear();
  const int height = list->fontMetrics().height() + 2;
  // Rows keep one line each and scroll sideways up to the fixed extent.
  for (const std::string& row : logic.GetRows()) {
    auto* item = new QListWidgetItem(QString::fromStdString(row), list);
    item->setSizeHint(QSize(kListExtent, height));
  }
  if (logic.GetSelected() >= 0) list->setCurrentRow(logic.GetSelected());
}

}  // namespace kvt
