#pragma once
// TIniDocument: the text of one ini file, parsed by the Windows private-profile rules and kept
// line by line, so that writing it back keeps the comments, blank lines, order and spelling a
// person gave the file.
//
// Reading rules (any bytes parse; nothing is rejected):
// - lines end in LF; the CRs before it are dropped; a UTF-8 byte-order mark is skipped;
// - blanks (space, tab) at the start of a line are ignored;
// - a line starting with "[" is a section header: the name runs to the first "]" (or the end
//   of the line), without the blanks around it; the lines before the first header form the
//   unnamed section "";
// - a line starting with ";" is a comment, an empty line is blank, a line without "=" is kept
//   but holds no value;
// - any other line is "key=value": the key is the text before the first "=", the value the
//   text after it, both without the blanks around them. Quotes are kept here; the readers
//   above strip them (StripProfileQuotes).
// Section and key names compare without case (ASCII letters; other bytes as they are), after
// the blanks around them are dropped. Where a file holds a name twice, lookups and updates
// take the first in file order and deletions remove every copy.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kvt {

bool ProfileNamesEqual(std::string_view a, std::string_view b);

// The blanks (space, tab) around a name or value dropped.
std::string_view TrimProfileBlanks(std::string_view text);

// What Set accepts, so that the file reads back as written: a section name without "]", a
// non-empty key without "=" that does not start with ";" or "[", and neither name nor value
// holding CR, LF or a zero byte.
bool IsWritableSectionName(std::string_view section);
bool IsWritableKeyName(std::string_view key);
bool IsWritableValue(std::string_view value);

class TIniDocument {
public:
  TIniDocument();

  static TIniDocument Parse(std::string_view text);
  // The file text: every line with the line ending the parsed file used (LF for a new one).
  std::string ToText() const;

  // The value text of key in section (quotes kept), or nullopt.
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;
  // True when a header names the section, or for "" when the unnamed part holds a value.
  bool HasSection(std::string_view section) const;
  // The named sections in file order, each once, in its first spelling.
  std::vector<std::string> SectionNames() const;
  // The keys of the section in file order with their value texts (quotes kept), each key once.
  std::vector<std::pair<std::string, std::string>> Entries(std::string_view section) const;

  // Sets the value: the first existing entry is rewritten "key=value" (keeping the key's
  // spelling); a new key goes after the section's last value; a new section is added at the
  // end. False (and nothing changed) when a name or the value is not writable.
  bool Set(std::string_view section, std::string_view key, std::string_view value);
  // Removes every entry of the key in sections of that name; true when one was removed.
  bool Erase(std::string_view section, std::string_view key);
  // Removes every section of that name with its lines (for "": the values before the first
  // header); true when something was removed.
  bool EraseSection(std::string_view section);

private:
  struct TLine {
    std::string text;  // the whole line as it stands in the file, without its line ending
    bool isValue = false;
    std::string key;    // trimmed; only for value lines
    std::string value;  // trimmed, quotes kept; only for value lines
  };
  struct TSection {
    std::string name;
    bool hasHeader = false;
    std::string header;
    std::vector<TLine> lines;
  };

  static TLine MakeValueLine(std::string_view key, std::string_view value);
  static void InsertValueLine(TSection& section, TLine line);

  std::vector<TSection> sections;  // sections[0] is the unnamed part before any header
  bool crlf = false;
};

}  // namespace kvt
