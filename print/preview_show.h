#pragma once
// ShowPrintPreview: the print-preview command of a score window. Re-audits the score, makes
// the current printer's page device (without one: "There is no default printer..." and no
// preview), builds the print data for the selected staves and runs the preview frame modally,
// opening at the page that holds the editor's caret time. Everything made is deleted before it
// returns. UI thread only.

class QWidget;

namespace kvt {

class TKVBoolArray;
class TMusicScore;
class TAlertLog;
struct TPreviewServices;

// False when no preview could be shown (no printer).
bool ShowPrintPreview(QWidget* mainWindow, TMusicScore& score, const TKVBoolArray& selection,
                      TAlertLog& alerts, const TPreviewServices& services);

}  // namespace kvt
