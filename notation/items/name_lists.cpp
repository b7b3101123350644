#include "notation/items/name_lists.h"

#include <cstring>

namespace kvt {
namespace {

// Each name is its own literal ending in "\0", so a name that begins with a digit ("4th") can
// never merge into the octal escape before it; the literal's own terminator ends the list.
const char* const kNameLists[kNameListCount] = {
    // 0: item kind names (type codes 0-23); record names of the text format
      "Clef\0" "Key\0" "Bar\0" "Ending\0" "Instrument\0" "TimeSig\0" "Tempo\0" "Dynamic\0" "Note\0"
      "Rest\0" "Chord\0" "SustainPedal\0" "Flow\0" "MPC\0" "TempoVariance\0" "DynamicVariance\0"
      "PerformanceStyle\0" "Text\0" "RestChord\0" "User\0" "Spacer\0" "RestMultiBar\0" "Boundary\0"
      "Marker\0",
    // 1: display names of the 16 editor and print colours
      "Printer Default\0" "Staff Label Panel\0" "Editor Background\0" "Active Background\0"
      "Active Staff\0" "Inactive Staff\0" "Active Hidden Notation\0" "Inactive Hidden Notation\0"
      "Play Highlight\0" "Highlight 1\0" "Highlight 2\0" "Highlight 3\0" "Highlight 4\0"
      "Highlight 5\0" "Highlight 6\0" "Highlight 7\0",
    // 2: staff styles (legacy)
      "Standard\0" "Upper Grand Staff\0" "Lower Grand Staff\0" "Orchestral\0",
    // 3: item and staff colours
      "Default\0" "Highlight 1\0" "Highlight 2\0" "Highlight 3\0" "Highlight 4\0" "Highlight 5\0"
      "Highlight 6\0" "Highlight 7\0",
    // 4: visibility, display names
      "Default\0" "Always\0" "Top Staff Only\0" "Single Staff Prints\0" "Multi Staff Prints\0"
      "Never\0",
    // 5: visibility, text-format names
      "Default\0" "Always\0" "TopStaff\0" "SingleStaff\0" "MultiStaff\0" "Never\0",
    // 6: clef types
      "Treble\0" "Bass\0" "Alto\0" "Tenor\0" "Percussion\0",
    // 7: bar line styles, display names
      "Single\0" "Double\0" "Broken Single\0" "Broken Double\0" "Section Open\0" "Section Close\0"
      "Local Repeat Open\0" "Local Repeat Close\0" "Master Repeat Open\0" "Master Repeat Close\0"
      "Transparent\0",
    // 8: bar line styles, text-format names
      "Single\0" "Double\0" "BrokenSingle\0" "BrokenDouble\0" "SectionOpen\0" "SectionClose\0"
      "LocalRepeatOpen\0" "LocalRepeatClose\0" "MasterRepeatOpen\0" "MasterRepeatClose\0"
      "Transparent\0",
    // 9: staff ending bar styles
      "Section Close\0" "Master Repeat Close\0" "Single\0" "Double\0" "Open (hidden)\0",
    // 10: flow directions, display names
      "Coda\0" "Segno\0" "Fine\0" "To Coda\0" "Da Capo\0" "D.C. al Coda\0" "D.C. al Fine\0"
      "Dal Segno\0" "D.S. al Coda\0" "D.S. al Fine\0",
    // 11: flow directions, text-format names
      "Coda\0" "Segno\0" "Fine\0" "ToCoda\0" "DaCapo\0" "DCalCoda\0" "DCalFine\0" "DalSegno\0"
      "DSalCoda\0" "DSalFine\0",
    // 12: note letters
      "A\0" "B\0" "C\0" "D\0" "E\0" "F\0" "G\0",
    // 13: durations, long names
      "Whole\0" "Half\0" "Quarter\0" "Eighth\0" "Sixteenth\0" "Thirtysecond\0" "Sixtyfourth\0",
    // 14: durations, text-format names
      "Whole\0" "Half\0" "4th\0" "8th\0" "16th\0" "32nd\0" "64th\0",
    // 15: lyric option
      "Default\0" "Always\0" "Never\0",
    // 16: beam and triplet group position
      "None\0" "First\0" "Middle\0" "End\0",
    // 17: dynamic levels, display names
      "Pianissimo (ppp)\0" "Pianissimo\0" "Piano\0" "Mezzo piano\0" "Mezzo forte\0" "Forte\0"
      "Fortissimo\0" "Fortissimo (fff)\0",
    // 18: dynamic levels, text-format names
      "ppp\0" "pp\0" "p\0" "mp\0" "mf\0" "f\0" "ff\0" "fff\0",
    // 19: dynamic variances, display names
      "Crescendo\0" "Decrescendo\0" "Diminuendo\0" "Rinforzando\0" "Sforzando\0",
    // 20: dynamic variances, texts shown in the score
      "cresc.\0" "decresc.\0" "dim.\0" "rfz\0" "sfz\0",
    // 21: MPC controllers, display names
      "Tempo\0" "Volume\0" "Stereo Pan\0" "Breath Control\0" "Pitch Bend\0" "Modulation Wheel\0"
      "Foot Controller\0" "Portamento Time\0" "Data Entry MSB\0" "Balance\0" "Expression\0"
      "Effect Controller 1\0" "Effect Controller 2\0" "Effects (Reverb) Depth\0" "Tremolo Depth\0"
      "Chorus Depth\0" "Celeste Detune Depth\0" "Phaser Depth\0",
    // 22: MPC controllers, text-format names
      "tempo\0" "vol\0" "pan\0" "bc\0" "pitch\0" "mod\0" "foot\0" "portamento\0" "datamsb\0" "bal\0"
      "exp\0" "fx1\0" "fx2\0" "reverb\0" "tremolo\0" "chorus\0" "detune\0" "phaser\0",
    // 23: MPC styles
      "Absolute\0" "Linear Sweep\0",
    // 24: time signature styles, display names
      "Standard Signature\0" "Common Time\0" "Alla Breve\0",
    // 25: time signature styles, text-format names
      "Standard\0" "Common\0" "AllaBreve\0",
    // 26: tempo bases
      "Eighth\0" "Eighth Dotted\0" "Quarter\0" "Quarter Dotted\0" "Half\0" "Half Dotted\0",
    // 27: tempo variances, display names
      "Breath Mark\0" "Caesura\0" "Fermata\0" "Accelerando\0" "Allargando\0" "Rallentando\0"
      "Ritardando\0" "Ritenuto\0" "Rubato\0" "Stringendo\0",
    // 28: tempo variances, texts shown in the score
      ",\0" "//\0" "?\0" "accel.\0" "allarg.\0" "rall.\0" "ritard.\0" "rit.\0" "rubato\0"
      "string.\0",
    // 29: performance styles, display names
      "Ad Libitum\0" "Animato\0" "Cantabile\0" "Con brio\0" "Dolce\0" "Espressivo\0" "Grazioso\0"
      "Legato\0" "Maestoso\0" "Marcato\0" "Meno mosso\0" "Poco a poco\0" "Pi\xF9 mosso\0"
      "Semplice\0" "Simile\0" "Solo\0" "Sostenuto\0" "Sotto Voce\0" "Staccato\0" "Subito\0"
      "Tenuto\0" "Tutti\0" "Volta Subito\0",
    // 30: performance styles, texts shown in the score
      "ad lib.\0" "animato\0" "cantabile\0" "con brio\0" "dolce\0" "espress.\0" "grazioso\0"
      "legato\0" "maestoso\0" "marc.\0" "meno mosso\0" "poco a poco\0" "pi\xF9 mosso\0" "semplice\0"
      "simile\0" "solo\0" "sostenuto\0" "sotto voce\0" "staccato\0" "subito\0" "tenuto\0" "tutti\0"
      "volta subito\0",
    // 31: expression justification
      "Left\0" "Center\0" "Right\0",
    // 32: clef octave shift
      "None\0" "Octave Up\0" "Octave Down\0",
    // 33: expression placement, display names
      "Best Fit\0" "Best Fit Forward\0" "As Staff Signature\0" "At Next Note/Bar\0",
    // 34: expression placement, text-format names
      "BestFit\0" "BestFitForward\0" "AsStaffSignature\0" "AtNextNote\0",
    // 35: bar number styles
      "None\0" "Plain\0" "Circled\0" "Boxed\0",
    // 36: score font names, display names
      "Staff Symbols\0" "Staff Cue Symbols\0" "Staff Italic\0" "Staff Bold\0" "Staff Lyric\0"
      "Page Title Text\0" "Page Text\0" "Page Small Text\0" "User 1\0" "User 2\0" "User 3\0"
      "User 4\0" "User 5\0" "User 6\0",
    // 37: score font names, text-format names
      "StaffSymbols\0" "StaffCueSymbols\0" "StaffItalic\0" "StaffBold\0" "StaffLyric\0"
      "PageTitleText\0" "PageText\0" "PageSmallText\0" "User1\0" "User2\0" "User3\0" "User4\0"
      "User5\0" "User6\0",
    // 38: lyric placement
      "Bottom\0" "Top\0",
    // 39: slur and tie direction
      "Default\0" "Upward\0" "Downward\0",
    // 40: lyric alignment
      "Start of Accidental/Note\0" "Standard Rules\0",
    // 41: sustain pedal status
      "Down\0" "Released\0",
    // 42: staff label printing
      "None\0" "First System\0" "Top Systems\0" "All Systems\0",
    // 43: accidental letters (one string, by index)
      "#bnxv\0",
    // 44: note-head letters (one string, by index)
      "oxXzyYabcdefghijklmnpqrstuvwABCDEFGHIJKLMNOPQRSTUVW\0",
    // 45: boundary styles
      "Reset\0" "NewSize\0" "Collapse\0" "EndCollapse\0" "Gap\0" "NewSystem\0",
    // 46: user-object classes
      "Standard\0" "StaffSig\0",
    // 47: user-object reserved field names
      "Class\0" "Pos\0" "Visibility\0" "Color\0",
    // 48: marker targets
      "Articulation\0" "Slur\0" "Triplet\0",
    // 49: staff property names
      "Name\0" "Label\0" "LabelAbbr\0" "Group\0" "EndingBar\0" "BoundaryTop\0" "BoundaryBottom\0"
      "Lines\0" "BracketWithNext\0" "BraceWithNext\0" "ConnectBarsWithNext\0" "LayerWithNext\0"
      "MultiPartDotPlacement\0" "Color\0" "Muted\0" "Volume\0" "StereoPan\0" "Device\0" "Channel\0",
    // 50: song information field names
      "Title\0" "Author\0" "Lyricist\0" "Copyright1\0" "Copyright2\0" "Comments\0",
    // 51: page option names
      "TitlePage\0" "JustifyVertically\0" "PrintSystemSepMark\0" "ExtendLastSystem\0"
      "DurationPadding\0" "PageNumbers\0" "StaffLabels\0" "BarNumbers\0" "StartingBar\0"
      "AllowLayering\0",
    // 52: page margin names
      "Left\0" "Top\0" "Right\0" "Bottom\0" "Mirror\0",
};

// Wide text is read as 16-bit units straight from memory, which needs 2-byte alignment.
static_assert(alignof(char16_t) % 2 == 0, "(DWORD(KVTWideStringList) % 2) == 0");

const char16_t* const kWideNames[kWideNameCount] = {
    u" ", u"-", u"\r\n", u"\r\n\r\n", u"\t", u"[Instr]",
};

// Lower case of a Windows-1252 letter: ASCII, the accented Latin letters (0xC0-0xDE but the
// multiplication sign) and the three capitals of the 0x80 row with their small letters.
unsigned char FoldCase1252(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 16);
  if (c == 0x9F) return 0xFF;
  return c;
}

bool NamesEqual(std::string_view a, std::string_view b, bool ignoreCase) {
  if (a.size() != b.size()) return false;
  if (!ignoreCase) return a == b;
  for (size_t i = 0; i < a.size(); ++i) {
    if (FoldCase1252(static_cast<unsigned char>(a[i])) !=
        FoldCase1252(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

}  // namespace

const char* GetNameList(int list) {
  if (list < 0 || list >= kNameListCount) return "";
  return kNameLists[list];
}

int GetNameListSize(int list) {
  int count = 0;
  for (const char* p = GetNameList(list); *p; p += std::strlen(p) + 1) ++count;
  return count;
}

const char* GetNameListEntry(int list, int value) {
  const char* p = GetNameList(list);
  for (int i = 0; i < value && *p; ++i) p += std::strlen(p) + 1;
  return *p ? p : kNameListMissing;
}

int FindNameListEntry(int list, std::string_view name, bool ignoreCase, int defaultValue) {
  int value = 0;
  for (const char* p = GetNameList(list); *p; p += std::strlen(p) + 1, ++value) {
    if (NamesEqual(p, name, ignoreCase)) return value;
  }
  return defaultValue;
}

const char16_t* GetWideNameList(int number) {
  if (number < 0 || number >= kWideNameCount) return u"";
  return kWideNames[number];
}

}  // namespace kvt
