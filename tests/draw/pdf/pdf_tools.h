#pragma once
// Test helpers for page output: render a score's pages to a PDF at 600 dpi on A4 through the
// page renderer, run poppler's tools on it, and read the words of `pdftotext -bbox`.

#include <gtest/gtest.h>

#include <QString>
#include <cmath>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "draw/print/print_data.h"
#include "draw/staff_color_handles.h"
#include "notation/staff/music_score.h"
#include "platform/page_contexts.h"
#include "utils/alert_log.h"

namespace kvt::test {

inline constexpr int kPdfDpi = 600;

// The command's standard output; empty when it cannot run.
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

struct TWord {
  int page;
  double xMin, yMin, xMax, yMax;
  std::string text;
};

// The words of `pdftotext -bbox` output, each with its 1-based page.
inline std::vector<TWord> Words(const std::string& bbox) {
  std::vector<TWord> words;
  const std::regex wordTag(
      R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="([0-9.]+)">([^<]*)</word>)re");
  int page = 0;
  size_t at = 0;
  while (at < bbox.size()) {
    const size_t nextPage = bbox.find("<page ", at);
    const size_t nextWord = bbox.find("<word ", at);
    if (nextWord == std::string::npos) break;
    if (nextPage != std::string::npos && nextPage < nextWord) {
      ++page;
      at = nextPage + 6;
      continue;
    }
    const size_t end = bbox.find("</word>", nextWord);
    std::smatch m;
    const std::string tag = bbox.substr(nextWord, end + 7 - nextWord);
    if (std::regex_match(tag, m, wordTag))
      words.push_back(
          {page, std::stod(m[1]), std::stod(m[2]), std::stod(m[3]), std::stod(m[4]), m[5]});
    at = end + 7;
  }
  return words;
}

// Points of a device length.
inline double Pt(int units) { return units * 72.0 / kPdfDpi; }

// Renders every page of the score to file; answers the page count and the printable area.
inline int RenderScorePdf(TMusicScore& score, const QString& file, TPageRect& page) {
  TStaffColorHandles colors;
  TNullAlertLog alerts;
  TPdfPageContext pdf(file, kPdfDpi);
  const TPaperMeasures paper{static_cast<int>(std::lround(210 / 25.4 * kPdfDpi)),
                             static_cast<int>(std::lround(297 / 25.4 * kPdfDpi)),
                             0,
                             0,
                             kPdfDpi,
                             kPdfDpi};
  TKVTNTNPrintData print(pdf.Context(), paper, score, colors, score.GetIncludeFlags(), alerts);
  const int pages = print.CountPages();
  print.SetPageRange(1, pages);
  for (int n = 1; n <= pages; ++n) {
    if (n > 1) {
      EXPECT_TRUE(pdf.NewPage());
    }
    EXPECT_NE(print.RenderPage(&pdf.Context(), n, true), kPageFailed);
    print.AdvancePage();
  }
  EXPECT_TRUE(pdf.Finish());
  page = print.GetPageRect();
  return pages;
}

}  // namespace kvt::test
