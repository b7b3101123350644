#pragma once
// PrintPages: one print job. It prints the pages first..last of the print data (page indexes
// from 1; last may be as large as INT32_MAX, the walk ends with the score) on the device, as
// many times as the printer's copy count asks, then reports how it went.
//
// While it runs, the main window is disabled and the modeless cancel dialog shows the
// document name ("Untitled" without a path); the status bar shows "Printing Page %d" per page,
// and waiting events are handled after each page so that the Cancel button works. A cancel
// takes effect after the current page.
//
// Copies: a device that makes copies itself is given the count; otherwise (a PDF file) the
// range is printed once per copy.
//
// Result: 1 when every page was printed; 0 when the user cancelled, when no page of the range
// exists, or when the device or the file failed; a failure is reported with a message box and
// in the alert log. A PDF file is replaced only by a complete document (see TPrintOutput).
// Pages already spooled to a print-system device stay printed.

#include <cstdint>
#include <string>

#include "print/print_services.h"

namespace kvt {

class TKVTNTNPrintData;
class TPrinterDevice;

struct TPrintRange {
  int first = 1;
  int last = INT32_MAX;
};

// The largest copy count a job accepts; the dialog's own bound is lower.
inline constexpr int kMaxPrintCopies = 999;

// The name a job shows and gives the document: "Untitled", or the path's file name, cut to
// 260 bytes on a character boundary.
std::string PrintDocumentName(const std::string& documentPath);

// The print data must have been made for device (its measuring context and paper).
int PrintPages(TKVTNTNPrintData& data, TPrinterDevice& device, const TPrintRange& range,
               const std::string& documentPath, const TPrintServices& services);

}  // namespace kvt
