#pragma once
// TPrinterCatalog: the printers the print system offers. The real one asks Qt's print support
// (CUPS on Linux); tests give a fixed list. A machine without a print system lists none.

#include <QString>
#include <QStringList>

namespace kvt {

class TPrinterCatalog {
public:
  virtual ~TPrinterCatalog() = default;
  virtual QStringList PrinterNames() = 0;
  // The system's default printer; empty when there is none.
  virtual QString DefaultPrinterName() = 0;
};

class TQtPrinterCatalog final : public TPrinterCatalog {
public:
  QStringList PrinterNames() override;
  QString DefaultPrinterName() override;
};

}  // namespace kvt
