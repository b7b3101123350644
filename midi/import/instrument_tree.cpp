#include "midi/import/instrument_tree.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "midi/smf/smf_data.h"
#include "notation/context/instrument_def.h"
#include "utils/buffered_file_stream.h"
#include "utils/file_stream.h"
#include "utils/text_case.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// A letter or digit starts a name; bytes of non-ASCII characters count as letters.
bool StartsName(std::string_view text) {
  if (text.empty()) return false;
  const unsigned char c = static_cast<unsigned char>(text.front());
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c >= 0x80;
}

bool ParseInt(std::string_view& text, int& value) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  const char* begin = text.data();
  if (!text.empty() && text.front() == '+') ++begin;
  const auto [end, ec] = std::from_chars(begin, text.data() + text.size(), value);
  if (ec != std::errc()) return false;
  text.remove_prefix(static_cast<size_t>(end - text.data()));
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  return true;
}

// "Keyword(n1,...,nk)" at the keyword's first occurrence; false unless all k numbers parse
// and lie in lo..hi.
bool ParseKeyword(std::string_view text, std::string_view keyword, int* values, int count, int lo,
                  int hi) {
  const size_t at = text.find(keyword);
  if (at == std::string_view::npos) return false;
  text.remove_prefix(at + keyword.size());
  for (int i = 0; i < count; ++i) {
    if (!ParseInt(text, values[i]) || values[i] < lo || values[i] > hi) return false;
    if (i + 1 < count) {
      if (text.empty() || text.front() != ',') return false;
      text.remove_prefix(1);
    }
  }
  return true;
}

}  // namespace

const TInstrumentTreeItem* TInstrumentTreeItem::FindDefining(TInstrumentTreeFlag bit) const {
  for (const TInstrumentTreeItem* node = this; node; node = node->parent)
    if (node->Defines(bit)) return node;
  return nullptr;
}

TInstrumentTreeItem* TInstrumentTreeItem::AddChild(std::string childName, bool group) {
  auto child = std::make_unique<TInstrumentTreeItem>();
  child->name = std::move(childName);
  child->isGroup = group;
  child->parent = this;
  children.push_back(std::move(child));
  return children.back().get();
}

TInstrumentTreeItem* TInstrumentTreeItem::FindChild(std::string_view childName) const {
  for (const auto& child : children)
    if (child->name == childName) return child.get();
  return nullptr;
}

void ParseInstrumentDefinition(std::string_view text, TInstrumentTreeItem& item) {
  int v[8] = {};
  std::string_view lead = text;
  if (!lead.empty() && lead.front() >= '0' && lead.front() <= '9' && ParseInt(lead, v[0]) &&
      v[0] <= 127) {
    item.flags |= kTreePatch;
    item.patch = static_cast<uint8_t>(v[0]);
  }
  if (ParseKeyword(text, "Bank(", v, 2, 0, 127)) {
    item.flags |= kTreeBank;
    item.bankMSB = static_cast<uint8_t>(v[0]);
    item.bankLSB = static_cast<uint8_t>(v[1]);
  }
  if (ParseKeyword(text, "DynVel(", v, 8, 0, 127)) {
    item.flags |= kTreeVelocities;
    for (int i = 0; i < 8; ++i) item.velocities[i] = static_cast<uint8_t>(v[i]);
  }
  if (ParseKeyword(text, "Trans(", v, 1, -120, 120)) {
    item.flags |= kTreeTransposition;
    item.transposition = static_cast<int8_t>(v[0]);
  }
  // A bend range below 2 is no range.
  if (ParseKeyword(text, "BendRange(", v, 1, 2, 24)) {
    item.flags |= kTreeBendRange;
    item.bendRange = static_cast<uint8_t>(v[0]);
  }
}

std::unique_ptr<TInstrumentTreeItem> ReadInstrumentTree(TKRVStream& stream,
                                                        const std::string& rootName) {
  std::unique_ptr<TInstrumentTreeItem> root;
  TInstrumentTreeItem* group = nullptr;
  char buffer[kTreeMaxLineChars + 1];
  while (!stream.IsError()) {
    // ReadLine consumes the whole line whatever its length: a cut never leaves a rest behind.
    const int length = stream.ReadLine(buffer, sizeof buffer);
    if (stream.IsError() && length == 0) break;
    std::string raw(buffer, std::strlen(buffer));
    // A cut line keeps whole characters only.
    if (length > kTreeMaxLineChars) raw.resize(Utf8CompleteLength(raw));
    raw = TextToUtf8(raw);
    const std::string_view line = Trim(raw);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() != '\\' && !StartsName(line)) break;
    const size_t equals = line.find('=');
    const std::string_view name = Trim(line.substr(0, equals));
    const std::string_view definition =
        equals == std::string_view::npos ? std::string_view() : Trim(line.substr(equals + 1));
    if (!root) {
      root = std::make_unique<TInstrumentTreeItem>();
      root->name = rootName;
      root->isGroup = true;
      group = root.get();
      if (name == "\\") {
        ParseInstrumentDefinition(definition, *root);
        continue;
      }
    }
    if (name.front() != '\\') {
      TInstrumentTreeItem* item = group->AddChild(std::string(name), false);
      ParseInstrumentDefinition(definition, *item);
      continue;
    }
    // A group path: create what is missing; only the last component takes the definition.
    TInstrumentTreeItem* node = root.get();
    std::string_view path = name.substr(1);
    bool bad = false;
    bool existed = true;
    while (!path.empty()) {
      const size_t slash = path.find('\\');
      const std::string_view component = path.substr(0, slash);
      path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
      if (!StartsName(component)) {
        bad = true;
        break;
      }
      TInstrumentTreeItem* child = node->FindChild(component);
      existed = child != nullptr;
      node = child ? child : node->AddChild(std::string(component), true);
    }
    if (bad || (existed && !definition.empty())) break;
    ParseInstrumentDefinition(definition, *node);
    group = node;
  }
  if (!root) {
    root = std::make_unique<TInstrumentTreeItem>();
    root->name = kInvalidTreeName;
    root->isGroup = true;
  }
  return root;
}

std::unique_ptr<TInstrumentTreeItem> ReadInstrumentTreeFile(const std::string& path) {
  TKRVBFStream stream(kFileModeRead | kFileShareRead, path.c_str(), 1024);
  std::string rootName = path.substr(path.find_last_of('/') + 1);
  const size_t dot = rootName.find_last_of('.');
  if (dot != std::string::npos && dot > 0) rootName.resize(dot);
  if (!stream.IsOpen()) return ReadInstrumentTree(stream, kInvalidTreeName);
  return ReadInstrumentTree(stream, TextToUtf8(rootName));
}

namespace {

template <typename Test>
const TInstrumentTreeItem* FindDepthFirst(const TInstrumentTreeItem& node, const Test& test) {
  if (node.Defines(kTreePatch) && test(node)) return &node;
  for (const auto& child : node.children)
    if (const TInstrumentTreeItem* found = FindDepthFirst(*child, test)) return found;
  return nullptr;
}

}  // namespace

const TInstrumentTreeItem* FindInstrumentNode(const TInstrumentTreeItem& root,
                                              const TInstrumentDef& definition) {
  const std::string name = Utf16ToUtf8(definition.GetName());
  const TInstrumentTreeItem* found = nullptr;
  if (!name.empty()) {
    found = FindDepthFirst(root, [&](const TInstrumentTreeItem& n) { return n.name == name; });
    if (!found)
      found = FindDepthFirst(root, [&](const TInstrumentTreeItem& n) {
        return TextEquals(n.name.c_str(), name.c_str(), true);
      });
  }
  if (!found && definition.HasPatch())
    found = FindDepthFirst(
        root, [&](const TInstrumentTreeItem& n) { return n.patch == definition.GetPatch(); });
  return found == &root ? nullptr : found;
}

}  // namespace kvt
