#pragma once
// TStaffColorHandles: the 16 named colours that notation is drawn in, on screen and on paper.
// The application holds one table, loads it from the settings store at start, lets the options
// dialog change it and saves it; drawing picks colours by index. This unit holds the colours
// and their settings form; the pens made from them belong to the drawing code, which makes a
// colour's pen again whenever SetColor reports a change.
//
// Indexes: 0 default ink, 1 staff label panel, 2 editor background, 3 active background, 4 and
// 5 the active and the other staves while editing, 6 and 7 hidden items (active staff,
// others), 8 the play position, 9 to 15 the item, note and staff colours 1 to 7 (8 + n).
//
// Settings form: each colour is the text "RGB(%d,%d,%d)" (red, green, blue, 0 to 255) under
// its name (GetColorName) in the given section.

#include "draw/color_ref.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace kvt {

class TKey;
class TSysInfo;

// "RGB(r,g,b)".
std::string FormatStaffColor(TColorRef color);
// The colour of a text that begins "RGB(" followed by three integers separated by commas (blanks
// allowed before each number; the rest of the text is not looked at), each masked to 8 bits;
// nullopt for any other text, and for numbers beyond the 32-bit range.
std::optional<TColorRef> ParseStaffColor(std::string_view text);

class TStaffColorHandles {
public:
  static constexpr int kColorCount = 16;
  static constexpr int kPlayHighlightIndex = 8;

  // The default colours.
  TStaffColorHandles();

  // The colour of index; an index outside 0 to 15 gives colour 0 (the default ink).
  TColorRef GetColor(int index) const;
  // Stores the colour; true when it changed (the index's pen must be made again). An index
  // outside 0 to 15 changes nothing.
  bool SetColor(int index, TColorRef color);

  // For each index in order: the value named by the colour's name in section of the store,
  // with the current colour as default; a value that does not parse (ParseStaffColor) keeps
  // the current colour.
  void LoadColors(TSysInfo& store, const char* section);
  // The same from an open key; a key that is not open changes nothing.
  void LoadColors(const TKey& key);
  // Writes every colour under its name; true when every write succeeded.
  bool SaveColors(TSysInfo& store, const char* section) const;

  // The setting name of an index ("Printer Default" ... "Highlight 7"); "" outside 0 to 15.
  static const char* GetColorName(int index);
  static TColorRef GetDefaultColor(int index);

private:
  std::array<TColorRef, kColorCount> colors;
};

}  // namespace kvt
