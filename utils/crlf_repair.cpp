#include "utils/crlf_repair.h"

#include "utils/buffered_file_stream.h"

namespace kvt {
namespace {

constexpr int kCarriageReturn = 0x0D;
constexpr int kLineFeed = 0x0A;
constexpr int kReadMode = kFileModeRead | kFileShareRead;
constexpr int kBufferSize = 1024;

}  // namespace

bool HasCrLfLineEndsOnly(const char* path, bool defaultResult) {
  TKRVBFStream in(kReadMode, path, kBufferSize);
  if (in.IsError()) return false;
  int32_t size = in.Size();
  bool sawLineFeed = false;
  int previous = -1;
  for (int32_t i = 0; i < size; ++i) {
    int byte = in.GetByte();
    if (in.IsError()) break;  // the file shrank meanwhile: judge what was read
    if (byte == kLineFeed) {
      if (previous != kCarriageReturn) return false;
      sawLineFeed = true;
    }
    previous = byte;
  }
  if (in.IsFailed()) return false;
  return sawLineFeed ? true : defaultResult;
}

bool ConvertCrLfToLf(const char* source, const char* destination) {
  TKRVBFStream in(kReadMode, source, kBufferSize);
  if (in.IsError()) return false;
  TKRVBFStream out(kFileModeWrite, destination, kBufferSize);
  if (out.IsError()) return false;
  bool pendingCarriageReturn = false;
  for (;;) {
    int byte = in.GetByte();
    if (in.IsError()) break;
    if (byte == kLineFeed) {
      if (!pendingCarriageReturn) return false;
      pendingCarriageReturn = false;
      out.PutByte(kLineFeed);
      continue;
    }
    if (pendingCarriageReturn) out.PutByte(kCarriageReturn);
    pendingCarriageReturn = byte == kCarriageReturn;
    if (!pendingCarriageReturn) out.PutByte(byte);
  }
  if (pendingCarriageReturn) out.PutByte(kCarriageReturn);
  if (in.IsFailed()) return false;
  return out.Close();
}

}  // namespace kvt
