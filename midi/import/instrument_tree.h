#pragma once
// Instrument trees: text files (".kvtitree") that list predefined instruments in nested
// groups, each with a MIDI definition.
//
// File form: one entry per line, at most 511 characters (a longer line is cut; its rest is
// never taken for a line), trimmed of blanks, tabs, CR and LF. Empty lines and lines beginning
// with "#" are skipped; a line beginning with anything but "\" or a letter or digit ends the
// file. "name=definition" is an instrument in the group named last; "\Group\Sub=definition"
// names a group by its path ("\" alone is the root). Texts that are not UTF-8 are read as
// Windows-1252.
//
// Definition keywords, each taken at its first occurrence: a leading number (patch, 0-127),
// "Bank(msb,lsb)" (0-127 each), "DynVel(v1,...,v8)" (ppp to fff, 0-127), "Trans(n)" (-120 to
// 120), "BendRange(n)" (2 to 24). A keyword whose numbers do not all parse, or lie outside
// those ranges, defines nothing. A node inherits what it does not define from the nearest
// group above it that does.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kvt {

class TInstrumentDef;
class TKRVStream;

inline constexpr int kTreeMaxLineChars = 511;
inline constexpr char kInvalidTreeName[] = "Invalid instrument tree";

// Attribute bits of TInstrumentTreeItem::flags.
enum TInstrumentTreeFlag : uint8_t {
  kTreePatch = 1,
  kTreeBank = 2,
  kTreeVelocities = 4,
  kTreeTransposition = 8,
  kTreeBendRange = 16,
};

struct TInstrumentTreeItem {
  std::string name;  // UTF-8
  uint8_t flags = 0;
  uint8_t patch = 0;
  uint8_t bankMSB = 0;
  uint8_t bankLSB = 0;
  uint8_t velocities[8] = {};
  int8_t transposition = 0;
  uint8_t bendRange = 0;
  bool isGroup = false;
  TInstrumentTreeItem* parent = nullptr;
  std::vector<std::unique_ptr<TInstrumentTreeItem>> children;

  bool Defines(TInstrumentTreeFlag bit) const { return (flags & bit) != 0; }
  // The nearest node from this one up to the root that defines the attribute; null if none.
  const TInstrumentTreeItem* FindDefining(TInstrumentTreeFlag bit) const;
  TInstrumentTreeItem* AddChild(std::string childName, bool group);
  TInstrumentTreeItem* FindChild(std::string_view childName) const;
};

// Parses a definition text into the item's attributes (setting their flags).
void ParseInstrumentDefinition(std::string_view text, TInstrumentTreeItem& item);

// Reads the tree from the stream; the root is named rootName. Never null.
std::unique_ptr<TInstrumentTreeItem> ReadInstrumentTree(TKRVStream& stream,
                                                        const std::string& rootName);
// Reads the file; the root is named after the file name without its extension. An unreadable
// or empty file gives a lone root named "Invalid instrument tree". Never null.
std::unique_ptr<TInstrumentTreeItem> ReadInstrumentTreeFile(const std::string& path);

// The best node for the definition, depth first among nodes that define a patch: the first
// whose name equals the definition's name exactly, else ignoring case, else (when the
// definition sends a patch) the first with that patch. Null when none, or only the root.
const TInstrumentTreeItem* FindInstrumentNode(const TInstrumentTreeItem& root,
                                              const TInstrumentDef& definition);

}  // namespace kvt
