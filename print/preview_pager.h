#pragma once
// TPreviewPager: which page of a print data the preview shows, and the walks that reach a
// page. Pagination is sequential (see print_data.h): going to page n renders pages 1 .. n-1
// without output from the score's start; going back starts again from page 1.
//
// Every walk ends at the last page, when pagination stops advancing, when a page fails, or
// when the user cancels through the progress window; the current page is then where the walk
// stopped and the print data's resume state is at that page, so an export renders exactly the
// page shown. The print data and the progress are not owned and must outlive the pager.

#include <cstdint>

namespace kvt {

class TKVTNTNPrintData;
class TPreviewProgress;

// Walks longer than these show "Working...".
inline constexpr int kProgressPageThreshold = 30;
inline constexpr int64_t kProgressTimeThreshold = 67200;

class TPreviewPager {
public:
  TPreviewPager(TKVTNTNPrintData& print, TPreviewProgress& progress);

  // Page n (from 1; less is 1).
  void GoToPage(int n);
  // The page that carries printed number p.
  void GoToPrintedPage(int p);
  // The first page whose end lies beyond tick time t.
  void GoToTime(int64_t t);
  void FirstPage();
  // The page that reports no further page.
  void LastPage();
  // Only when more pages follow.
  void NextPage();
  // Only above page 1.
  void PreviousPage();

  int Page() const { return page; }
  int64_t PrintedPage() const;
  bool HasMorePages() const { return morePages; }
  // Set while a walk renders pages: painting then shows only the background.
  bool IsPaginating() const { return paginating; }
  // Renders the current page again without output (after a layout switch changed).
  void Refresh() { Measure(); }
  // What drawing the page found; the pager keeps it as the more-pages flag.
  void SetMorePages(bool more) { morePages = more; }

private:
  // Walks from page 1 towards page `limit` until stop() holds after a page was rendered, or
  // the walk ends. The progress window shows at once or once the walk passes the threshold.
  template <typename Stop>
  void Walk(int limit, bool progressAtOnce, Stop stop);
  void Measure();

  TKVTNTNPrintData& print;
  TPreviewProgress& progress;
  int page = 1;
  bool morePages = false;
  bool paginating = false;
};

}  // namespace kvt
