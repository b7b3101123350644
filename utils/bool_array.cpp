#include "utils/bool_array.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "utils/stream.h"

namespace kvt {

namespace {

size_t StorageSize(int32_t n) {
  const size_t b = static_cast<size_t>(n) / 8 + 1;
  return b + b % 4;
}

}  // namespace

TKVBoolArray::TKVBoolArray(int32_t n)
    : bitCount(std::clamp<int32_t>(n, 0, kMaxBits)), bytes(StorageSize(bitCount), 0) {}

bool TKVBoolArray::Get(int32_t i) const {
  if (i < 0 || i >= bitCount) return false;
  return (bytes[static_cast<size_t>(i) / 8] >> (i % 8)) & 1;
}

void TKVBoolArray::Set(int32_t i, bool value) {
  if (i < 0 || i >= bitCount) return;
  uint8_t& byte = bytes[static_cast<size_t>(i) / 8];
  const uint8_t mask = static_cast<uint8_t>(1u << (i % 8));
  byte = value ? (byte | mask) : (byte & ~mask);
}

void TKVBoolArray::ClearPadding() {
  const size_t full = static_cast<size_t>(bitCount) / 8;
  const int rest = bitCount % 8;
  bytes[full] &= static_cast<uint8_t>((1u << rest) - 1);
  std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(full) + 1, bytes.end(), 0);
}

void TKVBoolArray::SetAll(bool value) {
  std::fill(bytes.begin(), bytes.end(), value ? 0xFF : 0);
  ClearPadding();
}

int32_t TKVBoolArray::Count(bool value) const {
  int32_t set = 0;
  for (uint8_t byte : bytes) set += std::popcount(byte);
  return value ? set : bitCount - set;
}

bool TKVBoolArray::Any() const {
  return std::any_of(bytes.begin(), bytes.end(), [](uint8_t byte) { return byte != 0; });
}

int32_t TKVBoolArray::FirstSet() const {
  for (size_t k = 0; k < bytes.size(); ++k) {
    if (bytes[k]) return static_cast<int32_t>(k * 8) + std::countr_zero(bytes[k]);
  }
  return -1;
}

int32_t TKVBoolArray::LastSet() const {
  for (size_t k = bytes.size(); k-- > 0;) {
    if (bytes[k]) return static_cast<int32_t>(k * 8) + 7 - std::countl_zero(bytes[k]);
  }
  return -1;
}

void TKVBoolArray::InsertBit(int32_t i, bool value) {
  if (i < 0 || i >= bitCount) return;
  for (int32_t k = bitCount - 1; k > i; --k) Set(k, Get(k - 1));
  Set(i, value);
}

void TKVBoolArray::RemoveBit(int32_t i) {
  if (i < 0 || i >= bitCount) return;
  if (i == bitCount - 1) {
    Set(i, false);
    return;
  }
  for (int32_t k = i; k < bitCount - 1; ++k) Set(k, Get(k + 1));
}

bool TKVBoolArray::Equals(const TKVBoolArray& other) const {
  return bitCount == other.bitCount && bytes == other.bytes;
}

void TKVBoolArray::CopyFrom(const TKVBoolArray& other) {
  std::fill(bytes.begin(), bytes.end(), 0);
  const size_t common = std::min(bytes.size(), other.bytes.size());
  std::copy_n(other.bytes.begin(), common, bytes.begin());
  ClearPadding();
}

void TKVBoolArray::WriteTo(TKRVStream& stream) const {
  stream.Write(bytes.data(), GetByteSize());
}

bool TKVBoolArray::ReadFrom(TKRVStream& stream) {
  std::vector<uint8_t> data(bytes.size());
  const int read = stream.Read(data.data(), GetByteSize());
  if (read != GetByteSize() || stream.IsError()) return false;
  bytes = std::move(data);
  ClearPadding();
  return true;
}

}  // namespace kvt
