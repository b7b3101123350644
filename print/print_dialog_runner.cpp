#include "print/print_dialog_runner.h"

#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

namespace kvt {

bool TQtPrintDialogRunner::RunPrint(QWidget* parent, QPrinter& printer, int minPage, int maxPage) {
  printer.setPrintRange(QPrinter::AllPages);
  printer.setFromTo(0, 0);
  QPrintDialog dialog(&printer, parent);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dialog.setOption(QAbstractPrintDialog::PrintShowPageSize, true);
  dialog.setMinMax(std::max(minPage, 1), std::max(maxPage, std::max(minPage, 1)));
  return dialog.exec() == QDialog::Accepted;
}

bool TQtPrintDialogRunner::RunSetup(QWidget* parent, QPrinter& printer) {
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("Print Setup"));
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintShowPageSize, true);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace kvt
