#include "app/editor/edit_key_table.h"

#include <iterator>

namespace kvt {

namespace {

constexpr Qt::KeyboardModifiers kNone = Qt::NoModifier;
constexpr Qt::KeyboardModifiers kCtrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifiers kAlt = Qt::AltModifier;
constexpr Qt::KeyboardModifiers kCtrlAlt = Qt::ControlModifier | Qt::AltModifier;
constexpr Qt::KeyboardModifiers kShiftAlt = Qt::ShiftModifier | Qt::AltModifier;
constexpr Qt::KeyboardModifiers kCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;

// An entry matched by the typed character (ch != 0; `alt`: written with Alt), or by key and
// modifiers.
struct TKeyEntry {
  char ch;
  bool alt;
  int key;
  Qt::KeyboardModifiers modifiers;
  int id;
};

constexpr TKeyEntry Char(char ch, int id) { return {ch, false, 0, kNone, id}; }
constexpr TKeyEntry AltChar(char ch, int id) { return {ch, true, 0, kNone, id}; }
constexpr TKeyEntry Key(int key, Qt::KeyboardModifiers modifiers, int id) {
  return {0, false, key, modifiers, id};
}

// "EditMenu".
constexpr TKeyEntry kEditMenu[] = {
    Key(Qt::Key_S, kCtrl, 4),
    Key(Qt::Key_I, kCtrl, 11),
    Char('.', 14),
    Char('R', 15),
    Key(Qt::Key_F8, kAlt, 17),
    Key(Qt::Key_F8, kCtrlAlt, 18),
    AltChar('Z', 19),
    Key(Qt::Key_F, kCtrl, 26),
    Key(Qt::Key_F3, kNone, 27),
    Key(Qt::Key_F3, kShift, 28),
    Key(Qt::Key_X, kCtrl, 32),
    Key(Qt::Key_Delete, kShift, 32),
    Key(Qt::Key_C, kCtrl, 33),
    Key(Qt::Key_Insert, kCtrl, 33),
    Key(Qt::Key_Delete, kCtrl, 35),
    Key(Qt::Key_L, kCtrl, 37),
    Key(Qt::Key_G, kCtrl, 38),
    Key(Qt::Key_Z, kCtrl, 40),
    Key(Qt::Key_Backspace, kAlt, 40),
    Key(Qt::Key_Y, kCtrl, 41),
    Key(Qt::Key_Backspace, kShiftAlt, 41),
    AltChar('+', 48),
    AltChar('-', 49),
    AltChar('=', 50),
    Key(Qt::Key_E, kCtrl, 51),
    Key(Qt::Key_Return, kAlt, 51),
    Key(Qt::Key_F11, kNone, 53),
    Char('M', 64),
    Key(Qt::Key_F9, kCtrl, 68),
    Key(Qt::Key_F9, kNone, 69),
    Key(Qt::Key_F5, kNone, 80),
    Key(Qt::Key_F6, kShift, 82),
    Char('A', 84),
    Char('W', 85),
    Char('Q', 86),
    Char('7', 96),
    Char('9', 97),
    Char('8', 98),
    Char('1', 101),
    Char('2', 102),
    Char('3', 103),
    Char('4', 104),
    Char('5', 105),
    Char('6', 106),
    Char('+', 108),
    Char('-', 109),
    Char('0', 110),
    Key(Qt::Key_Up, kShift, 111),
    Key(Qt::Key_Down, kShift, 112),
    Key(Qt::Key_B, kCtrl, 113),
    Char(';', 114),
    Key(Qt::Key_T, kCtrl, 115),
    Char('!', 116),
    Char(',', 117),
    Char('_', 118),
    Char('/', 121),
    Char('^', 124),
    Char('\'', 125),
    Key(Qt::Key_Return, kNone, 128),
    Key(Qt::Key_Space, kNone, 129),
    Key(Qt::Key_Return, kCtrl, 130),
    Char('*', 131),
    Key(Qt::Key_Tab, kNone, 131),
    Char(']', 133),
    Char('@', 134),
    Char('B', 144),
    Char('C', 145),
    Char('K', 146),
    Char('G', 147),
    Char('T', 148),
    Char('D', 149),
    Char('U', 150),
    Char('S', 151),
    Char('F', 152),
    Char('E', 153),
    Char('P', 154),
    Char('Y', 155),
    Char('X', 156),
    Char('I', 157),
    Char('L', 158),
    Char('Z', 159),
    Key(Qt::Key_F3, kCtrl, 160),
    Char('[', 161),
    Char('J', 168),
    Key(Qt::Key_P, kCtrl, 210),
    Key(Qt::Key_Backspace, kCtrl, 212),
    Key(Qt::Key_F4, kNone, 213),
    Key(Qt::Key_A, kCtrl, 217),
    Key(Qt::Key_D, kCtrl, 218),
    Key(Qt::Key_F2, kNone, 219),
    Key(Qt::Key_F5, kShift, 222),
    Char('=', 225),
    Char('<', 230),
    Char('>', 231),
    Char('\\', 289),
};

// The application's (main menu's) table.
constexpr TKeyEntry kApplicationTable[] = {
    Key(Qt::Key_V, kCtrl, 34),  Key(Qt::Key_Insert, kShift, 34), Key(Qt::Key_V, kCtrlShift, 54),
    Key(Qt::Key_F6, kNone, 81), Key(Qt::Key_Escape, kNone, 83),  Key(Qt::Key_J, kCtrl, 167),
    Key(Qt::Key_N, kCtrl, 2),   Key(Qt::Key_O, kCtrl, 3),        Key(Qt::Key_F1, kNone, 192),
};

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

bool Matches(const TKeyEntry& entry, int key, Qt::KeyboardModifiers modifiers,
             const QString& text) {
  if (entry.ch == 0) return entry.key == key && entry.modifiers == modifiers;
  if (modifiers & Qt::ControlModifier) return false;
  if (entry.alt != ((modifiers & Qt::AltModifier) != 0)) return false;
  const char16_t want = Upper(static_cast<char16_t>(entry.ch));
  if (text.size() == 1) return Upper(text.at(0).unicode()) == want;
  // With Alt some platforms type no text: the key names the character then.
  return text.isEmpty() && key == static_cast<int>(want);
}

template <size_t N>
std::optional<int> Find(const TKeyEntry (&table)[N], int key, Qt::KeyboardModifiers modifiers,
                        const QString& text) {
  for (const TKeyEntry& entry : table)
    if (Matches(entry, key, modifiers, text)) return entry.id;
  return std::nullopt;
}

}  // namespace

std::optional<TKeyHit> MatchEditKey(int key, Qt::KeyboardModifiers modifiers, const QString& text) {
  modifiers &= ~Qt::KeypadModifier;
  if (key == Qt::Key_Enter) key = Qt::Key_Return;
  if (const std::optional<int> id = Find(kEditMenu, key, modifiers, text))
    return TKeyHit{*id, TKeyTable::kEditMenu};
  if (const std::optional<int> id = Find(kApplicationTable, key, modifiers, text))
    return TKeyHit{*id, TKeyTable::kApplication};
  return std::nullopt;
}

bool IsApplicationKeyCommand(int id) {
  for (const TKeyEntry& entry : kApplicationTable)
    if (entry.id == id) return true;
  return false;
}

}  // namespace kvt
