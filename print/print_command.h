#pragma once
// PrintScore: the print command of a score window. It audits the score, runs the print
// dialog with the printed page numbers (from the score's page-number start) up to INT32_MAX,
// lays the score out for the chosen printer and runs the job (print_job.h) over the chosen
// range, whose printed numbers become page indexes.
//
// The PDF printer writes, unless the dialog chose another file, beside the score under its
// name with the extension ".pdf" ("Untitled.pdf" in the home folder for a score without one).
//
// Result: the job's (1 printed; 0 cancelled, failed, or no printer, or the dialog cancelled).
// UI thread only.

#include <string>

#include "print/print_services.h"

class QWidget;

namespace kvt {

class TKVBoolArray;
class TKVPrinter;
class TMusicScore;
class TStaffColorHandles;

// Where the PDF printer writes for the document at documentPath.
std::string DefaultPdfPath(const std::string& documentPath);

int PrintScore(QWidget* owner, TMusicScore& score, const TKVBoolArray& selection,
               const std::string& documentPath, TKVPrinter& printer,
               const TStaffColorHandles& colors, const TPrintServices& services);

}  // namespace kvt
