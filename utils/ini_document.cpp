#include "utils/ini_document.h"

namespace kvt {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool HasLineBreakOrZero(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

std::string_view TrimProfileBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool ProfileNamesEqual(std::string_view a, std::string_view b) {
  a = TrimProfileBlanks(a);
  b = TrimProfileBlanks(b);
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
  return true;
}

bool IsWritableSectionName(std::string_view section) {
  return section.find(']') == std::string_view::npos && !HasLineBreakOrZero(section);
}

bool IsWritableKeyName(std::string_view key) {
  key = TrimProfileBlanks(key);
  return !key.empty() && key.front() != ';' && key.front() != '[' &&
         key.find('=') == std::string_view::npos && !HasLineBreakOrZero(key);
}

bool IsWritableValue(std::string_view value) { return !HasLineBreakOrZero(value); }

TIniDocument::TIniDocument() : sections(1) {}

TIniDocument TIniDocument::Parse(std::string_view text) {
  TIniDocument doc;
  while (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  size_t firstBreak = text.find('\n');
  doc.crlf = firstBreak != std::string_view::npos && firstBreak > 0 && text[firstBreak - 1] == '\r';

  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view raw = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    // Every CR at the end goes, so that the text written back reads the same again.
    while (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);

    std::string_view body = raw;
    while (!body.empty() && IsBlank(body.front())) body.remove_prefix(1);

    if (!body.empty() && body.front() == '[') {
      std::string_view name = body.substr(1);
      name = name.substr(0, name.find(']'));
      TSection section;
      section.name = std::string(TrimProfileBlanks(name));
      section.hasHeader = true;
      section.header = std::string(raw);
      doc.sections.push_back(std::move(section));
      continue;
    }
    TLine line;
    line.text = std::string(raw);
    size_t eq = body.find('=');
    if (!body.empty() && body.front() != ';' && eq != std::string_view::npos) {
      line.isValue = true;
      line.key = std::string(TrimProfileBlanks(body.substr(0, eq)));
      line.value = std::string(TrimProfileBlanks(body.substr(eq + 1)));
    }
    doc.sections.back().lines.push_back(std::move(line));
  }
  return doc;
}

std::string TIniDocument::ToText() const {
  const char* eol = crlf ? "\r\n" : "\n";
  std::string text;
  for (const TSection& section : sections) {
    if (section.hasHeader) {
      text += section.header;
      text += eol;
    }
    for (const TLine& line : section.lines) {
      text += line.text;
      text += eol;
    }
  }
  return text;
}

std::optional<std::string_view> TIniDocument::Find(std::string_view section,
                                                   std::string_view key) const {
  for (const TSection& s : sections) {
    if (!ProfileNamesEqual(s.name, section)) continue;
    for (const TLine& line : s.lines)
      if (line.isValue && ProfileNamesEqual(line.key, key)) return std::string_view(line.value);
  }
  return std::nullopt;
}

bool TIniDocument::HasSection(std::string_view section) const {
  for (const TSection& s : sections) {
    if (!ProfileNamesEqual(s.name, section)) continue;
    if (s.hasHeader) return true;
    for (const TLine& line : s.lines)
      if (line.isValue) return true;
  }
  return false;
}

std::vector<std::string> TIniDocument::SectionNames() const {
  std::vector<std::string> names;
  for (const TSection& s : sections) {
    if (!s.hasHeader) continue;
    bool seen = false;
    for (const std::string& name : names) seen = seen || ProfileNamesEqual(name, s.name);
    if (!seen) names.push_back(s.name);
  }
  return names;
}

std::vector<std::pair<std::string, std::string>> TIniDocument::Entries(
    std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> entries;
  for (const TSection& s : sections) {
    if (!ProfileNamesEqual(s.name, section)) continue;
    for (const TLine& line : s.lines) {
      if (!line.isValue) continue;
      bool seen = false;
      for (const auto& entry : entries) seen = seen || ProfileNamesEqual(entry.first, line.key);
      if (!seen) entries.emplace_back(line.key, line.value);
    }
  }
  return entries;
}

TIniDocument::TLine TIniDocument::MakeValueLine(std::string_view key, std::string_view value) {
  TLine line;
  line.isValue = true;
  line.key = std::string(TrimProfileBlanks(key));
  line.value = std::string(TrimProfileBlanks(value));
  line.text = line.key + "=" + std::string(value);
  return line;
}

void TIniDocument::InsertValueLine(TSection& section, TLine line) {
  // After the last value; without values, before the blank lines that end the section, so
  // that the blank line separating it from the next header stays where it was.
  size_t at = section.lines.size();
  bool found = false;
  for (size_t i = section.lines.size(); i-- > 0;) {
    if (section.lines[i].isValue) {
      at = i + 1;
      found = true;
      break;
    }
  }
  if (!found) {
    at = section.lines.size();
    while (at > 0 && TrimProfileBlanks(section.lines[at - 1].text).empty()) --at;
  }
  section.lines.insert(section.lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}

bool TIniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  if (!IsWritableSectionName(section) || !IsWritableKeyName(key) || !IsWritableValue(value))
    return false;
  section = TrimProfileBlanks(section);
  for (TSection& s : sections) {
    if (!ProfileNamesEqual(s.name, section)) continue;
    for (TLine& line : s.lines) {
      if (line.isValue && ProfileNamesEqual(line.key, key)) {
        line = MakeValueLine(line.key, value);
        return true;
      }
    }
  }
  for (TSection& s : sections) {
    if (ProfileNamesEqual(s.name, section) && (s.hasHeader || section.empty())) {
      InsertValueLine(s, MakeValueLine(key, value));
      return true;
    }
  }
  // A new section at the end, parted from the text above it by a blank line.
  TSection& last = sections.back();
  bool emptyDocument = sections.size() == 1 && last.lines.empty();
  bool endsBlank = !last.lines.empty() && TrimProfileBlanks(last.lines.back().text).empty();
  if (!emptyDocument && !endsBlank) last.lines.push_back(TLine{});
  TSection added;
  added.name = std::string(section);
  added.hasHeader = true;
  added.header = "[" + added.name + "]";
  added.lines.push_back(MakeValueLine(key, value));
  sections.push_back(std::move(added));
  return true;
}

bool TIniDocument::Erase(std::string_view section, std::string_view key) {
  bool removed = false;
  for (TSection& s : sections) {
    if (!ProfileNamesEqual(s.name, section)) continue;
    for (size_t i = s.lines.size(); i-- > 0;) {
      if (s.lines[i].isValue && ProfileNamesEqual(s.lines[i].key, key)) {
        s.lines.erase(s.lines.begin() + static_cast<std::ptrdiff_t>(i));
        removed = true;
      }
    }
  }
  return removed;
}

bool TIniDocument::EraseSection(std::string_view section) {
  bool removed = false;
  for (size_t i = sections.size(); i-- > 1;) {
    if (ProfileNamesEqual(sections[i].name, section)) {
      sections.erase(sections.begin() + static_cast<std::ptrdiff_t>(i));
      removed = true;
    }
  }
  if (TrimProfileBlanks(section).empty()) {
    std::vector<TLine>& lines = sections[0].lines;
    for (size_t i = lines.size(); i-- > 0;) {
      if (lines[i].isValue) {
        lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
        removed = true;
      }
    }
  }
  return removed;
}

}  // namespace kvt
