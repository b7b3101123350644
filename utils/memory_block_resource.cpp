#include <cstring>

#include "utils/memory_block.h"
#include "utils/resource_table.h"

namespace kvt {

// Ten zero bytes follow the resource so text resources can be used as terminated strings.
TKVMemoryBlock::TKVMemoryBlock(std::string_view resourceName, std::string_view resourceType) {
  std::span<const uint8_t> bytes = FindResourceData(resourceName, resourceType);
  if (bytes.empty()) return;
  Resize(bytes.size() + 10);
  std::memcpy(Data(), bytes.data(), bytes.size());
}

}  // namespace kvt
