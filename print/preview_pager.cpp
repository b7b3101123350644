#include "print/preview_pager.h"

#include <algorithm>

#include "draw/print/print_data.h"
#include "print/preview_services.h"

namespace kvt {

namespace {

// The preview's range: no page beyond it is rendered.
constexpr int kLastPreviewPage = 20000;

}  // namespace

TPreviewPager::TPreviewPager(TKVTNTNPrintData& print, TPreviewProgress& progress)
    : print(print), progress(progress) {
  print.SetPageRange(1, kLastPreviewPage);
  print.ResetPagination();
  Measure();
}

void TPreviewPager::Measure() {
  // Renders the current page without output to learn whether more follow; the resume state
  // stays at this page.
  morePages = print.RenderPage(nullptr, page, false) == kMorePages;
}

template <typename Stop>
void TPreviewPager::Walk(int limit, bool progressAtOnce, Stop stop) {
  // A walk that turns out long shows the progress window too, so it can be cancelled.
  bool shown = false;
  auto show = [&] {
    if (!shown) progress.Begin("Working...");
    shown = true;
  };
  if (progressAtOnce) show();
  paginating = true;
  print.ResetPagination();
  page = 1;
  while (page < limit) {
    const int result = print.RenderPage(nullptr, page, false);
    if (result != kMorePages || stop()) break;
    print.AdvancePage();
    ++page;
    if (page > kProgressPageThreshold) show();
    if (shown && progress.IsCancelled()) break;
  }
  paginating = false;
  if (shown) progress.End();
  Measure();
}

void TPreviewPager::GoToPage(int n) {
  n = std::clamp(n, 1, kLastPreviewPage);
  Walk(n, n > kProgressPageThreshold, [] { return false; });
}

void TPreviewPager::GoToPrintedPage(int p) {
  const int start = print.GetPageNumberStart();
  GoToPage(start > 0 ? p - start + 1 : p);
}

void TPreviewPager::GoToTime(int64_t t) {
  Walk(kLastPreviewPage, t > kProgressTimeThreshold,
       [this, t] { return print.GetPageEndTime() > t; });
}

void TPreviewPager::FirstPage() {
  print.ResetPagination();
  page = 1;
  Measure();
}

void TPreviewPager::LastPage() {
  Walk(kLastPreviewPage, false, [] { return false; });
}

void TPreviewPager::NextPage() {
  if (!morePages) return;
  print.AdvancePage();
  ++page;
  Measure();
}

void TPreviewPager::PreviousPage() {
  if (page > 1) GoToPage(page - 1);
}

int64_t TPreviewPager::PrintedPage() const { return print.PrintedNumber(page); }

}  // namespace kvt
