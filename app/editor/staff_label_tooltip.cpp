#include "app/editor/staff_label_tooltip.h"

#include <QString>

#include <algorithm>
#include <cstdio>

#include "notation/context/staff_context_state.h"
#include "notation/index/rel_ntn_idx.h"
#include "notation/items/name_lists.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"

namespace kvt {
namespace {

// Letters by mask bit (bit 0 A ... bit 6 G) in key-signature order.
constexpr int kSharpOrder[] = {5, 2, 6, 3, 0, 4, 1};  // F C G D A E B
constexpr int kFlatOrder[] = {1, 4, 0, 3, 6, 2, 5};   // B E A D G C F

void AppendKey(std::string& text, int mask, const int (&order)[7], char sign, bool& first) {
  for (const int letter : order) {
    if ((mask & (1 << letter)) == 0) continue;
    text += ", ";
    text += static_cast<char>('A' + letter);
    text += sign;
    first = false;
  }
}

}  // namespace

std::string StaffLabelTooltip(const TMusicScore& score, int scoreStaff, int item) {
  TMusicStaff* staff = score.GetStaff(scoreStaff);
  if (staff == nullptr) return {};
  std::string text = QString::fromStdU16String(staff->GetName()).toStdString();
  if (staff->GetItemCount() <= 2) return text;
  item = std::clamp(item, 1, staff->GetLastIndex());

  TStaffContextState state;
  staff->GetPlayStateAt(item, state);
  const TRelNtnIdx at(staff, item);
  char part[96];
  std::snprintf(part, sizeof part, " from bar %d, %s clef",
                static_cast<int>(at.GetBarNumber(&score)),
                GetNameListEntry(kNameListClefs, state.GetClef()));
  text += part;
  bool first = true;
  AppendKey(text, state.GetKeySharpsMask(), kSharpOrder, '#', first);
  AppendKey(text, state.GetKeyFlatsMask(), kFlatOrder, 'b', first);
  if (!first) text += " in key";
  int beats = 4;
  int exponent = 2;
  staff->GetTimeSigAt(item, beats, exponent);
  std::snprintf(part, sizeof part, ", %d/%d time", beats, 1 << std::clamp(exponent, 0, 8));
  text += part;
  return text;
}

}  // namespace kvt
