#include "app/editor/context_popup.h"

#include <QMenu>
#include <algorithm>

#include "app/editor/edit_popup_menus.h"
#include "app/editor/note_popup_menu.h"
#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/user_object_popup.h"
#include "draw/layout/score_draw_info.h"
#include "notation/index/staff_draw_pos.h"
#include "notation/items/item_cast.h"
#include "notation/items/user_object.h"
#include "notation/staff/music_staff.h"

namespace kvt {

namespace {

// Half-spaces below and above a user object's position that count as the object.
constexpr double kObjectReachBelow = 2.2;
constexpr double kObjectReachAbove = 1.0;

TStaffDrawInfo* ActiveDrawOf(const TScoreEdit& view) {
  return view.ActiveStaffIndex() >= 0 ? view.Layout().GetStaffDrawInfo(view.ActiveStaffIndex())
                                      : nullptr;
}

bool IsSingleUserObjectSelected(TScoreEdit& view) {
  const TEditorCaret& c = view.Caret();
  const TMusicStaff* staff = view.ActiveStaff();
  return staff && c.HasSelection() && c.SelectionStart() == c.SelectionEnd() &&
         ItemAs<TKVTUserObject>(staff->GetItem(c.SelectionStart())) != nullptr;
}

int SelectionPosition(TScoreEdit& view) {
  if (!view.HasSelection()) return kPopupInsert;
  return IsSingleUserObjectSelected(view) ? kPopupUserObject : kPopupSelection;
}

TContextPopup Dynamic(TScoreEdit& view, int position, QPoint at) {
  return {position, BuildEditPopup(view, position), at};
}

}  // namespace

bool FindNoteHeadAt(TScoreEdit& view, QPoint at, int& itemIndex, int& member) {
  TStaffDrawInfo* draw = ActiveDrawOf(view);
  if (!draw) return false;
  const QPoint p = view.ViewportToLayout(at);
  return draw->HitTestMember(p.x(), p.y(), itemIndex, member);
}

int FindUserObjectAt(TScoreEdit& view, QPoint at) {
  TStaffDrawInfo* draw = ActiveDrawOf(view);
  const TMusicStaff* staff = view.ActiveStaff();
  if (!draw || !staff) return 0;
  const QPoint p = view.ViewportToLayout(at);
  for (int n = 1; n < draw->GetDrawPosCount(); ++n) {
    const int index = draw->PositionAt(n)->GetItemIndex();
    const auto* object = ItemAs<TKVTUserObject>(staff->GetItem(index));
    if (!object) continue;
    const int left = draw->XOfPosition(n);
    const int right = left + std::max(1, draw->GetDrawnWidth(n));
    if (p.x() < left || p.x() >= right) continue;
    const int top = draw->PositionToY(static_cast<float>(object->GetPos() - kObjectReachAbove));
    const int bottom = draw->PositionToY(static_cast<float>(object->GetPos() + kObjectReachBelow));
    if (p.y() >= top && p.y() <= bottom) return index;
  }
  return 0;
}

TContextPopup PrepareMousePopup(TScoreEdit& view, QPoint at, bool middleHeld) {
  if (!middleHeld) {
    int item = 0;
    int member = 0;
    if (!view.HasSelection() && FindNoteHeadAt(view, at, item, member))
      return {kPopupNote, BuildNotePopup(view, item, member), at};
    const int object = FindUserObjectAt(view, at);
    const TEditorCaret& c = view.Caret();
    if (object > 0 &&
        (!c.HasSelection() || (object >= c.SelectionStart() && object <= c.SelectionEnd())))
      return {kPopupObjectOwn, BuildUserObjectPopup(view, object), at};
  }
  if (view.HasSelection()) return Dynamic(view, SelectionPosition(view), at);
  const int staff = view.StaffFromY(at.y(), true);
  if (staff < 0 || !view.StaffRect(staff).contains(at)) return Dynamic(view, kPopupStaff, at);
  if (view.Host().Options().rightMouseSetsCaret) {
    if (staff != view.ActiveStaffIndex()) view.SetActiveStaff(staff, false);
    view.SetCaretFromPoint(at.x(), at.y(), false);
  }
  return Dynamic(view, kPopupInsert, at);
}

TContextPopup PrepareKeyboardPopup(TScoreEdit& view) {
  return Dynamic(view, SelectionPosition(view), view.CaretPoint());
}

}  // namespace kvt
