#pragma once
// TKVTTextImportTokenizer: splits score text record lines into fields and values, undoes the
// quoting of text values, and reads numbers and names with the clamping the format asks for.
//
// A record line is split in place: the tokenizer keeps pointers into the caller's line buffer,
// which must stay alive and unchanged until the next SplitFields. Field 0 is the record name.
//
// Lenient reading: a value a writer of the format cannot have produced (a number out of its
// range or without digits, a name missing from its list) is bounded or defaulted as the format
// says, and the tokenizer remembers that it saw one (IsLenient): the load still succeeds.
// Corruption is data lost: values or records dropped at a limit, a cut line, a failed stream
// (IsCorrupt); the loaders report it as the corrupt load status. Nothing in a line ever raises
// a precondition.
//
// No virtual operations.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvt {

class TKVTTextImportTokenizer {
public:
  static constexpr int kMaxFields = 512;
  static constexpr int kMaxValues = 512;

  TKVTTextImportTokenizer();

  // Splits a record line in place. The line must begin with a bar (else 0 fields): scanning
  // from the start, a backslash skips the character after it; each unescaped bar ends a field
  // (replaced by a zero byte) and starts the next, unless kMaxFields fields are stored or the bar
  // is the last character. Every field is trimmed of blanks, tabs, CR and LF. Returns the field
  // count (at least 1 for a line that begins with a bar).
  int SplitFields(char* line);
  // The same with the line's length known (the byte at line[length] must be 0).
  int SplitFields(char* line, size_t length);
  int GetFieldCount() const { return fieldCount; }
  // Field i (0 the record name); "" outside the fields.
  char* GetField(int i) const;
  // The value of the first field from field 1 on whose text begins with `name` (which includes
  // the colon, as "Type:"), compared without case; leading blanks of the value are skipped.
  // Null when no field matches.
  char* FindField(std::string_view name) const;
  // Whether the record name is `name`, compared without case.
  bool IsRecord(std::string_view name) const;

  // Splits a value in place at unescaped commas into at most kMaxValues values, each trimmed
  // (an empty text gives one empty value). Values past the limit are dropped and mark the
  // line corrupt. Returns the value count.
  int SplitValues(char* text);
  int GetValueCount() const { return valueCount; }
  // Value i; "" outside the values.
  char* GetValue(int i) const;
  std::string_view GetValueView(int i) const;

  // Splits "name=value" at the first "=", in place, trimming both sides: the value, or null
  // when there is no "=" (the text is then only trimmed).
  static char* SplitOption(char*& text);
  // Removes the quotes of a quoted text and undoes its escapes, in place; returns the text.
  // Quotes are removed when the text is at least two characters, begins and ends with a double
  // quote and the closing quote is not escaped. Then "\]" becomes a backslash, "\}" a bar,
  // "\n", "\r", "\t" LF, CR and TAB, and a backslash before any other character gives that
  // character; a backslash at the very end ends the text.
  static char* Unquote(char* text);
  // Trims blanks, tabs, CR and LF from both ends, in place.
  static char* Trim(char* text);

  // Format version (2.75 until a header line says otherwise) and ANSI code page of the text.
  double GetVersion() const { return version; }
  void SetVersion(double v) { version = v; }
  int GetAnsiCodePage() const { return ansiCodePage; }
  void SetAnsiCodePage(int codePage) { ansiCodePage = codePage; }

  // --- values with their bounds; each marks the read lenient when it had to bound or guess ---
  // An integer value ("%d"); false (lenient) when it holds no digits. Saturated values are
  // lenient too.
  bool ReadInt(const char* value, int32_t& out);
  // ReadInt limited to lo..hi (lenient when outside); `fallback` when the value has no digits.
  int ReadIntClamped(const char* value, int lo, int hi, int fallback);
  // The index of a name in a name list, compared without case (a UTF-8 spelling of a
  // Windows-1252 name is accepted too); `fallback` (lenient) when absent.
  int ReadName(const char* value, int list, int fallback);
  // As ReadName without marking: -1 when absent.
  static int FindName(std::string_view value, int list);
  // Whether two ASCII words are equal without regard to case.
  static bool SameWord(std::string_view a, std::string_view b);
  // Whether a yes/no value is yes: exactly "Y" or "y" (null is no).
  static bool IsYes(const char* value) { return value && (value[0] == 'Y' || value[0] == 'y') && value[1] == 0; }
  // A real value; false (lenient) when it is no finite number.
  bool ReadReal(const char* value, double& out);
  // Value limited to lo..hi; lenient when outside.
  int Clamp(int value, int lo, int hi);

  // A value was bounded or defaulted, or a line read in a way the format allows for it.
  void MarkLenient() { lenient = true; }
  bool IsLenient() const { return lenient; }
  // Data was lost.
  void MarkCorrupt() { corrupt = true; }
  bool IsCorrupt() const { return corrupt; }

protected:
  char* fields[kMaxFields];
  // Offset of the first colon of each field; -1 when it has none.
  int32_t fieldColons[kMaxFields];
  // Length of the record name (field 0).
  size_t recordNameLength = 0;
  char* values[kMaxValues];
  uint32_t valueLengths[kMaxValues];
  int fieldCount = 0;
  int valueCount = 0;
  double version;
  int ansiCodePage;
  bool lenient = false;
  bool corrupt = false;
};

}  // namespace kvt
