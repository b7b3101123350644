// Instrument tree files: any text reads into a tree without fault; finding nodes and filling
// instrument values from them stay within the values' ranges.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "midi/import/instrument_tree.h"
#include "midi/import/instrument_values.h"
#include "notation/context/instrument_def.h"
#include "utils/flat_ram_stream.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1 << 16)) return 0;
  std::vector<uint8_t> bytes(data, data + size);
  kvt::TKRVFlatRamStream input(bytes.data(), static_cast<int>(bytes.size()),
                               static_cast<int>(bytes.size()));
  auto root = kvt::ReadInstrumentTree(input, "Fuzz");
  std::function<void(const kvt::TInstrumentTreeItem&)> walk =
      [&](const kvt::TInstrumentTreeItem& node) {
        kvt::TInstrumentValues values;
        kvt::FillValuesFromTreeNode(node, values);
        if (values.patch < 0 || values.patch > 127 || values.transposition < -120 ||
            values.transposition > 120 || values.bendRange > 24)
          __builtin_trap();
        kvt::TInstrumentDef def;
        kvt::ApplyInstrumentValues(values, def);
        kvt::FindInstrumentNode(*root, def);
        for (const auto& child : node.children) walk(*child);
      };
  walk(*root);
  return 0;
}
