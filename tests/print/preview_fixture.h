#pragma once
// Helpers of the preview's tests: scores of plain quarter-note bars, a print data on a
// recording device at 600 dpi (A4 unless told), and stand-ins for the preview's services.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "draw/print/print_data.h"
#include "draw/recording_context.h"
#include "draw/staff_color_handles.h"
#include "notation/staff/music_score.h"
#include "print/preview_services.h"
#include "tests/notation/staff_builder.h"
#include "utils/alert_log.h"
#include "utils/bool_array.h"

namespace kvt::test {

// A4 at 600 dots per inch, printable to the edges.
inline TPaperMeasures PreviewA4() { return {4960, 7016, 0, 0, 600, 600}; }

// Counts the walks that showed progress and cancels once IsCancelled was asked `cancelAfter`
// times (never with -1).
class TStubProgress final : public TPreviewProgress {
public:
  void Begin(const char* text) override {
    ++begun;
    lastText = text;
  }
  bool IsCancelled() override { return cancelAfter >= 0 && ++asked >= cancelAfter; }
  void End() override { ++ended; }
  int cancelAfter = -1;
  int asked = 0;
  int begun = 0;
  int ended = 0;
  std::string lastText;
};

// The shell with a picture folder, remembering the file it was told.
class TPreviewShell final : public TPrintShell {
public:
  QWidget* MainWindow() override { return nullptr; }
  std::string FileDialogFolder(int) override { return folder; }
  void RememberFileDialogFolder(int, const std::string& path) override { remembered = path; }
  std::string folder;
  std::string remembered;
};

class TFixedCaretTime final : public TCaretTimeSource {
public:
  int64_t CaretTime() override { return ticks; }
  int64_t ticks = 0;
};

class PreviewTest : public ::testing::Test {
protected:
  // Staves of `bars` bars of four quarter notes each.
  void AddStaves(int staves, int bars) {
    for (int s = 0; s < staves; ++s) {
      score.AddStaff(std::make_unique<TMusicStaff>());
      TStaffBuilder b(*score.GetStaff(score.GetLastIndex()));
      for (int bar = 0; bar < bars; ++bar) {
        for (int i = 0; i < 4; ++i) b.Note(0);
        if (bar + 1 < bars) b.Bar();
      }
    }
  }
  TKVTNTNPrintData& Print(const TPaperMeasures& paper = PreviewA4()) {
    selection = TKVBoolArray(score.GetStaffCount());
    selection.SetAll(true);
    print = std::make_unique<TKVTNTNPrintData>(dc, paper, score, colors, selection, alerts);
    return *print;
  }
  // The number of pages, counted apart from the object under test.
  int CountPages() {
    TKVBoolArray all(score.GetStaffCount());
    all.SetAll(true);
    TKVTNTNPrintData counter(dc, PreviewA4(), score, colors, all, alerts);
    return counter.CountPages();
  }

  TMusicScore score;
  TStaffColorHandles colors;
  TNullAlertLog alerts;
  TRecordingContext dc{600, 600};
  TKVBoolArray selection;
  std::unique_ptr<TKVTNTNPrintData> print;
  TStubProgress progress;
};

// Ticks of a quarter note.
inline constexpr int kQuarter = 192;

}  // namespace kvt::test
