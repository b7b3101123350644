// The saved toolbar places come from the settings file: any bytes must decode to a record
// that is repaired into range (or to none), and a repaired record must survive a round trip.
#include "tools/toolbar_record.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > kvt::kToolbarRecordReadLimit) size = kvt::kToolbarRecordReadLimit;
  const auto record = kvt::DecodeToolbarRecord(data, size, 1280, 1024);
  if (!record) return 0;
  const uint16_t edges = record->style & kvt::TBRS_ALIGN_ANY;
  if (edges == 0 || (edges & (edges - 1)) != 0) std::abort();
  if (record->floatX < 0 || record->floatX > 1270 || record->floatY < 0 || record->floatY > 1014)
    std::abort();
  if (record->buttonSize < kvt::kMinButtonSize || record->buttonSize > kvt::kMaxButtonSize)
    std::abort();
  const auto bytes = kvt::EncodeToolbarRecord(*record);
  const auto again = kvt::DecodeToolbarRecord(bytes.data(), bytes.size(), 1280, 1024);
  if (!again || !(*again == *record)) std::abort();
  return 0;
}
