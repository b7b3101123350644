#pragma once
// Helpers of printing's tests: scores made here, a PDF printer, poppler's tools on the output,
// and recording services.

#include <gtest/gtest.h>

#include <QPageSize>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "draw/print/print_data.h"
#include "draw/staff_color_handles.h"
#include "notation/files/text/score_text_file.h"
#include "notation/staff/music_score.h"
#include "platform/music_font_loader.h"
#include "print/print_services.h"
#include "print/printer_device.h"
#include "tests/notation/staff_builder.h"
#include "utils/alert_log.h"
#include "utils/bool_array.h"
#include "utils/sys_status_bar.h"

namespace kvt::test {

inline std::string RunTool(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return out;
  char buffer[4096];
  size_t n = 0;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  pclose(pipe);
  return out;
}

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

inline void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// pdfinfo's page count; -1 when it reads no PDF.
inline int PdfPageCount(const std::string& file) {
  const std::string info = RunTool("pdfinfo '" + file + "' 2>/dev/null");
  const size_t at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::atoi(info.c_str() + at + 6);
}

// pdfinfo's "Page size" line of the first page.
inline std::string PdfPageSize(const std::string& file) {
  const std::string info = RunTool("pdfinfo '" + file + "' 2>/dev/null");
  const size_t at = info.find("Page size:");
  if (at == std::string::npos) return {};
  return info.substr(at, info.find('\n', at) - at);
}

// The words of one page (from 1).
inline std::vector<std::string> PdfWords(const std::string& file, int page) {
  const std::string text = RunTool("pdftotext -f " + std::to_string(page) + " -l " +
                                   std::to_string(page) + " '" + file + "' -");
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

class TRecordingAlerts final : public TAlertLog {
public:
  void AddLine(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

// Records every status text and runs a hook on each.
class TRecordingStatus final : public TSysStatusBar {
public:
  void ShowStatusText(const std::string& text, bool) override {
    texts.push_back(text);
    if (onText) onText(text);
  }
  std::vector<std::string> texts;
  std::function<void(const std::string&)> onText;
};

// Staves of `bars` bars of four quarter notes each.
inline std::unique_ptr<TMusicScore> MakeScore(int staves, int bars) {
  auto score = std::make_unique<TMusicScore>();
  for (int s = 0; s < staves; ++s) {
    score->AddStaff(std::make_unique<TMusicStaff>());
    TStaffBuilder b(*score->GetStaff(score->GetLastIndex()));
    for (int bar = 0; bar < bars; ++bar) {
      for (int i = 0; i < 4; ++i) b.Note(i % 5);
      if (bar + 1 < bars) b.Bar();
    }
  }
  score->SetTitlePage(false);
  score->SetBarNumbers(0);  // only page numbers are text on the pages
  return score;
}

inline std::unique_ptr<TMusicScore> LoadExample() {
  return LoadTextScoreFile(std::string(KVT_SOURCE_DIR) + "/examples/example.kvttxt", TServices())
      .score;
}

class PrintFixture : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_TRUE(LoadMusicFont());
    ASSERT_TRUE(dir.isValid());
    services.alerts = &alerts;
    services.core.status = &status;
  }
  std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }

  // The PDF printer writing to file on the paper.
  std::unique_ptr<TPrinterDevice> PdfPrinter(const std::string& file,
                                             QPageSize::PageSizeId paper = QPageSize::A4) {
    auto device = std::make_unique<TPrinterDevice>(QString(), QString::fromStdString(file));
    device->Printer().setPageSize(QPageSize(paper));
    return device;
  }
  std::unique_ptr<TKVTNTNPrintData> Data(TPrinterDevice& device, TMusicScore& score) {
    selection = TKVBoolArray(score.GetStaffCount());
    selection.SetAll(true);
    return std::make_unique<TKVTNTNPrintData>(device.Measurer(), device.Paper(), score, colors,
                                              selection, alerts, services.core);
  }
  // A score of four staves with exactly `pages` pages on A4.
  std::unique_ptr<TMusicScore> ScoreOfPages(int pages) {
    auto probe = PdfPrinter(Path("probe.pdf"));
    for (int bars = 8 * pages; bars < 400 * pages; bars += 4) {
      auto score = MakeScore(4, bars);
      if (Data(*probe, *score)->CountPages() == pages) return score;
    }
    return nullptr;
  }

  QTemporaryDir dir;
  TStaffColorHandles colors;
  TKVBoolArray selection;
  TRecordingAlerts alerts;
  TRecordingStatus status;
  TPrintServices services;
};

}  // namespace kvt::test
