#include "app/editor/edit_command_texts.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace kvt {

namespace {

struct TCommandText {
  int32_t id;
  std::string_view text;
};

// Sorted by id.
constexpr TCommandText kTexts[] = {
    {17, "&User Tool...\tAlt+F8"},
    {18, "R&epeat Last User Tool\tCtrl+Alt+F8"},
    {26, "&Find...\tCtrl+F"},
    {27, "Find &Next...\tF3"},
    {28, "Find Pre&vious...\tShift+F3"},
    {32, "Cu&t\tCtrl+X"},
    {33, "&Copy\tCtrl+C"},
    {34, "&Paste\tCtrl+V"},
    {35, "C&lear\tCtrl+Del"},
    {37, "&Lyrics...\tCtrl+L"},
    {38, "&Goto...\tCtrl+G"},
    {39, "Select &All"},
    {40, "&Undo\tCtrl+Z"},
    {41, "Re&do\tCtrl+Y"},
    {51, "Pr&operties...\tAlt+Enter"},
    {62, "&Layer with Next"},
    {65, "Automatic &Beam"},
    {66, "&Transpose Staff..."},
    {67, "&Force Accidentals"},
    {70, "Audit &Bar Lines"},
    {71, "Audit &Accidentals"},
    {72, "Audit &Note Stems"},
    {73, "Audit &Enharmonic Spelling"},
    {96, "&Natural\t7"},
    {97, "&Sharp\t9"},
    {98, "&Flat\t8"},
    {99, "Double &Sharp"},
    {100, "Double &Flat"},
    {101, "&Whole\t1"},
    {102, "&Half\t2"},
    {103, "&Quarter\t3"},
    {104, "&Eighth\t4"},
    {105, "S&ixteenth\t5"},
    {106, "&Thirty-second\t6"},
    {107, "S&ixty-fourth"},
    {111, "Ste&m Up\tShift+Up"},
    {112, "Ste&m Down\tShift+Dn"},
    {113, "&Beam\tCtrl+B"},
    {114, "&Slur\t;"},
    {115, "&Triplet\tCtrl+T"},
    {116, "&Accent\t!"},
    {117, "Stacca&to\t,"},
    {118, "Te&nuto\t_"},
    {119, "&Dot\t."},
    {120, "Do&uble Dot"},
    {121, "T&ie\t/"},
    {124, "&Marcato\t^"},
    {125, "Staccat&issimo\t'"},
    {128, "&Note\tEnter"},
    {129, "&Rest\tSpacebar"},
    {130, "&Chord Member\tCtrl+Enter"},
    {131, "&Bar Line\tTab"},
    {132, "Sp&acer...\tInsert"},
    {133, "Boundary Chan&ge...\t]"},
    {134, "Mar&ker...\t@"},
    {144, "&Bar Line (Decorated)...\tB"},
    {145, "&Clef...\tC"},
    {146, "&Key Signature...\tK"},
    {147, "Time Si&gnature...\tG"},
    {148, "&Tempo...\tT"},
    {149, "&Dynamic...\tD"},
    {150, "S&ustain Pedal...\tU"},
    {151, "&Special Ending...\tS"},
    {152, "&Flow Direction...\tF"},
    {153, "T&empo Variance...\tE"},
    {154, "&Performance Style...\tP"},
    {155, "D&ynamic Variance...\tY"},
    {156, "Te&xt...\tX"},
    {157, "&Instrument Change...\tI"},
    {158, "Mu&lti-point Controller...\tL"},
    {160, "Fi&ltered Properties...\tCtrl+F3"},
    {161, "&Multi-measure Rest...\t["},
    {162, "&Bracket with Next"},
    {163, "B&race with Next"},
    {164, "&Connect Bars"},
    {166, "Ob&ject...\tJ"},
    {168, "Ob&ject..."},
    {212, "Re&move Chord Note\tCtrl+Backspace"},
    {215, "MIDI &Input Active"},
    {217, "&New Staff\tCtrl+A"},
    {218, "&Delete Staff\tCtrl+D"},
    {219, "Staff &Properties...\tF2"},
    {220, "&Mute Staff"},
    {221, "Cop&y Special"},
    {223, "Mo&ve Staff..."},
    {224, "Pr&operties..."},
    {225, "&Grace Note\t="},
    {226, "Move Staff &Up\tCtrl+Shift+Page Up"},
    {227, "Move Staff D&own\tCtrl+Shift+Page Dn"},
    {230, "&Crescendo\t<"},
    {231, "Di&minuendo\t>"},
    {241, "&Standard"},
    {242, "&X"},
    {243, "&Harmonic"},
    {244, "&Blank"},
    {245, "&Non-pitched"},
    {246, "&Diamond"},
    {247, "Shape &1 do"},
    {248, "Shape &2 re"},
    {249, "Shape &3 mi"},
    {250, "Shape &4 fa"},
    {251, "Shape 4 fa (&alt)"},
    {252, "Shape &5 sol"},
    {253, "Shape &6 la"},
    {254, "Shape &7 ti"},
    {289, "&Color...\t\\"},
};
static_assert(std::is_sorted(std::begin(kTexts), std::end(kTexts),
                             [](const TCommandText& a, const TCommandText& b) { return a.id < b.id; }));

}  // namespace

std::string_view EditCommandText(int32_t id) {
  const auto* it = std::lower_bound(std::begin(kTexts), std::end(kTexts), id,
                                    [](const TCommandText& t, int32_t v) { return t.id < v; });
  return it != std::end(kTexts) && it->id == id ? it->text : std::string_view();
}

}  // namespace kvt
