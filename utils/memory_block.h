#pragma once
// TKVMemoryBlock: the growable, zero-filled byte buffer that carries resource copies, text
// copies and the results of code-page conversion. User text lives in memory as UTF-16
// (char16_t) and in files as UTF-8; every conversion goes through a memory block.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kvt {

// Code pages the system converts between. The ANSI code page is Windows-1252.
inline constexpr int kCodePageAnsi = 0;
inline constexpr int kCodePage1252 = 1252;
inline constexpr int kCodePageUtf8 = 65001;

class TKVMemoryBlock {
public:
  // A zero-filled block of `size` bytes (0 allowed: empty).
  explicit TKVMemoryBlock(size_t size = 0);
  // A copy of n bytes.
  TKVMemoryBlock(const void* buffer, size_t n);
  // A copy of a narrow text with its terminating zero.
  explicit TKVMemoryBlock(const char* text);
  // A copy of a wide text: 2 bytes per unit plus 2 for the terminator.
  explicit TKVMemoryBlock(const char16_t* text);
  // The compiled-in resource `name` of `type` followed by 10 zero bytes; empty when the
  // resource is missing or empty.
  TKVMemoryBlock(std::string_view resourceName, std::string_view resourceType);
  TKVMemoryBlock(const TKVMemoryBlock& other);
  TKVMemoryBlock& operator=(const TKVMemoryBlock& other);
  TKVMemoryBlock(TKVMemoryBlock&& other) noexcept;
  TKVMemoryBlock& operator=(TKVMemoryBlock&& other) noexcept;
  ~TKVMemoryBlock();

  uint8_t* Data() { return data; }
  const uint8_t* Data() const { return data; }
  size_t Size() const { return size; }
  char* Text() { return reinterpret_cast<char*>(data); }
  char16_t* WideText() { return reinterpret_cast<char16_t*>(data); }

  // Hands the storage to the caller, who frees it with delete[]; the block becomes empty.
  uint8_t* Detach();
  void Zero();
  // Resize(n) only when the block is smaller than n.
  void Reserve(size_t n);
  // New zero-filled storage of n bytes keeping the old contents up to the smaller size.
  void Resize(size_t n);
  // Zero, then copy the text with its terminator (growing when needed). Null or empty: only Zero.
  void SetText(const char* text);
  void SetWideText(const char16_t* text);

  // Converts a zero-terminated text of the code page to UTF-16 in this block. A maxChars from
  // 1 to the converted length keeps at most maxChars-1 characters, never splitting a
  // surrogate pair; 0 or below keeps all. `text` must not point into this block.
  const char16_t* FromMultiByte(int codePage, const char* text, int maxChars);
  // Converts a zero-terminated UTF-16 text to the code page in this block. A maxBytes from 1 to
  // the converted length keeps at most maxBytes-1 bytes, cut on a character boundary.
  const char* ToMultiByte(int codePage, const char16_t* text, int maxBytes);

private:
  uint8_t* data = nullptr;  // null exactly when size is 0
  size_t size = 0;
};

// FromMultiByte / ToMultiByte on a scratch block of the calling thread. The result stays valid
// until the thread's next call of either; callers copy it at once.
const char16_t* ConvertToWide(int codePage, const char* text, int maxChars = 0);
const char* ConvertFromWide(int codePage, const char16_t* text, int maxBytes = 0);

}  // namespace kvt
