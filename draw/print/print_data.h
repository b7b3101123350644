#pragma once
// TKVTNTNPrintData: the printable form of a score for one page device: the printable page
// rectangle from the paper and the score's margins, the music fonts and the score layout built
// for the device's resolution, and the pages rendered one after another. Pagination is
// sequential: a page's layout begins where the previous page ended, so page n can be rendered
// only after pages 1 .. n-1 (with or without output) and AdvancePage after each.
//
// Contract:
// - The score, the colour table, the device and the alert log are not owned and must outlive
//   the object; the device is the one measured with, and the one drawn on unless RenderPage is
//   given another.
// - Margins that leave no printable area are replaced by the page-setup defaults for this
//   layout only (the score keeps its own) and the alert log says so; when even those leave none
//   there are no pages. Without a selected staff there are no pages either; of more than 64
//   selected staves the first 64 print, and the alert log says so.
// - A fault while a page is drawn fails that page: RenderPage answers kPageFailed and the alert
//   log holds the fault's text.
// - Every page consumes music: a page that does not advance ends the score, so any score that
//   loaded paginates in bounded time.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "draw/layout/score_draw_info.h"
#include "draw/music_fonts.h"
#include "notation/services/services.h"
#include "notation/staff/music_score.h"

namespace kvt {

class TAlertLog;
class TDeviceContext;
class TKVBoolArray;
class TMusicScore;
class TStaffColorHandles;

// What the device reports of its paper, in device units.
struct TPaperMeasures {
  int physicalWidth = 0;
  int physicalHeight = 0;
  int offsetX = 0;  // the printable area's origin on the paper
  int offsetY = 0;
  int dpiX = 0;
  int dpiY = 0;
};

// The page rectangle relative to the printable origin.
struct TPageRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// RenderPage's answers.
inline constexpr int kLastPage = 0;
inline constexpr int kMorePages = 1;
inline constexpr int kPageFailed = -1;

// The page rectangle for margins in inches, each margin clamped to the paper; empty (width
// or height 0 or less) when the margins leave nothing.
TPageRect ComputePageRect(const TPaperMeasures& paper, const TPageMargins& margins);

class TKVTNTNPrintData {
public:
  // selection: one bit per score staff, set for the staves to print.
  TKVTNTNPrintData(TDeviceContext& device, const TPaperMeasures& paper, TMusicScore& score,
                   const TStaffColorHandles& colors, const TKVBoolArray& selection,
                   TAlertLog& alerts, const TServices& services = TServices());
  ~TKVTNTNPrintData();
  TKVTNTNPrintData(const TKVTNTNPrintData&) = delete;
  TKVTNTNPrintData& operator=(const TKVTNTNPrintData&) = delete;

  void SetPageRange(int first, int last);
  // Back to the score's start.
  void ResetPagination();
  // The next page begins where the last rendered page ended.
  void AdvancePage();
  // Renders page n (drawing on dc, or on the measuring device when dc is null, only when
  // draw is set): kMorePages, kLastPage (also beyond the last page of the range, and when
  // there is nothing to print) or kPageFailed.
  int RenderPage(TDeviceContext* dc, int n, bool draw);
  // Renders pages 1, 2, ... without output until the last; 0 when there is nothing to print.
  // Stops early when the long task is cancelled.
  int CountPages();

  // The page origin for page n, honouring mirror margins; (0, 0) in picture mode.
  int GetPageLeft(int n) const;
  int GetPageTop() const { return metafileMode ? 0 : page.top; }
  // Picture mode: pages render at the origin and without their page number, as a page
  // exported as a picture stands on its own.
  void SetPictureMode(bool on) { metafileMode = on; }
  const TPageRect& GetPageRect() const { return page; }
  bool HasPrintableArea() const { return page.width > 0 && page.height > 0; }
  // The tick time the first staff reaches at the page width in the last system placed on the
  // last rendered page (0 before any).
  int64_t GetPageEndTime() const { return pageEndTime; }
  // The printed number of page n: n counted from the page-number start, or n without page
  // numbers.
  int64_t PrintedNumber(int n) const;
  // The score's first page number; 0 when pages carry no numbers.
  int GetPageNumberStart() const { return pageNumberStart; }
  const TPaperMeasures& GetPaper() const { return paper; }
  TScoreDrawInfo& Layout() { return *layout; }
  TMusicFonts& Fonts() { return *fonts; }

private:
  struct TSystem {
    std::vector<TLayoutStart> starts;
    int indent = 0;
    int height = 0;
  };
  void SetupPrintLayout(const TKVBoolArray& selection);
  void DrawPageNumber(int n);
  void DrawTitlePage();
  int TitleReserve(int& available) const;
  int FontHeight(int role) const;
  int RenderPageBody(int n, bool draw);
  // The red strip right of the page that says the systems are left at their natural width.
  void DrawNoJustifyMarker(int n);
  // The ruler over the room a system left unjustified, from the end of its first staff to
  // the page's right edge.
  void DrawGapRuler(int systemLeft, int pageRight, int yTop);

  TDeviceContext* device;
  TPaperMeasures paper;
  TMusicScore* score;
  const TStaffColorHandles* colors;
  TAlertLog* alerts;
  TServices services;
  TPageMargins margins;
  TPageRect page;
  std::unique_ptr<TMusicFonts> fonts;
  std::unique_ptr<TScoreDrawInfo> layout;
  std::vector<TLayoutStart> currentStarts;
  std::vector<TLayoutStart> nextStarts;
  int firstPage = 1;
  int lastPage = 1;
  int pageNumberStart = 0;
  int currentPage = 0;
  int64_t pageEndTime = 0;
  bool metafileMode = false;
};

}  // namespace kvt
