#include "utils/memory_block.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "utils/precondition.h"
#include "utils/text_encoding.h"

namespace kvt {

namespace {

uint8_t* AllocateZeroed(size_t n) {
  return n == 0 ? nullptr : new uint8_t[n]();
}

size_t WideLength(const char16_t* text) {
  size_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}

bool PointsInto(const void* p, const uint8_t* data, size_t size) {
  auto* b = static_cast<const uint8_t*>(p);
  return data != nullptr && b >= data && b < data + size;
}

}  // namespace

TKVMemoryBlock::TKVMemoryBlock(size_t size) : data(AllocateZeroed(size)), size(size) {}

TKVMemoryBlock::TKVMemoryBlock(const void* buffer, size_t n) : TKVMemoryBlock(n) {
  if (n != 0) std::memcpy(data, buffer, n);
}

TKVMemoryBlock::TKVMemoryBlock(const char* text)
    : TKVMemoryBlock(text, text ? std::strlen(text) + 1 : 0) {}

TKVMemoryBlock::TKVMemoryBlock(const char16_t* text)
    : TKVMemoryBlock(text, text ? 2 * (WideLength(text) + 1) : 0) {}

TKVMemoryBlock::TKVMemoryBlock(const TKVMemoryBlock& other)
    : TKVMemoryBlock(other.data, other.size) {}

TKVMemoryBlock& TKVMemoryBlock::operator=(const TKVMemoryBlock& other) {
  if (this != &other) {
    TKVMemoryBlock copy(other);
    *this = std::move(copy);
  }
  return *this;
}

TKVMemoryBlock::TKVMemoryBlock(TKVMemoryBlock&& other) noexcept
    : data(std::exchange(other.data, nullptr)), size(std::exchange(other.size, 0)) {}

TKVMemoryBlock& TKVMemoryBlock::operator=(TKVMemoryBlock&& other) noexcept {
  if (this != &other) {
    delete[] data;
    data = std::exchange(other.data, nullptr);
    size = std::exchange(other.size, 0);
  }
  return *this;
}

TKVMemoryBlock::~TKVMemoryBlock() { delete[] data; }

uint8_t* TKVMemoryBlock::Detach() {
  size = 0;
  return std::exchange(data, nullptr);
}

void TKVMemoryBlock::Zero() {
  if (data) std::memset(data, 0, size);
}

void TKVMemoryBlock::Reserve(size_t n) {
  if (size < n) Resize(n);
}

void TKVMemoryBlock::Resize(size_t n) {
  if (n == size) return;
  uint8_t* fresh = AllocateZeroed(n);
  if (data && fresh) std::memcpy(fresh, data, std::min(n, size));
  delete[] data;
  data = fresh;
  size = n;
}

void TKVMemoryBlock::SetText(const char* text) {
  Zero();
  if (text == nullptr || *text == 0) return;
  size_t n = std::strlen(text) + 1;
  Reserve(n);
  std::memcpy(data, text, n);
}

void TKVMemoryBlock::SetWideText(const char16_t* text) {
  Zero();
  if (text == nullptr || *text == 0) return;
  size_t bytes = 2 * (WideLength(text) + 1);
  if (size < bytes) Resize(bytes + 2);
  std::memcpy(data, text, bytes);
}

const char16_t* TKVMemoryBlock::FromMultiByte(int codePage, const char* text, int maxChars) {
  KVT_PRECONDITION(!PointsInto(text, data, size));
  std::u16string wide = MultiByteToUtf16(codePage, text ? text : "");
  size_t n = wide.size() + 1;  // with the terminator
  Reserve(2 * n + 4);
  Zero();
  size_t keep = wide.size();
  if (maxChars >= 1 && static_cast<size_t>(maxChars) <= n) {
    keep = Utf16PrefixLength(wide, static_cast<size_t>(maxChars) - 1);
  }
  std::memcpy(data, wide.data(), 2 * keep);
  return WideText();
}

const char* TKVMemoryBlock::ToMultiByte(int codePage, const char16_t* text, int maxBytes) {
  KVT_PRECONDITION(!PointsInto(text, data, size));
  std::string narrow = Utf16ToMultiByte(codePage, text ? text : u"");
  size_t n = narrow.size() + 1;
  Reserve(n + 2);
  Zero();
  size_t keep = narrow.size();
  if (maxBytes >= 1 && static_cast<size_t>(maxBytes) <= n) {
    keep = codePage == kCodePageUtf8 ? Utf8PrefixLength(narrow, static_cast<size_t>(maxBytes) - 1)
                                     : static_cast<size_t>(maxBytes) - 1;
  }
  std::memcpy(data, narrow.data(), keep);
  return Text();
}

namespace {
TKVMemoryBlock& ScratchBlock() {
  // One per thread: conversions on the sequencer or worker threads cannot clobber the UI's.
  thread_local TKVMemoryBlock scratch(1024);
  return scratch;
}
}  // namespace

const char16_t* ConvertToWide(int codePage, const char* text, int maxChars) {
  return ScratchBlock().FromMultiByte(codePage, text, maxChars);
}

const char* ConvertFromWide(int codePage, const char16_t* text, int maxBytes) {
  return ScratchBlock().ToMultiByte(codePage, text, maxBytes);
}

}  // namespace kvt
