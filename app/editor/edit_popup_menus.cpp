#include "app/editor/edit_popup_menus.h"

#include <QMenu>
#include <cstdint>

#include "app/editor/edit_command_texts.h"
#include "app/editor/score_edit.h"
#include "notation/staff/music_staff.h"
#include "tools/command_enabler.h"

namespace kvt {

namespace {

// One row of a popup: a command (id > 0), a separator (id 0, no title) or a submenu (id 0
// with a title; the rows of depth 1 after it are its items).
struct TPopupRow {
  int depth;
  int32_t id;
  std::string_view title = {};
};

constexpr TPopupRow kSeparator{0, 0};

// 1: nothing selected, inside the staves.
constexpr TPopupRow kInsertPopup[] = {
    {0, 128}, {0, 129}, {0, 130},   {0, 131}, kSeparator, {0, 0, "&Insert"}, {1, 132}, {1, 133},
    {1, 134}, {1, 144}, {1, 145},   {1, 146}, {1, 147},   {1, 148},          {1, 149}, {1, 150},
    {1, 151}, {1, 152}, {1, 153},   {1, 154}, {1, 155},   {1, 156},          {1, 157}, {1, 158},
    {1, 161}, {1, 166}, kSeparator, {0, 34},  kSeparator, {0, 51},
};

// 2: a selection.
constexpr TPopupRow kSelectionPopup[] = {
    {0, 32},
    {0, 33},
    {0, 221},
    {0, 34},
    {0, 35},
    kSeparator,
    {0, 0, "&Duration"},
    {1, 101},
    {1, 102},
    {1, 103},
    {1, 104},
    {1, 105},
    {1, 106},
    {1, 107},
    {0, 0, "&Accidental"},
    {1, 96},
    {1, 97},
    {1, 98},
    {1, 99},
    {1, 100},
    {0, 0, "A&ttributes"},
    {1, 116},
    {1, 117},
    {1, 118},
    {1, 124},
    {1, 125},
    {1, 119},
    {1, 120},
    {1, 121},
    {1, 114},
    {1, 225},
    {1, 230},
    {1, 231},
    kSeparator,
    {0, 113},
    {0, 115},
    {0, 111},
    {0, 112},
    {0, 289},
    kSeparator,
    {0, 224},
};

// 3: outside the staves.
constexpr TPopupRow kStaffPopup[] = {
    {0, 217}, {0, 218}, kSeparator, {0, 226}, {0, 227}, {0, 223}, kSeparator,
    {0, 219}, {0, 220}, kSeparator, {0, 162}, {0, 163}, {0, 164}, {0, 62},
};

// 16: one user object selected.
constexpr TPopupRow kUserObjectPopup[] = {
    {0, 168}, {0, 224}, kSeparator, {0, 32}, {0, 33}, {0, 35},
};

template <size_t N>
std::unique_ptr<QMenu> Build(TScoreEdit& view, const TPopupRow (&rows)[N]) {
  auto menu = std::make_unique<QMenu>();
  QMenu* sub = nullptr;
  for (const TPopupRow& row : rows) {
    if (row.depth == 0) sub = nullptr;
    QMenu& target = sub ? *sub : *menu;
    if (row.id > 0)
      AddCommandItem(target, view, row.id);
    else if (row.title.empty())
      menu->addSeparator();
    else
      sub = menu->addMenu(
          QString::fromUtf8(row.title.data(), static_cast<qsizetype>(row.title.size())));
  }
  return menu;
}

}  // namespace

void AddCommandItem(QMenu& menu, TScoreEdit& view, int id) {
  const std::string_view text = EditCommandText(id);
  QAction* action =
      menu.addAction(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
  action->setData(id);
  TCommandEnabler state(id);
  const bool known = view.EnableCommand(state);
  action->setEnabled(known && state.enabled.value_or(false));
  if (state.check) {
    action->setCheckable(true);
    action->setChecked(*state.check == kChecked);
  }
  if (state.text) action->setText(*state.text);
  QObject::connect(action, &QAction::triggered, &menu, [&view, id] { view.ExecuteCommand(id); });
}

std::unique_ptr<QMenu> BuildEditPopup(TScoreEdit& view, int position) {
  switch (position) {
    case 1: return Build(view, kInsertPopup);
    case 2: return Build(view, kSelectionPopup);
    case 3: return Build(view, kStaffPopup);
    case 16: return Build(view, kUserObjectPopup);
    default: return nullptr;
  }
}

bool ItemStillAt(TScoreEdit& view, int itemIndex, const TNotatedItem* item) {
  const TMusicStaff* staff = view.ActiveStaff();
  return staff && item && itemIndex >= 0 && itemIndex <= staff->GetLastIndex() &&
         staff->GetItem(itemIndex) == item;
}

QString TextWithoutKey(std::string_view text) {
  const size_t tab = text.find('\t');
  if (tab != std::string_view::npos) text = text.substr(0, tab);
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString LiteralMenuText(std::string_view utf8) {
  QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  text.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return text;
}

}  // namespace kvt
