// TScoreDrawInfo: lining up simultaneous items, breaking a system and justifying it.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <limits>

#include "draw/layout/fonts_sizing_scope.h"
#include "draw/layout/score_draw_info.h"
#include "draw/music_fonts.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/item_cast.h"
#include "notation/items/staff_sizer.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

constexpr int kEndClass = 9;

struct TAlignCursor {
  int n = 0;         // position index
  int64_t x = 0;     // x of the position's note head
  int64_t time = 0;  // ticks before the position
  int previous = 0;  // position of the previous event
  bool atEnd = false;
};

bool IsExpressionPosition(const TStaffDrawInfo& layout, const TStaffDrawPos& pos) {
  const TNotatedItem* item = layout.GetStaff()->GetItem(pos.GetItemIndex());
  return item && item->IsExpressionClass() && !pos.IsStaffStart();
}

// Moves the cursor one position on, keeping its head x and time.
void Advance(const TStaffDrawInfo& layout, TAlignCursor& c) {
  const TStaffDrawPos* pos = layout.PositionAt(c.n);
  const TStaffDrawPos* next = layout.PositionAt(c.n + 1);
  if (!pos || !next) {
    c.atEnd = true;
    return;
  }
  c.x += pos->GetWidth() - layout.GetLeadWidth(*pos) + layout.GetLeadWidth(*next);
  c.time += pos->GetTimeSlots();
  ++c.n;
}

int ClassAt(const TStaffDrawInfo& layout, const TAlignCursor& c) {
  if (c.atEnd) return kEndClass;
  return GetAlignClass(*layout.PositionAt(c.n), layout.GetStaff());
}

// The unit of stretch goes to the position in front of a stop: the nearest note, multi-bar
// rest, ending, bar line, staff start or aligned signature before it; a bar right after a note
// counts as part of the note.
int StretchTarget(const TStaffDrawInfo& layout, int stop) {
  const TStaffDrawPos* at = layout.PositionAt(stop);
  if (at && at->IsMultiBarRest()) return stop;
  for (int n = stop - 1; n >= 0; --n) {
    const TStaffDrawPos* p = layout.PositionAt(n);
    switch (p->GetKind()) {
      case kDrawBarLine: {
        const TStaffDrawPos* before = layout.PositionAt(n - 1);
        if (before && before->GetKind() == kDrawNote) return n - 1;
        return n;
      }
      case kDrawNote:
      case kDrawMultiBarRest:
      case kDrawMultiBarRestContinuation:
      case kDrawEnding:
      case kDrawStaffStart: return n;
      case kDrawClef:
      case kDrawKey:
      case kDrawTimeSig:
        if (GetAlignClass(*p, layout.GetStaff()) != 0) return n;
        break;
      default: break;
    }
  }
  return 0;
}

struct TStretchStop {
  int n;
  int64_t time;
  int alignClass;
};

std::vector<TStretchStop> StretchStops(const TStaffDrawInfo& layout) {
  std::vector<TStretchStop> stops;
  int64_t time = 0;
  for (int n = 0; n < layout.GetDrawPosCount(); ++n) {
    const TStaffDrawPos* p = layout.PositionAt(n);
    if ((p->GetKind() == kDrawNote && !p->IsHidden()) || p->GetKind() == kDrawMultiBarRest)
      stops.push_back({n, time, GetAlignClass(*p, layout.GetStaff())});
    time += p->GetTimeSlots();
  }
  return stops;
}

bool OpensSection(int style) {
  return style == kBarSectionOpen || style == kBarLocalRepeatOpen || style == kBarMasterRepeatOpen;
}

// A system ends on its closing position at the item's own width, without the space after it.
// A bar that opens a section or a repeat would point into the next system: it stands in for
// the staff's closing bar instead, drawn as a plain bar. A staff with nothing to put the caret
// on takes no width.
void CloseWithBar(TStaffDrawInfo& layout) {
  const int last = layout.GetLastPosition();
  if (last <= 0) return;
  bool caretStop = false;
  for (int n = 1; n <= last && !caretStop; ++n)
    caretStop = layout.IsCaretStop(*layout.PositionAt(n));
  if (!caretStop) {
    for (int n = 0; n <= last; ++n) layout.GetDrawPosAt(n)->SetWidth(0);
    return;
  }
  TStaffDrawPos& end = *layout.GetDrawPosAt(last);
  const TMusicStaff& staff = *layout.GetStaff();
  if (end.GetKind() == kDrawMultiBarRestContinuation) {
    end.SetHidden(false);
  } else if (end.GetKind() == kDrawBarLine) {
    const auto* bar = ItemAs<TBarLineData>(staff.GetItem(end.GetItemIndex()));
    const int closing = staff.GetLastIndex();
    if (bar && OpensSection(bar->GetStyle()) && !end.IsAutoInsert() &&
        ItemAs<TBarLineData>(staff.GetItem(closing)) != nullptr) {
      end.SetItemIndex(closing);
      end.SetAutoInsert(true);
    }
  } else {
    return;
  }
  end.SetWidth(layout.GetFullWidth(last));
}

}  // namespace

void TScoreDrawInfo::AlignStaves() {
  const int unit = metrics.UnitWidth();
  std::vector<TAlignCursor> cursors(static_cast<size_t>(inUse));
  for (int i = 0; i < inUse; ++i) {
    const TStaffDrawInfo& layout = *staves[static_cast<size_t>(i)];
    TAlignCursor& c = cursors[static_cast<size_t>(i)];
    c.atEnd = layout.GetDrawPosCount() == 0;
    if (!c.atEnd) c.x = layout.GetLeadWidth(*layout.PositionAt(0));
  }
  int64_t common = 0;
  bool first = true;
  // Every pass moves at least one cursor on, so the sweep ends after at most all positions.
  for (;;) {
    for (int i = 0; i < inUse; ++i) {
      const TStaffDrawInfo& layout = *staves[static_cast<size_t>(i)];
      TAlignCursor& c = cursors[static_cast<size_t>(i)];
      if (c.atEnd) continue;
      if (!first && c.n == c.previous) Advance(layout, c);
      while (!c.atEnd && ClassAt(layout, c) == 0) Advance(layout, c);
    }
    first = false;
    int64_t eventTime = std::numeric_limits<int64_t>::max();
    int eventClass = kEndClass;
    for (int i = 0; i < inUse; ++i) {
      const TAlignCursor& c = cursors[static_cast<size_t>(i)];
      if (c.atEnd) continue;
      const int cls = ClassAt(*staves[static_cast<size_t>(i)], c);
      if (c.time < eventTime || (c.time == eventTime && cls < eventClass)) {
        eventTime = c.time;
        eventClass = cls;
      }
    }
    if (eventClass == kEndClass) break;
    auto atEvent = [&](int i) {
      const TAlignCursor& c = cursors[static_cast<size_t>(i)];
      return !c.atEnd && c.time == eventTime &&
             ClassAt(*staves[static_cast<size_t>(i)], c) == eventClass;
    };
    for (int i = 0; i < inUse; ++i)
      if (atEvent(i)) common = std::max(common, cursors[static_cast<size_t>(i)].x);
    bool noteColumn = false;
    for (int i = 0; i < inUse; ++i) {
      if (!atEvent(i)) continue;
      TStaffDrawInfo& layout = *staves[static_cast<size_t>(i)];
      TAlignCursor& c = cursors[static_cast<size_t>(i)];
      const int64_t gap = common - c.x;
      if (gap > 0) {
        // Widen after the previous event, past the expressions that belong to it, so items
        // without a column stay next to the item they precede.
        int target = c.previous;
        for (int n = c.previous + 1; n < c.n; ++n) {
          if (!IsExpressionPosition(layout, *layout.PositionAt(n))) break;
          target = n;
        }
        layout.GetDrawPosAt(target)->AddWidth(static_cast<int>(std::min<int64_t>(gap, INT_MAX)));
        c.x = common;
      }
      if (eventClass == 8 && !layout.PositionAt(c.n)->IsHidden()) noteColumn = true;
      c.previous = c.n;
    }
    if (noteColumn) common += unit;
  }
}

void TScoreDrawInfo::Break(int width, std::vector<int64_t>& endTimes) {
  endTimes.assign(static_cast<size_t>(inUse), 0);
  int forcedTimed = -1, forcedTimeless = 0;
  for (int i = 0; i < inUse; ++i) {
    const TStaffDrawInfo& layout = *staves[static_cast<size_t>(i)];
    const TMusicStaff& staff = *layout.GetStaff();
    int64_t sum = 0, time = 0, timeAtBar = 0;
    int timedBars = 0, timelessBars = 0;
    int end = -1;
    for (int n = 0; n < layout.GetDrawPosCount() && end < 0; ++n) {
      const TStaffDrawPos& p = *layout.PositionAt(n);
      if (timedBars > 0 && sum + p.GetWidth() > width) {
        end = n;
        break;
      }
      sum += p.GetWidth();
      time += p.GetTimeSlots();
      const TNotatedItem* item = staff.GetItem(p.GetItemIndex());
      if (p.GetKind() == kDrawBarLine) {
        if (time > timeAtBar) {
          ++timedBars;
          timelessBars = 0;
        } else {
          ++timelessBars;
        }
        timeAtBar = time;
        const auto* bar = ItemAs<TBarLineData>(item);
        if (i == 0 && bar && bar->IsSysBreak() && forcedTimed < 0 && !p.IsAutoInsert() && n > 0) {
          forcedTimed = timedBars;
          forcedTimeless = timelessBars;
          end = n + 1;
        }
        if (i > 0 && forcedTimed >= 0 && timedBars == forcedTimed && timelessBars >= forcedTimeless)
          end = n + 1;
      }
      const auto* sizer = ItemAs<TStaffSizer>(item);
      if (i == 0 && sizer && sizer->GetStyle() == kSizerNewSystem && !p.IsAutoInsert() &&
          !p.IsHidden() && forcedTimed < 0 && timedBars > 0) {
        forcedTimed = timedBars;
        forcedTimeless = timelessBars;
        end = n;
      }
    }
    if (end < 0 || end >= layout.GetDrawPosCount()) continue;
    int64_t reached = 0;
    for (int n = 0; n < end; ++n) reached += layout.PositionAt(n)->GetTimeSlots();
    endTimes[static_cast<size_t>(i)] = reached;
  }
}

void TScoreDrawInfo::Stretch(int width) {
  std::vector<std::vector<TStretchStop>> stops(static_cast<size_t>(inUse));
  std::vector<size_t> cursor(static_cast<size_t>(inUse), 0);
  for (int i = 0; i < inUse; ++i)
    stops[static_cast<size_t>(i)] = StretchStops(*staves[static_cast<size_t>(i)]);
  int widest = GetNaturalWidth();
  while (widest < width) {
    bool any = false;
    for (int i = 0; i < inUse; ++i) {
      const size_t k = cursor[static_cast<size_t>(i)];
      if (k >= stops[static_cast<size_t>(i)].size()) continue;
      TStaffDrawInfo& layout = *staves[static_cast<size_t>(i)];
      layout.GetDrawPosAt(StretchTarget(layout, stops[static_cast<size_t>(i)][k].n))->AddWidth(1);
      any = true;
    }
    if (!any) break;
    // The staves at the earliest stop move on.
    int64_t earliest = std::numeric_limits<int64_t>::max();
    int earliestClass = kEndClass;
    for (int i = 0; i < inUse; ++i) {
      const size_t k = cursor[static_cast<size_t>(i)];
      if (k >= stops[static_cast<size_t>(i)].size()) continue;
      const TStretchStop& s = stops[static_cast<size_t>(i)][k];
      if (s.time < earliest || (s.time == earliest && s.alignClass < earliestClass)) {
        earliest = s.time;
        earliestClass = s.alignClass;
      }
    }
    bool allOff = true;
    for (int i = 0; i < inUse; ++i) {
      size_t& k = cursor[static_cast<size_t>(i)];
      if (k < stops[static_cast<size_t>(i)].size()) {
        const TStretchStop& s = stops[static_cast<size_t>(i)][k];
        if (s.time == earliest && s.alignClass == earliestClass) ++k;
      }
      if (k < stops[static_cast<size_t>(i)].size()) allOff = false;
    }
    if (allOff) std::fill(cursor.begin(), cursor.end(), 0);
    const int now = GetNaturalWidth();
    if (now == widest) break;
    widest = now;
  }
}

int TScoreDrawInfo::BreakAndJustify(int width) {
  TFontsSizingScope sizing(*fonts);
  AlignStaves();
  std::vector<int64_t> endTimes;
  Break(width, endTimes);
  int64_t breakTime = 0;
  for (int64_t t : endTimes)
    if (t > 0 && (breakTime == 0 || t < breakTime)) breakTime = t;
  for (int i = 0; i < inUse; ++i) {
    TStaffDrawInfo& layout = *staves[static_cast<size_t>(i)];
    if (breakTime > 0) layout.TruncateAt(breakTime);
    layout.CloseSystem();
    CloseWithBar(layout);
  }
  int target = width;
  const int natural = GetNaturalWidth();
  const bool lastSystem = inUse > 0 && staves[0]->ReachedStaffEnd();
  const bool extend = lastSystem && score->GetExtendLastSystem();
  if (noJustify || (lastSystem && !extend)) target = natural;
  if (!extend) Stretch(target);
  const int widest = extend ? std::max(target, GetNaturalWidth()) : GetNaturalWidth();
  for (int i = 0; i < inUse; ++i) {
    TStaffDrawInfo& layout = *staves[static_cast<size_t>(i)];
    const int count = layout.GetDrawPosCount();
    const int missing = widest - layout.GetTotalWidth();
    if (missing <= 0 || count == 0) continue;
    layout.GetDrawPosAt(extend ? count - 1 : std::max(0, count - 2))->AddWidth(missing);
  }
  Restack(true);
  return inUse;
}

}  // namespace kvt
