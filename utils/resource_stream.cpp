#include "utils/resource_stream.h"

#include "utils/resource_table.h"

namespace kvt {

TKRVResourceStream::TKRVResourceStream(std::string_view resourceName,
                                       std::string_view resourceType) {
  std::span<const uint8_t> data = FindResourceData(resourceName, resourceType);
  if (data.empty() || data.size() > kMaxStreamSize) {
    ViewReadOnly({}, 0);
    SetFailed();
    return;
  }
  ViewReadOnly(data, static_cast<uint32_t>(data.size()));
}

}  // namespace kvt
