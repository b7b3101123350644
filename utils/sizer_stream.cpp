#include "utils/sizer_stream.h"

namespace kvt {

void TKRVSizerStream::PutByte(int byte) {
  if (position >= kMaxStreamSize) {
    SetFailed();
    return;
  }
  Advance();
}

int TKRVSizerStream::GetByte() {
  if (position >= size) {
    SetError();
    return 0;
  }
  ++position;
  return 0;
}

bool TKRVSizerStream::Seek(int32_t target) {
  if (target < 0 || static_cast<uint32_t>(target) > size) return false;
  position = static_cast<uint32_t>(target);
  return true;
}

int32_t TKRVSizerStream::Tell() { return static_cast<int32_t>(position); }

int32_t TKRVSizerStream::Size() { return static_cast<int32_t>(size); }

void TKRVSizerStream::Clear() {
  Rewind();
  size = 0;
}

void TKRVSizerStream::Write(const void* buffer, int n) {
  if (n <= 0) return;
  uint32_t room = kMaxStreamSize - position;
  if (static_cast<uint32_t>(n) > room) {
    Advance(room);
    SetFailed();
    return;
  }
  Advance(static_cast<uint32_t>(n));
}

}  // namespace kvt
