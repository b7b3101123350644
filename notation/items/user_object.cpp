#include "notation/items/user_object.h"

#include <charconv>
#include <cstdio>

#include "notation/items/item_cast.h"
#include "notation/items/item_position.h"
#include "utils/text_encoding.h"
#include "utils/variant.h"

namespace kvt {

namespace {

constexpr std::string_view kReservedParamNames[] = {"Class", "Pos", "Visibility", "Color"};

bool IsTypeNameChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '_' || c == ' ' || c == '.';
}

// The text after the leading blanks that scanf skips and after a "+" sign, which from_chars
// does not take; a "-" stays for from_chars.
std::string_view NumberStart(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' ||
                             text[i] == '\v' || text[i] == '\f' || text[i] == '\r'))
    ++i;
  if (i < text.size() && text[i] == '+') {
    // "+-5" is no number: only one sign.
    if (i + 1 < text.size() && text[i + 1] == '-') return {};
    ++i;
  }
  return text.substr(i);
}

}  // namespace

TKVTUserObject::TKVTUserObject(std::string_view name) : pos(-7.0f), objectClass(kUserClassStandard) {
  SetTypeName(name);
}

TKVTUserObject& TKVTUserObject::operator=(const TKVTUserObject& src) {
  Assign(src);
  return *this;
}

void TKVTUserObject::Assign(const TNotatedItem& src) {
  TNotatedItem::Assign(src);
  if (&src == this || src.GetType() != kItemUserObject) return;
  const auto& other = ItemRef<TKVTUserObject>(src);
  ClearParams();
  typeName = other.typeName;
  pos = other.pos;
  objectClass = other.objectClass;
  for (int i = 0; i < other.GetParamCount(); ++i)
    SetParam(other.GetParamName(i), other.GetParamValue(i));
}

int TKVTUserObject::GetStaffPos() const { return ItemPosToInt(pos); }

void TKVTUserObject::SetTypeName(std::string_view name) {
  typeName.assign(name.substr(0, Utf8PrefixLength(name, kMaxUserTypeNameChars)));
}

void TKVTUserObject::SetPos(double x) { pos = RoundItemPos(x); }

std::string_view TKVTUserObject::GetParamName(int i) const {
  return (i >= 0 && i < GetParamCount()) ? std::string_view(names[static_cast<size_t>(i)])
                                         : std::string_view();
}

std::string_view TKVTUserObject::GetParamValue(int i) const {
  return (i >= 0 && i < kMaxUserParams) ? std::string_view(values[static_cast<size_t>(i)])
                                        : std::string_view();
}

int TKVTUserObject::FindParamIndex(std::string_view name) const {
  for (int i = 0; i < GetParamCount(); ++i)
    if (names[static_cast<size_t>(i)] == name) return i;
  return -1;
}

const std::string* TKVTUserObject::FindParamValue(std::string_view name) const {
  const int i = FindParamIndex(name);
  return i >= 0 ? &values[static_cast<size_t>(i)] : nullptr;
}

bool TKVTUserObject::GetParamInt(std::string_view name, int& out) const {
  const std::string* value = FindParamValue(name);
  if (!value || value->empty()) return false;
  const std::string_view text = NumberStart(*value);
  int n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc()) return false;
  out = n;
  return true;
}

bool TKVTUserObject::GetParamReal(std::string_view name, double& out) const {
  const std::string* value = FindParamValue(name);
  if (!value || value->empty()) return false;
  const std::string_view text = NumberStart(*value);
  double x = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), x);
  if (ec != std::errc()) return false;
  out = x;
  return true;
}

int TKVTUserObject::AddParamName(std::string_view name) {
  if (!IsValidParamName(name)) return -1;
  const int existing = FindParamIndex(name);
  if (existing >= 0) return existing;
  if (GetParamCount() >= kMaxUserParams) return -1;
  names.emplace_back(name);
  const int i = GetParamCount() - 1;
  values[static_cast<size_t>(i)].clear();
  return i;
}

void TKVTUserObject::SetParamValueAt(int i, std::string_view text) {
  if (i < 0 || i >= kMaxUserParams) return;
  values[static_cast<size_t>(i)].assign(text);
}

void TKVTUserObject::SetParam(std::string_view name, std::string_view text) {
  SetParamValueAt(AddParamName(name), text);
}

void TKVTUserObject::SetParamInt(std::string_view name, int n) {
  char buffer[16];
  const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, n);
  SetParam(name, std::string_view(buffer, static_cast<size_t>(end - buffer)));
}

void TKVTUserObject::SetParamReal(std::string_view name, double x) {
  // "%g": six significant digits, the shorter of the fixed and exponent forms.
  char buffer[32];
  const auto [end, ec] =
      std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::general, 6);
  SetParam(name, std::string_view(buffer, ec == std::errc() ? static_cast<size_t>(end - buffer) : 0));
}

void TKVTUserObject::SetParamFromVariant(std::string_view name, const TKVVariant& value,
                                         int mode) {
  switch (value.GetType()) {
    case TKVVariant::kEmpty:
      if (mode == 2) SetParam(name, "");
      return;
    case TKVVariant::kStringRef:
    case TKVVariant::kString:
      SetParam(name, value.GetString() ? value.GetString() : "");
      return;
    case TKVVariant::kWideStringRef:
    case TKVVariant::kWideString:
      SetParam(name, Utf16ToUtf8(value.GetWideString() ? value.GetWideString() : u""));
      return;
    case TKVVariant::kInt:
    case TKVVariant::kBool:
    case TKVVariant::kReal:
      if (mode == 0 || mode == 1) return;
      break;
    default:
      break;
  }
  char text[128];
  SetParam(name, value.GetText(text, sizeof text));
}

void TKVTUserObject::RemoveParamAt(int i) {
  if (i < 0 || i >= GetParamCount()) return;
  names.erase(names.begin() + i);
  for (int k = i; k + 1 < kMaxUserParams; ++k)
    values[static_cast<size_t>(k)] = std::move(values[static_cast<size_t>(k + 1)]);
  values[kMaxUserParams - 1].clear();
}

void TKVTUserObject::RemoveParam(std::string_view name) { RemoveParamAt(FindParamIndex(name)); }

void TKVTUserObject::ClearParams() {
  names.clear();
  for (std::string& v : values) v.clear();
}

bool TKVTUserObject::IsValidTypeName(std::string_view name) {
  if (name.empty() || name.size() >= 64 || name.front() == ' ') return false;
  for (char c : name)
    if (!IsTypeNameChar(c)) return false;
  return true;
}

bool TKVTUserObject::IsValidUserTypeName(std::string_view name) {
  return IsValidTypeName(name) && name.front() != '.';
}

bool TKVTUserObject::IsValidParamName(std::string_view name) {
  if (name.empty()) return false;
  for (std::string_view reserved : kReservedParamNames)
    if (name == reserved) return false;
  // A zero byte is refused too: names travel as zero-terminated texts.
  static constexpr char kForbidden[] = ":'\"\\|[] \t\r\n";
  return name.find_first_of(std::string_view(kForbidden, sizeof kForbidden)) ==
         std::string_view::npos;
}

}  // namespace kvt
