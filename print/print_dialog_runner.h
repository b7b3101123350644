#pragma once
// TPrintDialogRunner: runs the print dialog and the printer setup dialog on a printer. The
// real one shows QPrintDialog; tests script what the user chose by setting the printer's
// range, copies, paper and output file themselves.

class QPrinter;
class QWidget;

namespace kvt {

class TPrintDialogRunner {
public:
  virtual ~TPrintDialogRunner() = default;
  // The print dialog with the page limits minPage..maxPage (printed page numbers), no
  // selection and no current-page choice; printing to a file stays offered (it is the PDF
  // route). True when the user confirmed; the printer then holds the choices.
  virtual bool RunPrint(QWidget* parent, QPrinter& printer, int minPage, int maxPage) = 0;
  // The printer setup: device and paper. True when the user confirmed.
  virtual bool RunSetup(QWidget* parent, QPrinter& printer) = 0;
};

class TQtPrintDialogRunner final : public TPrintDialogRunner {
public:
  bool RunPrint(QWidget* parent, QPrinter& printer, int minPage, int maxPage) override;
  bool RunSetup(QWidget* parent, QPrinter& printer) override;
};

}  // namespace kvt
