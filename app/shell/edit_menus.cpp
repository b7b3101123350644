#include "app/shell/edit_menus.h"

#include <iterator>

#include "app/editor/edit_command_texts.h"

namespace kvt {

namespace {

constexpr TEditMenuRow kEdit[] = {
    {40, "&Undo\tCtrl+Z"},
    {41, "Re&do\tCtrl+Y"},
    {kMenuSeparator},
    {32},
    {33},
    {221},
    {34},
    {54, "Paste as Ne&w File\tShift+Ctrl+V"},
    {35},
    {kMenuSeparator},
    {39},
    {38},
    {kMenuSeparator},
    {26},
    {27},
    {28},
    {kMenuSeparator},
    {37},
    {51},
    {160},
    {kMenuSeparator},
    {17},
    {18},
    {kMenuSeparator},
    {215},
};

constexpr TEditMenuRow kInsert[] = {
    {128}, {129},
    {130}, {131},
    {212}, {kMenuSeparator},
    {132}, {133},
    {134}, {144},
    {145}, {146},
    {147}, {148},
    {149}, {150},
    {151}, {152},
    {153}, {154},
    {155}, {156},
    {157}, {158},
    {161}, {kMenuSeparator},
    {166},
};

constexpr TEditMenuRow kNotes[] = {
    {101},
    {102},
    {103},
    {104},
    {105},
    {106},
    {107},
    {kMenuSeparator},
    {96},
    {97},
    {98},
    {99},
    {100},
    {kMenuSeparator},
    {kSubmenuStart, "Note &Heads"},
    {241},
    {242},
    {243},
    {244},
    {245},
    {246},
    {247},
    {248},
    {249},
    {250},
    {251},
    {252},
    {253},
    {254},
    {kSubmenuEnd},
    {kMenuSeparator},
    {116},
    {117},
    {118},
    {124},
    {125},
    {119},
    {120},
    {114},
    {121},
    {225},
    {230},
    {231},
    {kMenuSeparator},
    {113},
    {115},
    {111},
    {112},
    {kMenuSeparator},
    {289},
};

constexpr TEditMenuRow kStaff[] = {
    {217},
    {218},
    {223},
    {226},
    {227},
    {kMenuSeparator},
    {219},
    {220},
    {kMenuSeparator},
    {162},
    {163},
    {164},
    {62},
    {kMenuSeparator},
    {66},
    {65},
    {67},
    {70},
    {71},
    {72},
    {73},
};

constexpr TEditMenu kMenus[] = {
    {"&Edit", kEdit},
    {"&Insert", kInsert},
    {"&Notes", kNotes},
    {"&Staff", kStaff},
};

}  // namespace

std::span<const TEditMenu> EditMenus() { return kMenus; }

std::string_view EditMenuRowText(const TEditMenuRow& row) {
  if (row.text != nullptr) return row.text;
  return row.id > 0 ? EditCommandText(row.id) : std::string_view();
}

}  // namespace kvt
