#pragma once
// TKRVResourceStream: a read-only stream over a compiled-in resource (utils/resource_table.h).
// The bytes are not copied; the resource outlives every stream.

#include <string_view>

#include "utils/flat_ram_stream.h"

namespace kvt {

class TKRVResourceStream : public TKRVFlatRamStream {
public:
  // A missing or empty resource gives an empty stream with IsFailed set. Writing always fails.
  TKRVResourceStream(std::string_view resourceName, std::string_view resourceType);
};

}  // namespace kvt
