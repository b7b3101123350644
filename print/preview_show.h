#pragma once
// ShowPrintPreview: the print-preview command of a score window. Re-audits the score, makes
// the printer's device (the PDF printer when no print system is installed; without even that:
// "There is no default printer..." and no preview), lays the selected staves out for it and
// runs the preview frame modally, opening at the page that holds the editor's caret time.
// Everything made is deleted before it returns. UI thread only.

class QWidget;

namespace kvt {

class TKVBoolArray;
class TKVPrinter;
class TMusicScore;
class TStaffColorHandles;
struct TPreviewServices;

// False when no preview could be shown (no printer).
bool ShowPrintPreview(QWidget* mainWindow, TMusicScore& score, const TKVBoolArray& selection,
                      TKVPrinter& printer, const TStaffColorHandles& colors,
                      const TPreviewServices& services);

}  // namespace kvt
