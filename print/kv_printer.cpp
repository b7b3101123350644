#include "print/kv_printer.h"

#include <algorithm>
#include <string>

namespace kvt {

TKVPrinter::TKVPrinter(TKey settings, TPrinterCatalog* catalog, TPrintDialogRunner* dialogs)
    : settings(std::move(settings)) {
  if (!catalog) ownedCatalog = std::make_unique<TQtPrinterCatalog>();
  if (!dialogs) ownedDialogs = std::make_unique<TQtPrintDialogRunner>();
  this->catalog = catalog ? catalog : ownedCatalog.get();
  this->dialogs = dialogs ? dialogs : ownedDialogs.get();
  device = this->catalog->DefaultPrinterName();
}

TKVPrinter::~TKVPrinter() = default;

void TKVPrinter::RestorePrinterDevice() {
  const std::string stored =
      TKey(settings, kPrinterSection, TKey::kRead).QueryString("", kPrinterDeviceValue);
  if (stored.empty()) return;
  const QString name = QString::fromStdString(stored);
  if (catalog->PrinterNames().contains(name)) {
    device = name;
    layout = QPageLayout();
  } else {
    settings.DeleteSubKey(kPrinterSection);
  }
}

void TKVPrinter::SavePrinterDevice() {
  settings.DeleteSubKey(kPrinterSection);
  if (device.isEmpty()) return;
  TKey(settings, kPrinterSection, TKey::kCreate)
      .SetString(kPrinterDeviceValue, device.toStdString().c_str());
}

std::unique_ptr<TPrinterDevice> TKVPrinter::CreatePrintDC(const QString& pdfFile) {
  // A device that left the print system since it was chosen prints to PDF.
  const QString name = catalog->PrinterNames().contains(device) ? device : QString();
  auto made = std::make_unique<TPrinterDevice>(name, pdfFile, layout.isValid() ? &layout : nullptr);
  if (made->IsValid()) return made;
  if (name.isEmpty()) return nullptr;
  made = std::make_unique<TPrinterDevice>(QString(), pdfFile);
  return made->IsValid() ? std::move(made) : nullptr;
}

void TKVPrinter::Keep(const TPrinterDevice& chosen) {
  const QString name = chosen.Printer().printerName();
  if (!chosen.IsPdf() && catalog->PrinterNames().contains(name)) device = name;
  layout = chosen.Printer().pageLayout();
}

TPrintChoice TKVPrinter::RunPrintDialog(QWidget* parent, int minPage, int maxPage,
                                        const QString& pdfFile) {
  TPrintChoice choice;
  std::unique_ptr<TPrinterDevice> made = CreatePrintDC(pdfFile);
  if (!made) return choice;
  if (!dialogs->RunPrint(parent, made->Printer(), minPage, maxPage)) return choice;
  Keep(*made);
  const QPrinter& printer = made->Printer();
  if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
    // The dialog bounds the numbers; kept within the limits all the same.
    choice.pageRange = true;
    choice.fromPage = std::clamp(printer.fromPage(), minPage, maxPage);
    choice.toPage =
        std::clamp(std::max(printer.toPage(), printer.fromPage()), choice.fromPage, maxPage);
  }
  choice.device = std::move(made);
  return choice;
}

bool TKVPrinter::PrinterSetup(QWidget* parent) {
  std::unique_ptr<TPrinterDevice> made = CreatePrintDC();
  if (!made || !dialogs->RunSetup(parent, made->Printer())) return false;
  Keep(*made);
  SavePrinterDevice();
  return true;
}

}  // namespace kvt
