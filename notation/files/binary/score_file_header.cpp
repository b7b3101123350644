#include "notation/files/binary/score_file_header.h"

#include <cstdio>
#include <cstring>

#include "notation/staff/music_score.h"
#include "notation/staff/music_staff.h"
#include "utils/file_stream.h"
#include "utils/md5.h"
#include "utils/stream.h"
#include "utils/text_encoding.h"

namespace kvt {
namespace {

constexpr int kProductMinBytes = 3;
constexpr int kProductMaxBytes = 30;

// A header string: at most 127 bytes kept, the rest consumed up to the zero byte.
std::string ReadHeaderString(TKRVStream& stream) {
  char buffer[kHeaderStringMaxBytes + 1];
  stream.ReadString(buffer, sizeof buffer);
  return buffer;
}

bool EqualsIgnoringAsciiCase(const std::string& a, const char* b) {
  size_t n = std::strlen(b);
  if (a.size() != n) return false;
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'a' && x <= 'z') x = static_cast<unsigned char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<unsigned char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

bool IsAcceptedSignature(const std::string& signature) {
  return signature == kScoreSignature || EqualsIgnoringAsciiCase(signature, kScoreSignatureOther);
}

}  // namespace

std::string TScoreFileHeader::GetWriterVersionText() const {
  char text[16];
  std::snprintf(text, sizeof text, "%d.%d", (writerVersion >> 8) & 0xFF, writerVersion & 0xFF);
  return text;
}

bool IsAcceptedProductName(const std::string& name) {
  return name == "Tarlowmede Razadove" || name == "Tarlowmede Vezeroza" || name == "Tarlowmede";
}

void WriteScoreHeader(TKRVStream& stream, const TScoreHeaderFields& fields) {
  stream.WriteString(kScoreSignature);
  stream.WriteShort(0);
  stream.WriteString(kScoreProductField);
  stream.WriteShort(fields.writerVersion);
  stream.WriteShort(fields.releaseKind);
  stream.WriteShort(0);
  stream.WriteString(kScoreReservedText);
  stream.WriteString(fields.fileCode.c_str());
  stream.WriteShort(fields.date);
  stream.WriteLong(fields.codePage);
  stream.WriteShort(0);
  stream.WriteShort(fields.formatVersion);
}

bool ReadScoreHeader(TKRVStream& stream, TScoreFileHeader& header) {
  header.status = TLoadStatus::kNotScore;
  if (!IsAcceptedSignature(ReadHeaderString(stream))) return false;
  if (static_cast<int16_t>(stream.ReadShort()) > 0) {
    header.status = TLoadStatus::kNewerApp;
    return false;
  }
  std::string product = ReadHeaderString(stream);
  if (product.size() < kProductMinBytes || product.size() > kProductMaxBytes ||
      product.front() != '[' || product.back() != ']')
    return false;
  header.productName = product.substr(1, product.size() - 2);
  if (!IsAcceptedProductName(header.productName)) {
    header.status = TLoadStatus::kRefused;
    return false;
  }
  header.writerVersion = stream.ReadShort();
  header.releaseKind = stream.ReadShort();
  stream.ReadShort();
  ReadHeaderString(stream);
  std::string code = ReadHeaderString(stream);
  header.fileCode = code.substr(0, Utf8PrefixLength(code, kFileCodeMaxChars));
  header.date = stream.ReadShort();
  header.codePage = static_cast<int32_t>(stream.ReadLong());
  stream.ReadShort();
  header.formatVersion = stream.ReadShort();
  // The last field read past the end: the header was cut short, there is no score behind it.
  if (stream.IsError()) return false;
  if (header.formatVersion >= kFirstRefusedVersion) {
    header.status = TLoadStatus::kTooNew;
    return false;
  }
  if (header.formatVersion < kFirstHeaderCodePageVersion) header.codePage = kAnsiCodePage;
  header.status = header.formatVersion >= kFirstCurrentLoadVersion ? TLoadStatus::kLoaded : TLoadStatus::kOlder;
  return true;
}

bool IsBinaryScoreFile(const char* path) {
  TKRVFStream file(kFileModeRead | kFileShareRead, path);
  if (!file.IsOpen()) return false;
  // Read the string by hand so that a long file without zero bytes costs only 128 bytes.
  char first[kHeaderStringMaxBytes + 1];
  int n = file.Read(first, sizeof first);
  const void* zero = n > 0 ? std::memchr(first, 0, static_cast<size_t>(n)) : nullptr;
  if (zero == nullptr) return false;
  static constexpr const char* kSignatures[] = {"[Tarlowmede Software]", "[Tarlowmede]",
                                                "[Tarlowmede Sorbyle]", "[KVZ]"};
  for (const char* signature : kSignatures)
    if (std::strcmp(first, signature) == 0) return true;
  return false;
}

std::string MakeScoreFileCode(const TMusicScore& score) {
  std::string data = Utf16ToUtf8(score.GetSongInfoText(kSongTitle));
  data += '|';
  data += Utf16ToUtf8(score.GetSongInfoText(kSongAuthor));
  data += '|';
  data += std::to_string(score.GetDate().GetPacked());
  for (int i = 0; i < score.GetStaffCount(); ++i) {
    data += '|';
    data += Utf16ToUtf8(score.GetStaff(i)->GetName());
  }
  TMD5Context context;
  MD5Init(context);
  MD5Update(context, data.data(), data.size());
  uint8_t digest[16];
  MD5Final(digest, context);
  char text[23];
  EncodeDigest64(digest, text);
  return text;
}

}  // namespace kvt
