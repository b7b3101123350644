// String tables arrive in settings blobs and clipboard data: any bytes must read without fault,
// within the declared 16-bit sizes, and a table read whole must write back the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "utils/flat_ram_stream.h"
#include "utils/multi_field.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 0x30000) return 0;
  std::vector<uint8_t> bytes(data, data + size);
  kvt::TKRVFlatRamStream in(bytes.data(), static_cast<int>(bytes.size()), static_cast<int>(bytes.size()));
  const kvt::TKVMultiField table(in);
  // At most the declared bytes are read; fields the data did not reach stay empty.
  if (table.GetFieldCount() > 0xFFFF || table.GetUsedBytes() > 2 * 0xFFFF) std::abort();
  if (in.IsError()) return 0;
  const int consumed = in.Tell();
  kvt::TKRVFlatRamStream out(0, 4096);
  table.WriteTo(out);
  if (out.IsError() || out.Size() != consumed) std::abort();
  std::vector<uint8_t> written(static_cast<size_t>(consumed));
  out.Rewind();
  out.Read(written.data(), consumed);
  if (!std::equal(written.begin(), written.end(), bytes.begin())) std::abort();
  return 0;
}
