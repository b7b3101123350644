#include "print/printer_catalog.h"

#include <QPrinterInfo>

namespace kvt {

QStringList TQtPrinterCatalog::PrinterNames() { return QPrinterInfo::availablePrinterNames(); }

QString TQtPrinterCatalog::DefaultPrinterName() { return QPrinterInfo::defaultPrinterName(); }

}  // namespace kvt
