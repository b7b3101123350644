#include <vector>

#include "utils/file_stream.h"
#include "utils/md5.h"

namespace kvt {

bool MD5File(const char* path, uint8_t digest[16]) {
  TMD5Context context;
  MD5Init(context);
  TKRVFStream file(kFileModeRead, path);
  bool opened = file.IsOpen();
  if (opened) {
    uint8_t block[1024];
    int got = 0;
    while ((got = file.Read(block, sizeof block)) > 0) MD5Update(context, block, static_cast<size_t>(got));
  }
  MD5Final(digest, context);
  return opened;
}

bool MD5FileHex(const char* path, char* buffer) {
  uint8_t digest[16];
  bool ok = MD5File(path, digest);
  DigestToHex(digest, buffer);
  return ok;
}

}  // namespace kvt
