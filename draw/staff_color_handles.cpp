#include "draw/staff_color_handles.h"

#include "notation/items/name_lists.h"
#include "utils/registry_key.h"
#include "utils/sys_info.h"

#include <charconv>
#include <cstdio>

namespace kvt {

namespace {

// Default colours, in the order of the editor-colour name list.
constexpr std::array<TColorRef, TStaffColorHandles::kColorCount> kDefaultColors = {{
    MakeColorRef(0, 0, 0),
    MakeColorRef(204, 204, 204),
    MakeColorRef(255, 255, 255),
    MakeColorRef(240, 240, 240),
    MakeColorRef(0, 0, 192),
    MakeColorRef(0, 0, 0),
    MakeColorRef(128, 128, 0),
    MakeColorRef(192, 192, 192),
    MakeColorRef(255, 0, 0),
    MakeColorRef(255, 0, 0),
    MakeColorRef(0, 255, 0),
    MakeColorRef(0, 0, 255),
    MakeColorRef(255, 255, 0),
    MakeColorRef(0, 255, 255),
    MakeColorRef(255, 0, 255),
    MakeColorRef(255, 208, 64),
}};

bool IsIndex(int index) { return index >= 0 && index < TStaffColorHandles::kColorCount; }

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// One "%d" field: blanks, an optional sign, digits. Advances text past it.
std::optional<int64_t> TakeNumber(std::string_view& text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  int64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || value > 2147483648ll) return std::nullopt;
  if (!negative && value > 2147483647ll) return std::nullopt;
  text.remove_prefix(static_cast<size_t>(end - text.data()));
  return negative ? -value : value;
}

bool TakeLiteral(std::string_view& text, std::string_view literal) {
  if (text.substr(0, literal.size()) != literal) return false;
  text.remove_prefix(literal.size());
  return true;
}

}  // namespace

std::string FormatStaffColor(TColorRef color) {
  char text[32];
  std::snprintf(text, sizeof text, "RGB(%d,%d,%d)", RedOf(color), GreenOf(color), BlueOf(color));
  return text;
}

std::optional<TColorRef> ParseStaffColor(std::string_view text) {
  if (!TakeLiteral(text, "RGB(")) return std::nullopt;
  std::optional<int64_t> red = TakeNumber(text);
  if (!red || !TakeLiteral(text, ",")) return std::nullopt;
  std::optional<int64_t> green = TakeNumber(text);
  if (!green || !TakeLiteral(text, ",")) return std::nullopt;
  std::optional<int64_t> blue = TakeNumber(text);
  if (!blue) return std::nullopt;
  return MakeColorRef(static_cast<uint8_t>(*red & 0xFF), static_cast<uint8_t>(*green & 0xFF),
                      static_cast<uint8_t>(*blue & 0xFF));
}

TStaffColorHandles::TStaffColorHandles() {
  for (int i = 0; i < kColorCount; ++i) colors[static_cast<size_t>(i)] = kDefaultColors[static_cast<size_t>(i)];
}

TColorRef TStaffColorHandles::GetColor(int index) const {
  return colors[IsIndex(index) ? static_cast<size_t>(index) : 0];
}

bool TStaffColorHandles::SetColor(int index, TColorRef color) {
  if (!IsIndex(index) || colors[static_cast<size_t>(index)] == color) return false;
  colors[static_cast<size_t>(index)] = color;
  return true;
}

void TStaffColorHandles::LoadColors(TSysInfo& store, const char* section) {
  for (int i = 0; i < kColorCount; ++i) {
    std::string current = FormatStaffColor(GetColor(i));
    std::string text = store.GetProfileString(section, GetColorName(i), current.c_str());
    SetColor(i, ParseStaffColor(text).value_or(GetColor(i)));
  }
}

void TStaffColorHandles::LoadColors(const TKey& key) {
  if (!key.IsOpen()) return;
  for (int i = 0; i < kColorCount; ++i) {
    std::string current = FormatStaffColor(GetColor(i));
    std::string text = key.QueryString(current.c_str(), GetColorName(i));
    SetColor(i, ParseStaffColor(text).value_or(GetColor(i)));
  }
}

bool TStaffColorHandles::SaveColors(TSysInfo& store, const char* section) const {
  bool all = true;
  for (int i = 0; i < kColorCount; ++i)
    all = store.WriteProfileString(section, GetColorName(i), FormatStaffColor(GetColor(i)).c_str()) && all;
  return all;
}

const char* TStaffColorHandles::GetColorName(int index) {
  return IsIndex(index) ? GetNameListEntry(kNameListEditorColors, index) : "";
}

TColorRef TStaffColorHandles::GetDefaultColor(int index) {
  return IsIndex(index) ? kDefaultColors[static_cast<size_t>(index)] : kDefaultColors[0];
}

}  // namespace kvt
