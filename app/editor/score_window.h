#pragma once
// TScoreWindow: the multiple-document child window of one open score. It owns the document
// (score_document.h: the score, its file, saving, autosave, the close question, play), the
// editing view and the two side panes, lays them out, shows the title and routes the window's
// commands, the frame's broadcasts and the media keys to the document.
//
// The frame creates it with a loaded score and adds it to its MDI area (AddToArea); the window
// deletes itself when closed, which the document allows only after a real save or an explicit
// No (TScoreDocument::CanClose). UI thread only; the host outlives the window.

#include <QMdiSubWindow>

#include <memory>
#include <string>

#include "app/editor/score_document.h"
#include "app/editor/score_window_layout.h"

class QMdiArea;

namespace kvt {

class TBarNumbersPanel;
class TCommandEnabler;
class TMusicScore;
class TScoreEdit;
class TScoreWindowHost;
class TStaffLabelsWindow;
class TUndoActionMgr;

// The frame's broadcast actions.
enum class TWindowBroadcast {
  kDeactivate = 0,
  kSaveIfModified = 1,
  kRedraw = 2,
  kApplyUndoDepth = 3,
  kAutoSave = 4,
  kDeleteAutosave = 5,
  kReformat = 6,
  kReformatAndRedraw = 7,
};

inline constexpr int kCmdClose = 8;
inline constexpr int kCmdExport = 10;
inline constexpr int kCmdRefreshScore = 69;
inline constexpr int kCmdInfo = 11;
inline constexpr int kCmdPageSetup = 208;
inline constexpr int kCmdPrint = 210;
inline constexpr int kCmdPrintPreview = 211;

class TScoreWindow final : public QMdiSubWindow, private TScoreDocumentClient {
public:
  // See TScoreDocument's constructor for the arguments.
  TScoreWindow(TScoreWindowHost& host, const std::string& path, std::unique_ptr<TMusicScore> score,
               int openMode, bool hasFile, TAutosaveClaim recoveredClaim = {},
               QWidget* parent = nullptr);
  ~TScoreWindow() override;

  TScoreDocument& Document() { return *document; }
  // Adds the window to the area and shows it: maximised when the active child is maximised or
  // there is none.
  void AddToArea(QMdiArea& area);

  // The window's commands (Save, Save As, Export, Revert, Close, Print, Print Preview, Import
  // Recording, Refresh Score, Play, Pause, Record, Staff Play; Page Setup and Info answer disabled
  // until their dialogs exist): Execute runs one when it is enabled (false for other ids or a
  // disabled one); Enable fills the enabler and answers whether the id is the window's.
  bool Execute(int command);
  bool Enable(TCommandEnabler& enabler);
  void Broadcast(TWindowBroadcast action);

  // From the application's idle step: the view refreshes the status bar, and a change made in
  // the view since the last call shows in the title and makes an autosave due.
  void UpdateStatus();
  void LayoutPanes();

  TScoreEdit* View() const { return view; }
  TUndoActionMgr& Undo() const { return *undo; }
  TStaffLabelsWindow* LabelsPane() const { return labelsPane; }
  TBarNumbersPanel* BarNumbersPane() const { return barNumbersPane; }
  const TPaneLayout& PaneLayout() const { return paneLayout; }

protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

private:
  class TBody;

  // TScoreDocumentClient
  uint64_t StateSerial() const override;
  void CommitPendingEdit() override;
  void TitleChanged() override;
  void ScoreReplaced() override;
  int ActiveStaff() const override;
  int CaretIndex() const override;
  void PlayStarted() override;
  void ScrollByKey(int direction) override;
  void StaffAppended(int scoreStaff) override;

  // Makes the editing view over the document's score (again after a replaced score).
  void MakeView();
  // Audits every staff fully, then reformats and repaints the view.
  void RefreshScore();
  // Print and Print Preview of the shown staves (score_window_print.cpp).
  void Print();
  void PrintPreview();

  TScoreWindowHost& host;
  std::unique_ptr<TScoreDocument> document;
  TBody* body = nullptr;
  std::unique_ptr<TUndoActionMgr> undo;
  TScoreEdit* view = nullptr;
  TStaffLabelsWindow* labelsPane = nullptr;
  TBarNumbersPanel* barNumbersPane = nullptr;
  TPaneLayout paneLayout;
  // The undo history's state when UpdateStatus last looked.
  uint64_t seenSerial = 0;
  // What the panes showed when UpdateStatus last looked.
  struct TPaneState {
    int caret = 0;
    int activeStaff = -1;
    int originX = 0;
    int scrollY = 0;
    bool active = false;
    bool operator==(const TPaneState&) const = default;
  };
  TPaneState paneState;
};

}  // namespace kvt
