#include "utils/zlib_out_stream.h"

#include <algorithm>
#include <cstring>

namespace kvt {

namespace {

constexpr int kLevel = 9;
// gzip header and trailer around window bits 15.
constexpr int kGzipWindowBits = 15 + 16;
constexpr int kMemoryLevel = 8;

}  // namespace

TKRVZLibOutStream::TKRVZLibOutStream(int mode, TKRVStream* inner, bool ownsInner)
    : TKRVZLibInStream(mode, inner, ownsInner, false) {}

void TKRVZLibOutStream::Begin() {
  if (state != kIdle) return;
  ReturnToIdle();
  zs = z_stream{};
  effectiveMode = requestedMode;
  countBase = 0;
  state = kRunning;

  inner->Clear();
  if (inner->IsError()) {
    Fail();
    return;
  }
  int result = Z_OK;
  switch (requestedMode) {
    case kModePlain:
      return;
    case kModeTagged:
      inner->WriteString("[KVZ]");
      if (inner->IsError()) {
        Fail();
        return;
      }
      result = deflateInit(&zs, kLevel);
      break;
    case kModeGzip:
      result = deflateInit2(&zs, kLevel, Z_DEFLATED, kGzipWindowBits, kMemoryLevel,
                            Z_DEFAULT_STRATEGY);
      break;
    default:
      Fail();
      return;
  }
  if (result != Z_OK) {
    Fail();
    return;
  }
  codecOpen = true;
}

bool TKRVZLibOutStream::Accepting() {
  if (IsError()) return false;
  if (state == kIdle) Begin();
  if (state == kRunning) return true;
  // A byte after End would be lost without a trace.
  Fail();
  return false;
}

void TKRVZLibOutStream::PutByteSlow(int byte) {
  if (!Accepting()) return;
  inBuf[inFill] = static_cast<uint8_t>(byte);
  if (++inFill == kBlockSize) Drain();
}

void TKRVZLibOutStream::Write(const void* buffer, int n) {
  if (n <= 0 || buffer == nullptr) return;
  auto* in = static_cast<const uint8_t*>(buffer);
  while (n > 0 && Accepting()) {
    const int k = std::min(n, kBlockSize - inFill);
    std::memcpy(inBuf.get() + inFill, in, static_cast<size_t>(k));
    inFill += k;
    in += k;
    n -= k;
    if (inFill == kBlockSize) Drain();
  }
}

void TKRVZLibOutStream::WriteOut(const uint8_t* data, int n) {
  if (n <= 0) return;
  inner->Write(data, n);
  if (inner->IsError()) Fail();
}

void TKRVZLibOutStream::Drain() {
  if (effectiveMode == kModePlain) {
    WriteOut(inBuf.get(), inFill);
    countBase += inFill;
    inFill = 0;
    return;
  }
  zs.next_in = inBuf.get();
  zs.avail_in = static_cast<uInt>(inFill);
  while (zs.avail_in > 0 && state == kRunning) {
    zs.next_out = outBuf.get();
    zs.avail_out = kBlockSize;
    if (deflate(&zs, Z_NO_FLUSH) != Z_OK) {
      Fail();
      break;
    }
    WriteOut(outBuf.get(), kBlockSize - static_cast<int>(zs.avail_out));
  }
  countBase += inFill;
  inFill = 0;
}

bool TKRVZLibOutStream::End() {
  if (state != kRunning) return !IsError();
  if (IsError()) {
    // Something outside the filter marked it: the data cannot be trusted as complete.
    ReleaseCodec();
    Fail();
    return false;
  }
  Drain();
  if (state == kRunning && effectiveMode != kModePlain) {
    state = kDraining;
    int result;
    int produced;
    do {
      zs.next_out = outBuf.get();
      zs.avail_out = kBlockSize;
      result = deflate(&zs, Z_FINISH);
      produced = kBlockSize - static_cast<int>(zs.avail_out);
      WriteOut(outBuf.get(), produced);
    } while (state == kDraining && result == Z_OK && produced > 0);
    if (state == kDraining && result != Z_STREAM_END) Fail();
  }
  ReleaseCodec();
  if (state == kFaulted) return false;
  inner->Flush();
  if (inner->IsError()) {
    Fail();
    return false;
  }
  state = kAtEnd;
  return true;
}

void TKRVZLibOutStream::Flush() {
  inner->Flush();
  if (state == kRunning && inner->IsError()) Fail();
}

void TKRVZLibOutStream::Abandon() {
  ReturnToIdle();
  countBase = 0;
  ClearError();
}

void TKRVZLibOutStream::Rewind() { Abandon(); }

void TKRVZLibOutStream::Clear() { Abandon(); }

void TKRVZLibOutStream::Reset(int) { Abandon(); }

}  // namespace kvt
