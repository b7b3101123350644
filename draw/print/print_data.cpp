#include "draw/print/print_data.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <string>

#include "draw/color_ref.h"
#include "draw/device_context.h"
#include "draw/items/item_color.h"
#include "notation/services/long_task_cancel.h"
#include "notation/services/page_setup_defaults.h"
#include "notation/staff/music_fonts_data.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "utils/alert_log.h"
#include "utils/bool_array.h"

namespace kvt {

namespace {

constexpr int kSlotPageTitle = 5;
constexpr int kSlotPageText = 6;
constexpr int kSlotPageSmall = 7;
constexpr int kAlignTopKind = 3;
constexpr int kColorGapRuler = 6;
constexpr int kLabelsNone = 0;
constexpr int kLabelsFirstSystem = 1;
constexpr int kLabelsAllSystems = 3;
// Far more systems than any page holds; a bound on the walk, not a layout rule.
constexpr int kMaxSystemsPerPage = 4096;
constexpr int kNoLimit = 1 << 30;

// A margin in device units, clamped to the paper.
int64_t MarginUnits(float inches, int dpi, int paperSize) {
  const double units = std::isfinite(inches) ? static_cast<double>(inches) * dpi : 0.0;
  return static_cast<int64_t>(std::clamp(units, 0.0, static_cast<double>(std::max(paperSize, 0))));
}

}  // namespace

TPageRect ComputePageRect(const TPaperMeasures& paper, const TPageMargins& margins) {
  const int64_t left = MarginUnits(margins.left, paper.dpiX, paper.physicalWidth) - paper.offsetX;
  const int64_t right = paper.physicalWidth -
                        MarginUnits(margins.right, paper.dpiX, paper.physicalWidth) - paper.offsetX;
  const int64_t top = MarginUnits(margins.top, paper.dpiY, paper.physicalHeight) - paper.offsetY;
  const int64_t bottom = paper.physicalHeight -
                         MarginUnits(margins.bottom, paper.dpiY, paper.physicalHeight) -
                         paper.offsetY;
  TPageRect rect;
  rect.left = static_cast<int>(left);
  rect.top = static_cast<int>(top);
  rect.width = static_cast<int>(std::max<int64_t>(right - left, 0));
  rect.height = static_cast<int>(std::max<int64_t>(bottom - top, 0));
  return rect;
}

TKVTNTNPrintData::TKVTNTNPrintData(TDeviceContext& device, const TPaperMeasures& paper,
                                   TMusicScore& score, const TStaffColorHandles& colors,
                                   const TKVBoolArray& selection, TAlertLog& alerts,
                                   const TServices& services)
    : device(&device),
      paper(paper),
      score(&score),
      colors(&colors),
      alerts(&alerts),
      services(services) {
  this->paper.dpiX = paper.dpiX > 0 ? paper.dpiX : std::max(device.DpiX(), 1);
  this->paper.dpiY = paper.dpiY > 0 ? paper.dpiY : std::max(device.DpiY(), 1);
  pageNumberStart = score.GetPageNumbers();
  SetupPrintLayout(selection);
}

TKVTNTNPrintData::~TKVTNTNPrintData() = default;

void TKVTNTNPrintData::SetupPrintLayout(const TKVBoolArray& selection) {
  margins = score->GetMargins();
  page = ComputePageRect(paper, margins);
  if (!HasPrintableArea()) {
    const TPageMargins defaults = PageSetupDefaultsOf(services).GetDefaultMargins();
    margins.top = defaults.top;
    margins.left = defaults.left;
    margins.right = defaults.right;
    margins.bottom = defaults.bottom;
    page = ComputePageRect(paper, margins);
    alerts->AddLine(
        HasPrintableArea()
            ? "The score's margins leave no printable area: the default margins are used"
            : "The paper leaves no printable area: nothing is printed");
  }
  fonts =
      std::make_unique<TMusicFonts>(score->GetFonts(), *device, *colors, FontCatalogOf(services));
  layout = std::make_unique<TScoreDrawInfo>(*score, *fonts, kDrawModePrint);
  int selected = 0;
  for (int i = 0; i < score->GetStaffCount(); ++i) {
    if (!selection.Get(i)) continue;
    ++selected;
    layout->AddStaff(i);
  }
  if (selected > kMaxLayoutStaves)
    alerts->AddLine("More than 64 staves are selected: the first 64 are printed");
  currentStarts.assign(static_cast<size_t>(layout->GetStaffCount()), TLayoutStart{});
  nextStarts = currentStarts;
}

void TKVTNTNPrintData::SetPageRange(int first, int last) {
  firstPage = std::max(first, 1);
  lastPage = std::max(last, firstPage);
}

void TKVTNTNPrintData::ResetPagination() {
  std::fill(currentStarts.begin(), currentStarts.end(), TLayoutStart{});
  nextStarts = currentStarts;
}

void TKVTNTNPrintData::AdvancePage() { currentStarts = nextStarts; }

// 64-bit: a score may start its numbering at the largest int.
int64_t TKVTNTNPrintData::PrintedNumber(int n) const {
  return pageNumberStart > 0 ? int64_t{n} + pageNumberStart - 1 : n;
}

int TKVTNTNPrintData::GetPageLeft(int n) const {
  if (metafileMode) return 0;
  if (margins.mirror && PrintedNumber(n) % 2 == 0)
    return static_cast<int>(MarginUnits(margins.right, paper.dpiX, paper.physicalWidth) -
                            paper.offsetX);
  return page.left;
}

int TKVTNTNPrintData::FontHeight(int role) const {
  const TFontSpec* stored = score->GetFonts().GetTextFont(role);
  const double points = stored ? std::clamp(static_cast<double>(stored->Size()), 0.0, 1000.0) : 0.0;
  return static_cast<int>(points * paper.dpiY / 72.0);
}

int TKVTNTNPrintData::TitleReserve(int& available) const {
  const int reserve = FontHeight(kFontPageTitleText) * 3 / 2 + 2 * FontHeight(kFontPageText);
  int lines = 1;
  for (int field : {kSongCopyright1, kSongCopyright2})
    if (score->GetSongInfoText(field)[0] != 0) ++lines;
  available -= lines * FontHeight(kFontPageSmallText);
  return reserve;
}

void TKVTNTNPrintData::DrawPageNumber(int n) {
  const int64_t printed = PrintedNumber(n);
  if (metafileMode || pageNumberStart <= 0 || printed <= 1) return;
  char text[24];
  std::snprintf(text, sizeof text, "%lld", static_cast<long long>(printed));
  const std::u16string wide(text, text + std::char_traits<char>::length(text));
  const int left = GetPageLeft(n);
  const int width = fonts->GetTextWidthW(kSlotPageText, wide);
  const bool leftAligned = margins.mirror && printed % 2 == 0;
  fonts->SetStaffOrigin(GetPageTop() + 1);
  fonts->DrawTextW(kSlotPageText, kAlignTopKind, leftAligned ? left : left + page.width - width,
                   0.0f, wide);
}

void TKVTNTNPrintData::DrawTitlePage() {
  const int left = GetPageLeft(1);
  auto draw = [&](int slot, std::u16string_view text, int y, int align) {
    if (text.empty()) return;
    const int width = fonts->GetTextWidthW(slot, text);
    const int x = align < 0    ? left
                  : align == 0 ? left + (page.width - width) / 2
                               : left + page.width - width;
    fonts->SetStaffOrigin(y);
    fonts->DrawTextW(slot, kAlignTopKind, x, 0.0f, text);
  };
  draw(kSlotPageTitle, score->GetSongInfoText(kSongTitle), GetPageTop(), 0);
  const int authorY = GetPageTop() + FontHeight(kFontPageTitleText) * 3 / 2;
  draw(kSlotPageText, score->GetSongInfoText(kSongAuthor), authorY, 1);
  draw(kSlotPageText, score->GetSongInfoText(kSongLyricist), authorY, -1);
  const int line = FontHeight(kFontPageSmallText);
  int y = GetPageTop() + page.height - line;
  for (int field : {kSongCopyright2, kSongCopyright1}) {
    const std::u16string_view text = score->GetSongInfoText(field);
    if (text.empty()) continue;
    draw(kSlotPageSmall, text, y, 0);
    y -= line;
  }
}

int TKVTNTNPrintData::RenderPage(TDeviceContext* dc, int n, bool draw) {
  currentPage = n;
  if (n > lastPage || n < 1 || !HasPrintableArea() || layout->GetStaffCount() == 0)
    return kLastPage;
  TDeviceContext* target = dc ? dc : device;
  if (draw) fonts->BeginDrawing(target, device);
  try {
    const int result = RenderPageBody(n, draw);
    if (draw) fonts->EndDrawing();
    return result;
  } catch (const std::exception& fault) {
    if (draw && fonts->IsDrawingActive()) fonts->EndDrawing();
    alerts->AddLine(std::string("PrintStaffs Fault: ") + fault.what());
    return kPageFailed;
  }
}

int TKVTNTNPrintData::RenderPageBody(int n, bool draw) {
  nextStarts = currentStarts;
  layout->Restack();
  if (draw) {
    fonts->SetColorIndex(kColorInk);
    DrawPageNumber(n);
  }
  // Indents: the label column on the systems that show labels, else the bracket room.
  const int defaultIndent = layout->GetBracketWidth();
  int firstIndent = defaultIndent, laterIndent = defaultIndent;
  const int labels = score->GetStaffLabels();
  if (labels != kLabelsNone && (n == 1 || labels > kLabelsFirstSystem)) {
    firstIndent = std::max(defaultIndent, layout->GetStaffLabelWidth(true, n == 1));
    if (labels == kLabelsAllSystems)
      laterIndent = std::max(defaultIndent, layout->GetStaffLabelWidth(true, false));
  }
  if (draw && layout->IsNoJustify()) DrawNoJustifyMarker(n);
  int available = page.height;
  int reserve = 0;
  if (score->GetTitlePage() && n == 1) {
    reserve = TitleReserve(available);
    if (draw) DrawTitlePage();
  }
  available -= reserve;

  std::vector<TSystem> systems;
  int64_t total = 0;
  pageEndTime = 0;
  bool reachedEnd = false;
  std::vector<TLayoutStart> starts = currentStarts;
  for (int i = 0; i < kMaxSystemsPerPage; ++i) {
    const int indent = i == 0 ? firstIndent : laterIndent;
    const int width = std::max(page.width - indent, 1);
    layout->LayoutStavesFromItems(starts, width);
    layout->BreakAndJustify(width);
    const int height = layout->GetTotalHeight();
    if (i > 0 && (total + height > available || layout->StartsWithNewPage())) break;
    systems.push_back({starts, indent, height});
    total += height;
    pageEndTime = layout->XToTimeSlot(0, page.width);
    std::vector<TLayoutStart> ends = layout->GetLayoutEnds();
    const bool advanced = ends != starts;
    nextStarts = ends;
    const TStaffDrawInfo* first = layout->GetStaffDrawInfo(0);
    if (first->ReachedStaffEnd() || !advanced) {
      reachedEnd = true;
      break;
    }
    starts = std::move(ends);
  }

  if (draw) {
    int64_t gap = 0;
    if (score->GetJustifyVertically() && total < available && !systems.empty()) {
      gap = (available - total) / static_cast<int64_t>(systems.size() + 1);
      gap = std::min<int64_t>(gap, total / static_cast<int64_t>(systems.size()) / 2);
    }
    const int left = GetPageLeft(n);
    int64_t y = GetPageTop() + reserve;
    int previousBottom = 0;
    bool previousNeedsLine = false;
    for (size_t i = 0; i < systems.size(); ++i) {
      const TSystem& system = systems[i];
      y += gap;
      const int width = std::max(page.width - system.indent, 1);
      layout->LayoutStavesFromItems(system.starts, width);
      layout->BreakAndJustify(width);
      const int yTop = static_cast<int>(y);
      if (system.indent > defaultIndent)
        layout->DrawStaffLabels(left, yTop, system.indent - defaultIndent);
      if (layout->IsNoJustify()) DrawGapRuler(left + system.indent, left + page.width, yTop);
      layout->Draw(left + page.width, left + system.indent, yTop);
      const bool needsLine = layout->NeedsSystemLine();
      if (score->GetPrintSystemSepMark() && i > 0 && (needsLine || previousNeedsLine)) {
        const int top = yTop + layout->GetSystemEdgeY(-1);
        fonts->SetColorIndex(kColorInk);
        fonts->SetStaffOrigin(0);
        int markY = previousBottom + (top - previousBottom) / 2;
        // A bar number over the system would collide with the mark: it moves up over it.
        const int overNumber = top - layout->Metrics().Space() * 9 / 2;
        if (score->GetBarNumbers() != 0 && overNumber > previousBottom && overNumber < markY)
          markY = overNumber;
        fonts->DrawSystemSeparator(left + system.indent, markY);
      }
      previousBottom = yTop + layout->GetSystemEdgeY(1);
      previousNeedsLine = needsLine;
      y += system.height;
    }
  }
  return reachedEnd ? kLastPage : kMorePages;
}

void TKVTNTNPrintData::DrawNoJustifyMarker(int n) {
  TDeviceContext& dc = *fonts->DrawingContext();
  const TDcPen savedPen = dc.Pen();
  const TDcBrush savedBrush = dc.Brush();
  constexpr TColorRef kRed = MakeColorRef(255, 0, 0);
  dc.SetPen(TDcPen{TPenStyle::kSolid, 1, kRed});
  dc.SetBrush(TDcBrush{false, kRed});
  const int64_t x = static_cast<int64_t>(GetPageLeft(n)) + page.width;
  dc.Rectangle(TDcRect{static_cast<int>(x), GetPageTop(), static_cast<int>(x + layout->GetStepHeight()),
                       GetPageTop() + page.height});
  dc.SetPen(savedPen);
  dc.SetBrush(savedBrush);
}

void TKVTNTNPrintData::DrawGapRuler(int systemLeft, int pageRight, int yTop) {
  const TStaffDrawInfo* first = layout->GetStaffDrawInfo(0);
  const int64_t end = static_cast<int64_t>(systemLeft) + (first ? first->GetTotalWidth() : 0);
  if (end >= pageRight) return;
  const int savedColor = fonts->GetColorIndex();
  fonts->SetStaffOrigin(yTop + layout->GetSystemEdgeY(-1));
  fonts->DrawGapRuler(kColorGapRuler, -2.0f, static_cast<int>(end),
                      static_cast<int>(pageRight - end), false);
  fonts->SetColorIndex(savedColor);
}

int TKVTNTNPrintData::CountPages() {
  if (!HasPrintableArea() || layout->GetStaffCount() == 0) return 0;
  const int savedFirst = firstPage, savedLast = lastPage;
  SetPageRange(1, kNoLimit);
  ResetPagination();
  int pages = 0;
  TLongTaskCancel& cancel = LongTaskCancelOf(services);
  for (int n = 1; n < kNoLimit; ++n) {
    const int result = RenderPage(nullptr, n, false);
    ++pages;
    if (result != kMorePages || cancel.CheckCancel()) break;
    AdvancePage();
  }
  ResetPagination();
  firstPage = savedFirst;
  lastPage = savedLast;
  return pages;
}

}  // namespace kvt
