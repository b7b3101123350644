#pragma once
// TKVTPrintPreview: the print preview frame: a bar with the previous-page, options-menu and
// next-page buttons, the preview client with the score preview control (id 101) over the print
// data, and a status bar with "Page %d, Zoom %d/%d" (", Justify Disabled" when justification
// is off). Its commands run through its own command table; the accelerators of
// "KVTPrintPreview" and the options menu reach them.
//
// The frame restores its placement from "Preview" when one is stored and saves it when it
// closes. The print data and the services are not owned and must outlive the frame. UI thread
// only.

#include <QMainWindow>

#include <cstdint>
#include <memory>

#include "print/preview_control.h"
#include "print/preview_services.h"

class QLabel;
class QMenu;

namespace kvt {

class TCommandTable;
class TLongTaskPreviewProgress;

// Command ids of the preview.
inline constexpr int32_t kCmPreviewClose = 2;
inline constexpr int32_t kCmPreviewFirstPage = 110;
inline constexpr int32_t kCmPreviewLastPage = 18;
inline constexpr int32_t kCmPreviewPrevious = 233;
inline constexpr int32_t kCmPreviewNext = 234;
inline constexpr int32_t kCmPreviewOptions = 232;
inline constexpr int32_t kCmPreviewZoomIn = 48;
inline constexpr int32_t kCmPreviewZoomOut = 49;
inline constexpr int32_t kCmPreviewGoto = 38;
inline constexpr int32_t kCmPreviewCopyAsk = 221;
inline constexpr int32_t kCmPreviewCopy = 33;
inline constexpr int32_t kCmPreviewJustify = 235;
inline constexpr int32_t kCmPreviewBoundary = 61;
inline constexpr int32_t kCmPreviewRepaint = 69;
inline constexpr int32_t kPreviewControlId = 101;

inline constexpr char kPreviewPlacementName[] = "Preview";

// "Page %d, Zoom %d/%d" with ", Justify Disabled" when justification is off; the zoom counted
// from 1.
QString PreviewStatusText(const TPreviewStatus& status);

class TKVTPrintPreview : public QMainWindow {
public:
  // mainWindow: the window the frame's first placement is derived from (may be null).
  TKVTPrintPreview(QWidget* mainWindow, TKVTNTNPrintData& print, const TPreviewServices& services,
                   int64_t startTime);
  ~TKVTPrintPreview() override;

  // Shows the frame modally over the program and returns when it has closed.
  void RunModal();

  TScorePreviewControl& Control() const { return *control; }
  TCommandTable& Commands() const { return *commands; }
  QString StatusText() const;
  // Rewrites the status text when one of its values changed.
  void UpdateStatus();
  // The options menu ("&Reset to Start Page" ... "&Unprintable Area Boundary").
  QMenu& OptionsMenu() const { return *optionsMenu; }
  // Runs the goto-page dialog and goes to the page chosen.
  void GotoPage();
  // Copies the page shown, asking clipboard or file first when ask is set.
  void CopyPage(bool ask);

protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

private:
  void RegisterCommands();
  void BuildBars();
  void BuildAccelerators();
  void BuildOptionsMenu();
  void PlaceInitially(QWidget* mainWindow);
  void SavePlacement();

  TKVTNTNPrintData& print;
  TPreviewServices services;
  TPreviewOptions ownOptions;
  std::unique_ptr<TCommandTable> commands;
  std::unique_ptr<TLongTaskPreviewProgress> progress;
  TScorePreviewControl* control = nullptr;
  QLabel* statusText = nullptr;
  QMenu* optionsMenu = nullptr;
  TPreviewStatus shown{-1, -1, -1, true};
  bool placementSaved = false;
};

}  // namespace kvt
