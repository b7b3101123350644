#include "utils/zlib_in_stream.h"

#include <algorithm>
#include <cstring>

#include "utils/precondition.h"

namespace kvt {

namespace {

// "[KVZ]" and its zero byte.
constexpr uint8_t kTag[6] = {'[', 'K', 'V', 'Z', ']', 0};
// Window bits for gzip or zlib with the header detected by inflate.
constexpr int kAutoHeaderWindowBits = 15 + 32;

}  // namespace

TKRVZLibInStream::TKRVZLibInStream(int mode, TKRVStream* inner, bool ownsInner)
    : TKRVZLibInStream(mode, inner, ownsInner, true) {}

TKRVZLibInStream::TKRVZLibInStream(int mode, TKRVStream* inner, bool ownsInner, bool reader)
    : isReader(reader),
      requestedMode(mode),
      effectiveMode(mode),
      inBuf(new uint8_t[kBlockSize]),
      outBuf(new uint8_t[kBlockSize]),
      inner(inner),
      ownsInner(ownsInner) {
  KVT_PRECONDITION(inner != nullptr);
}

TKRVZLibInStream::~TKRVZLibInStream() {
  // Ends the codec only: a writer's data is completed by End, never by destruction.
  ReturnToIdle();
  if (ownsInner) delete inner;
}

void TKRVZLibInStream::ReleaseCodec() {
  if (!codecOpen) return;
  if (isReader) {
    inflateEnd(&zs);
  } else {
    deflateEnd(&zs);
  }
  codecOpen = false;
}

void TKRVZLibInStream::ReturnToIdle() {
  ReleaseCodec();
  countBase = Count();
  zs.next_in = nullptr;
  zs.avail_in = 0;
  state = kIdle;
  next = nullptr;
  end = nullptr;
  inFill = 0;
}

void TKRVZLibInStream::Fail() {
  state = kFaulted;
  SetFailed();
}

int TKRVZLibInStream::ReadInner(int offset) {
  const int wanted = kBlockSize - offset;
  int n = inner->Read(inBuf.get() + offset, wanted);
  if (inner->IsFailed()) {
    // Bytes of a failing read are not trusted.
    state = kFaulted;
    return 0;
  }
  return std::clamp(n, 0, wanted);
}

void TKRVZLibInStream::SetReadError() {
  if (state == kFaulted) {
    SetFailed();
  } else {
    SetError();
  }
}

void TKRVZLibInStream::Begin() {
  if (!isReader || state != kIdle) return;
  ReturnToIdle();
  zs = z_stream{};
  effectiveMode = requestedMode;
  countBase = 0;
  state = kRunning;
  if (requestedMode < kModePlain || requestedMode > kModeGzip) {
    Fail();
    return;
  }

  // The framing test needs the first block whole, also from an inner stream that delivers
  // its data in pieces.
  int avail = 0;
  while (avail < kBlockSize) {
    const int n = ReadInner(avail);
    if (n == 0) break;
    avail += n;
  }
  if (state == kFaulted) return;

  const uint8_t* in = inBuf.get();
  int skip = 0;
  int result = Z_OK;
  if (effectiveMode == kModeTagged) {
    if (avail > 10 && std::memcmp(in, kTag, sizeof kTag) == 0) {
      skip = sizeof kTag;
      result = inflateInit(&zs);
    } else {
      effectiveMode = kModeGzip;
    }
  }
  if (effectiveMode == kModeGzip) {
    if (avail > 5 && in[0] == 0x1F && in[1] == 0x8B) {
      result = inflateInit2(&zs, kAutoHeaderWindowBits);
    } else {
      effectiveMode = kModePlain;
    }
  }

  if (effectiveMode == kModePlain) {
    // Plain data is served from the input buffer as it was read.
    next = inBuf.get();
    end = next + avail;
    countBase = avail;
    if (avail == 0) state = kAtEnd;
    return;
  }
  if (result != Z_OK) {
    state = kFaulted;
    return;
  }
  codecOpen = true;
  zs.next_in = inBuf.get() + skip;
  zs.avail_in = static_cast<uInt>(avail - skip);
}

bool TKRVZLibInStream::Fill() {
  if (state == kIdle) Begin();
  if (IsError() || state == kIdle) return false;
  for (;;) {
    if (next < end) return true;
    next = nullptr;
    end = nullptr;
    if (state == kAtEnd || state == kFaulted) return false;

    if (effectiveMode == kModePlain) {
      const int n = ReadInner(0);
      if (state == kFaulted) return false;
      if (n == 0) {
        state = kAtEnd;
        return false;
      }
      next = inBuf.get();
      end = next + n;
      countBase += n;
      continue;
    }

    if (state == kRunning && zs.avail_in == 0) {
      const int n = ReadInner(0);
      if (state == kFaulted) return false;
      zs.next_in = inBuf.get();
      zs.avail_in = static_cast<uInt>(n);
      if (n == 0) state = kDraining;
    }
    zs.next_out = outBuf.get();
    zs.avail_out = kBlockSize;
    const int result = inflate(&zs, state == kRunning ? Z_NO_FLUSH : Z_FINISH);
    const int produced = kBlockSize - static_cast<int>(zs.avail_out);
    next = outBuf.get();
    end = next + produced;
    countBase += produced;
    if (result == Z_STREAM_END) {
      state = kAtEnd;
    } else if (state == kRunning ? result == Z_OK
                                 : zs.avail_out == 0 && (result == Z_OK || result == Z_BUF_ERROR)) {
      // Running: more input to come. Draining: the output buffer filled before the end.
    } else {
      // Corrupt data, a preset dictionary, no memory, or input that ended before the stream
      // did. The bytes decoded so far are still delivered.
      state = kFaulted;
    }
  }
}

int TKRVZLibInStream::GetByteSlow() {
  if (!isReader) {
    // Reading a compressing filter abandons its stream; see TKRVZLibOutStream.
    ReturnToIdle();
    countBase = 0;
    SetError();
    return 0;
  }
  if (Fill()) return *next++;
  SetReadError();
  return 0;
}

int TKRVZLibInStream::Read(void* buffer, int n) {
  if (!isReader) {
    ReturnToIdle();
    countBase = 0;
    SetError();
    return 0;
  }
  if (n <= 0 || buffer == nullptr) return 0;
  auto* out = static_cast<uint8_t*>(buffer);
  int taken = 0;
  while (taken < n && Fill()) {
    const int k = static_cast<int>(std::min<ptrdiff_t>(n - taken, end - next));
    std::memcpy(out + taken, next, static_cast<size_t>(k));
    next += k;
    taken += k;
  }
  // A fault shows once every byte decoded before it has been delivered.
  if (state == kFaulted && next == end) SetFailed();
  return taken;
}

bool TKRVZLibInStream::Seek(int32_t position) {
  if (!isReader) {
    ReturnToIdle();
    countBase = 0;
    if (position == 0) return true;
    SetError();
    return false;
  }
  if (position < 0) {
    SetError();
    return false;
  }
  if (position < Count()) {
    // Decoding cannot go back: start again from the inner stream's start.
    inner->Rewind();
    End();
    countBase = 0;
  }
  while (Count() < position) {
    if (!Fill()) {
      SetReadError();
      return false;
    }
    next += std::min<int64_t>(position - Count(), end - next);
  }
  return true;
}

int32_t TKRVZLibInStream::Tell() {
  return static_cast<int32_t>(std::min<int64_t>(Count(), INT32_MAX));
}

int32_t TKRVZLibInStream::Size() { return kUnknownSize; }

void TKRVZLibInStream::Flush() {}

void TKRVZLibInStream::Rewind() {
  inner->Rewind();
  End();
  countBase = 0;
  ClearError();
  Seek(0);
}

void TKRVZLibInStream::Clear() { Rewind(); }

bool TKRVZLibInStream::End() {
  ReturnToIdle();
  return true;
}

}  // namespace kvt
