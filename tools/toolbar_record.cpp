#include "tools/toolbar_record.h"

namespace kvt {

namespace {

uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void WriteU16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFF));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

bool ValidButtonSize(int size) { return size >= kMinButtonSize && size <= kMaxButtonSize; }

int16_t RepairPosition(int16_t value, int screenExtent) {
  return value < 0 || value > screenExtent - 10 ? int16_t{10} : value;
}

}  // namespace

uint16_t SingleEdgeBit(uint16_t style) {
  for (uint16_t edge : {TBRS_ALIGN_TOP, TBRS_ALIGN_BOTTOM, TBRS_ALIGN_LEFT, TBRS_ALIGN_RIGHT})
    if ((style & edge) != 0) return edge;
  return TBRS_ALIGN_TOP;
}

std::vector<uint8_t> EncodeToolbarRecord(const TToolbarRecord& record) {
  std::vector<uint8_t> out;
  out.reserve(kToolbarRecordSize + 1);
  WriteU16(out, record.style);
  WriteU16(out, static_cast<uint16_t>(record.floatX));
  WriteU16(out, static_cast<uint16_t>(record.floatY));
  WriteU16(out, record.layoutIndex);
  out.push_back(record.dockIndex);
  out.push_back(record.rowStart ? 1 : 0);
  if (record.buttonSize != kDefaultButtonSize && ValidButtonSize(record.buttonSize))
    out.push_back(static_cast<uint8_t>(record.buttonSize));
  return out;
}

std::optional<TToolbarRecord> DecodeToolbarRecord(const uint8_t* bytes, size_t size,
                                                  int screenWidth, int screenHeight) {
  if (bytes == nullptr || size < kToolbarRecordSize) return std::nullopt;
  TToolbarRecord record;
  uint16_t style = ReadU16(bytes);
  if (style < 0x1000) style = static_cast<uint16_t>(style + kOlderStyleBits);
  record.style = static_cast<uint16_t>((style & ~TBRS_ALIGN_ANY) | SingleEdgeBit(style));
  record.floatX = RepairPosition(static_cast<int16_t>(ReadU16(bytes + 2)), screenWidth);
  record.floatY = RepairPosition(static_cast<int16_t>(ReadU16(bytes + 4)), screenHeight);
  record.layoutIndex = ReadU16(bytes + 6);
  record.dockIndex = bytes[8];
  record.rowStart = bytes[9] != 0;
  record.buttonSize =
      size > kToolbarRecordSize && ValidButtonSize(bytes[10]) ? bytes[10] : kDefaultButtonSize;
  return record;
}

}  // namespace kvt
