#pragma once
// TKVTFindTextImporter: builds items from score text record lines (the reader side of
// score_text_writer.h). It is lenient: unknown fields are ignored, an unknown record name is
// read as a user object of that type, numbers are bounded to what the item can hold, and a
// line that cannot make its kind yields no item (callers then keep the line as a text item).
// Whatever had to be bounded or guessed marks the importer lenient; what is lost at a limit
// marks it corrupt (see the tokenizer).
//
// Text values are UTF-8 from format version 2.7 on; before that they are in the code page of
// the character set of the score font that shows them (SetFontCharSet), the ANSI code page
// when that is unknown.

#include <memory>
#include <string>
#include <string_view>

#include "notation/items/notated_item.h"
#include "notation/files/text/score_text_tokenizer.h"

namespace kvt {

// The first format version whose text values are UTF-8; before it they are in code pages.
inline constexpr double kUtf8TextVersion = 2.7;

class TMusicNote;
class TSongNote;
class TRestNote;

class TKVTFindTextImporter : public TKVTTextImportTokenizer {
public:
  TKVTFindTextImporter();

  // Builds the item of the line last split with SplitFields; null when the record cannot
  // make its kind (a required field missing or unknown, no notes for a rest chord's part ...).
  // A caller that already looked the record name up in the item kinds passes the kind (-1: the
  // name is no kind name); by default the name is looked up here.
  static constexpr int kLookUpKind = -2;
  static constexpr int kUnknownKind = -1;
  std::unique_ptr<TNotatedItem> ReadItemRecord(int kind = kLookUpKind);

  // Builds an item of the given kind from the fields of the line last split, whatever its
  // record name (the staff instrument is an Instrument record under another name). Only the
  // kind's own fields are read.
  std::unique_ptr<TNotatedItem> ReadItemRecordAs(int kind) { return ReadKind(kind); }

  // Tokenizes a copy of one line and builds its item; a version below 0.01 is taken as 2.75.
  std::unique_ptr<TNotatedItem> ReadItemLine(std::string_view line, double version);

  // The placeholder for a line that is no item: a wide text item in font StaffBold holding
  // the first kLineTextChars characters of the line (converted from the text code page).
  // The first kLineTextBytes bytes of a line always hold them (at most 4 bytes a character).
  static constexpr int kLineTextChars = 23;
  static constexpr size_t kLineTextBytes = 4 * kLineTextChars;
  std::unique_ptr<TNotatedItem> MakeLineTextItem(std::string_view line) const;

  // Character set of a score text font (role 0 Staff Italic ... 11 User 6), for texts of
  // versions before 2.7; -1 (the default) means unknown: the ANSI code page.
  void SetFontCharSet(int role, int charSet);
  // The code page of a text shown in a font slot of a text item (0 StaffSymbols ... 13 User6).
  int TextCodePage(int fontIndex) const;
  // Unquotes the value in place and converts it from the code page of the font slot.
  std::u16string ReadText(char* value, int fontIndex) const;
  // Unquotes the value in place and gives it as valid UTF-8 (invalid bytes become U+FFFD),
  // from the ANSI code page in texts before 2.7: for names and values kept as bytes.
  std::string ReadUtf8Text(char* value) const;

private:
  struct TDurationSpec;
  struct TNoteOptions;

  std::unique_ptr<TNotatedItem> ReadKind(int kind);
  std::unique_ptr<TNotatedItem> ReadUserObject(int firstProperty, std::string_view typeName);
  void ReadExpressionFields(TNotatedItem& item);
  void ReadCommonFields(TNotatedItem& item);

  // Song notes (score_text_note_reader.cpp).
  std::unique_ptr<TNotatedItem> ReadNote();
  std::unique_ptr<TNotatedItem> ReadRest();
  std::unique_ptr<TNotatedItem> ReadChord();
  std::unique_ptr<TNotatedItem> ReadRestChord();
  // The duration value of a field ("Dur:" or "Dur2:"); present false when the field is absent.
  TDurationSpec ReadDuration(const char* fieldName);
  // One note position ("b-3x^!2") with the duration; null when the text holds no position.
  std::unique_ptr<TMusicNote> ReadPosition(const char* text, const TDurationSpec& duration);
  // The "Opts" field, read once per line.
  TNoteOptions ReadOptions();
  // The song-note options to `item`, the note options to `notes` (may be null), the rest
  // options to `rest` (may be null).
  void ApplyOptions(const TNoteOptions& options, TSongNote& item, TMusicNote* notes, TRestNote* rest);

  int fontCharSets[12];
};

}  // namespace kvt
