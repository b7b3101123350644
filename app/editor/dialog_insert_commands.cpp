// Inserting an item through its property dialog (commands 132-134, 144-158, 161, 166): a copy
// of the kind's template at the caret, edited by the dialog, placed, then inserted.

#include <functional>
#include <memory>

#include "app/editor/edit_dialogs.h"
#include "app/editor/item_placement.h"
#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "app/editor/staff_commands.h"
#include "notation/files/text/item_text_copy.h"
#include "notation/items/bar_line_data.h"
#include "notation/items/clef_data.h"
#include "notation/items/dynamic_level_data.h"
#include "notation/items/dynamic_variance.h"
#include "notation/items/flow_direction.h"
#include "notation/items/generic_control.h"
#include "notation/items/item_cast.h"
#include "notation/items/key_data.h"
#include "notation/items/multi_measure_rest.h"
#include "notation/items/notation_marker.h"
#include "notation/items/patch_data.h"
#include "notation/items/performance_style.h"
#include "notation/items/repeat_ending.h"
#include "notation/items/staff_sizer.h"
#include "notation/items/staff_spacer.h"
#include "notation/items/sustain_pedal.h"
#include "notation/items/tempo_data.h"
#include "notation/items/tempo_variance.h"
#include "notation/items/text_expression.h"
#include "notation/items/time_signature_data.h"
#include "notation/items/user_object.h"
#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "tools/command_table.h"

namespace kvt {

namespace {

constexpr int kCmdInsertBoundary = 133;
constexpr int kCmdInsertDynamic = 149;
constexpr int kCmdInsertInstrument = 157;
constexpr int kCmdInsertUserObject = 166;

struct TDialogInsert {
  int command;
  std::unique_ptr<TNotatedItem> (*make)();
};

template <typename T>
std::unique_ptr<TNotatedItem> Make() {
  return std::make_unique<T>();
}

const TDialogInsert kDialogInserts[] = {
    {132, Make<TStaffSpacer>},       {133, Make<TStaffSizer>},       {134, Make<TNotationMarker>},
    {144, Make<TBarLineData>},       {145, Make<TClefData>},         {146, Make<TKeyData>},
    {147, Make<TTimeSignatureData>}, {148, Make<TTempoData>},        {149, Make<TDynamicLevelData>},
    {150, Make<TSustainPedal>},      {151, Make<TSpecialEnding>},    {152, Make<TFlowDirection>},
    {153, Make<TTempoVariance>},     {154, Make<TPerformanceStyle>}, {155, Make<TDynamicVariance>},
    {156, Make<TTextExpression>},    {157, Make<TPatchData>},        {158, Make<TGenericControl>},
    {161, Make<TMultiMeasureRest>},  {166, Make<TKVTUserObject>},
};

// The nearest item of the kind before the caret in the staff: what is in force there.
const TNotatedItem* InForce(const TMusicStaff& staff, int caret, TNotatedItemType kind) {
  for (int i = std::min(caret, staff.GetLastIndex()) - 1; i >= 1; --i)
    if (staff.GetItem(i)->GetType() == kind) return staff.GetItem(i);
  return nullptr;
}

// The item the dialog starts from: what is in force for dynamics, boundaries and instruments,
// else the kind's template (when the application keeps them), else a new item.
std::unique_ptr<TNotatedItem> StartingItem(TScoreEdit& view, const TDialogInsert& insert) {
  const TMusicStaff& staff = *view.ActiveStaff();
  const int caret = view.Caret().caret;
  std::unique_ptr<TNotatedItem> item = insert.make();
  const int kind = item->GetType();
  const TNotatedItem* from = nullptr;
  if (insert.command == kCmdInsertDynamic || insert.command == kCmdInsertInstrument)
    from = InForce(staff, caret, item->GetType());
  if (!from && view.Host().Options().smartPropertiesInsert)
    from = view.Host().Dialogs().templates.Get(kind);
  if (from) {
    if (auto copy = CloneItem(*from)) item = std::move(copy);
  } else if (insert.command == kCmdInsertInstrument) {
    item = std::make_unique<TPatchData>(&staff.GetInstrument());
  }
  if (insert.command == kCmdInsertBoundary) {
    int upper = 0;
    int lower = 0;
    BoundariesAt(staff, caret, upper, lower);
    auto& sizer = ItemRef<TStaffSizer>(*item);
    sizer.SetStyle(kSizerNewSize);
    sizer.SetNewSize(upper, lower);
  }
  return item;
}

bool InsertThroughDialog(TScoreEdit& view, const TDialogInsert& insert) {
  if (!view.ActiveStaff()) return false;
  TScoreEditHost& host = view.Host();
  const bool smart = host.Options().smartInsertionPoint;
  std::unique_ptr<TNotatedItem> item = StartingItem(view, insert);
  if (!smart || item->GetType() == kItemText) item->SetStaffPos(view.Caret().caretPos);
  item->SetColor(host.Insertion().color);
  if (!host.Dialogs().EditNewItem(&view, *item, insert.command)) return false;
  host.Insertion().color = item->GetColor();
  // The undo history keeps items in their text form; an item that does not survive it (a
  // text without text) could be inserted but never redone.
  if (!CloneItem(*item)) {
    host.Beep();
    return false;
  }
  if (smart) PlaceAutomatically(*item, view.Score(), view.ActiveScoreStaff(), view.Caret().caret);
  host.Dialogs().templates.Keep(*item);
  return view.InsertItem(std::move(item), insert.command);
}

}  // namespace

void RegisterDialogInsertCommands(TScoreEdit& view, TCommandTable& table) {
  for (const TDialogInsert& insert : kDialogInserts) {
    const TEditDialog dialog = insert.command == kCmdInsertUserObject
                                   ? TEditDialog::kUserObject
                                   : TEditDialog::kItemProperties;
    table.Register(
        insert.command, [&view, &insert](int32_t) { InsertThroughDialog(view, insert); },
        [&view, dialog](TCommandEnabler& e) {
          e.Enable(view.CanEdit() && !view.HasSelection() &&
                   view.Host().Dialogs().IsAvailable(dialog));
        });
  }
}

}  // namespace kvt
