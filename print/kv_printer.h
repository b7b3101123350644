#pragma once
// TKVPrinter: the application's printer. It remembers the chosen print-system device in the
// settings ("Printer"/"Device"; the section is deleted when there is none), makes printer
// devices for jobs and previews, and runs the print and printer setup dialogs.
//
// Without any print-system device (or when the remembered one is gone) the printer is the
// PDF printer, so that printing and preview work on machines without a print system.
//
// The settings value is only a lookup key: a device is used only when the print system lists
// it. One object for the application's life; UI thread only. The catalog and the dialog
// runner, when given, must outlive the object; null gives the real ones.

#include <QPageLayout>
#include <QString>
#include <memory>

#include "print/print_dialog_runner.h"
#include "print/printer_catalog.h"
#include "print/printer_device.h"
#include "utils/registry_key.h"

class QWidget;

namespace kvt {

inline constexpr const char* kPrinterSection = "Printer";
inline constexpr const char* kPrinterDeviceValue = "Device";

// A confirmed print dialog: the device and the printed page numbers chosen.
struct TPrintChoice {
  std::unique_ptr<TPrinterDevice> device;
  bool pageRange = false;  // false: all pages
  int fromPage = 0;        // printed numbers, within the dialog's limits
  int toPage = 0;
};

class TKVPrinter {
public:
  // settings: the product key of the settings store. Set up for the system's default printer.
  explicit TKVPrinter(TKey settings, TPrinterCatalog* catalog = nullptr,
                      TPrintDialogRunner* dialogs = nullptr);
  ~TKVPrinter();

  // The device name; empty for the PDF printer.
  const QString& DeviceName() const { return device; }

  // Takes the stored device when the print system lists it; forgets a stored device that is
  // gone (deletes the "Printer" section).
  void RestorePrinterDevice();
  // Deletes the "Printer" section, then stores the device name when there is one.
  void SavePrinterDevice();

  // A printer device for the device (the PDF printer writing to pdfFile when there is none);
  // null only when even the PDF printer cannot be made.
  std::unique_ptr<TPrinterDevice> CreatePrintDC(const QString& pdfFile = QString());

  // The print dialog with the pages minPage..maxPage. Null device when there is no printer or
  // the user cancelled. A device chosen in the dialog becomes the printer's device, and its
  // paper is kept for later jobs.
  TPrintChoice RunPrintDialog(QWidget* parent, int minPage, int maxPage,
                              const QString& pdfFile = QString());

  // The printer setup command: on OK the chosen device and paper are kept and saved.
  bool PrinterSetup(QWidget* parent);

private:
  void Keep(const TPrinterDevice& chosen);

  TKey settings;
  std::unique_ptr<TPrinterCatalog> ownedCatalog;
  std::unique_ptr<TPrintDialogRunner> ownedDialogs;
  TPrinterCatalog* catalog;
  TPrintDialogRunner* dialogs;
  QString device;
  QPageLayout layout;  // invalid until a dialog chose one
};

}  // namespace kvt
