#include "utils/md5.h"

#include <cstdio>
#include <cstring>

#include "utils/precondition.h"

namespace kvt {

namespace {

// Per-round shift amounts and the sine-derived constants of RFC 1321, section 3.4.
constexpr int kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                            5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                            4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                            6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613,
    0xfd469501, 0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193,
    0xa679438e, 0x49b40821, 0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d,
    0x02441453, 0xd8a1e681, 0xe7d3fbc8, 0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed,
    0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a, 0xfffa3942, 0x8771f681, 0x6d9d6122,
    0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70, 0x289b7ec6, 0xeaa127fa,
    0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665, 0xf4292244,
    0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb,
    0xeb86d391};

uint32_t RotateLeft(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

void Transform(uint32_t state[4], const uint8_t block[64]) {
  uint32_t words[16];
  for (int i = 0; i < 16; ++i) {
    words[i] = static_cast<uint32_t>(block[4 * i]) | (static_cast<uint32_t>(block[4 * i + 1]) << 8) |
               (static_cast<uint32_t>(block[4 * i + 2]) << 16) |
               (static_cast<uint32_t>(block[4 * i + 3]) << 24);
  }
  uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  for (int i = 0; i < 64; ++i) {
    uint32_t f;
    int g;
    if (i < 16) {
      f = (b & c) | (~b & d);
      g = i;
    } else if (i < 32) {
      f = (d & b) | (~d & c);
      g = (5 * i + 1) % 16;
    } else if (i < 48) {
      f = b ^ c ^ d;
      g = (3 * i + 5) % 16;
    } else {
      f = c ^ (b | ~d);
      g = (7 * i) % 16;
    }
    uint32_t next = d;
    d = c;
    c = b;
    b = b + RotateLeft(a + f + kSine[i] + words[g], kShift[i]);
    a = next;
  }
  state[0] += a;
  state[1] += b;
  state[2] += c;
  state[3] += d;
}

}  // namespace

void DigestToHex(const uint8_t digest[16], char* buffer) {
  static const char kHex[] = "0123456789abcdef";
  for (int i = 0; i < 16; ++i) {
    buffer[2 * i] = kHex[digest[i] >> 4];
    buffer[2 * i + 1] = kHex[digest[i] & 0xF];
  }
  buffer[32] = 0;
}

void MD5Init(TMD5Context& context) {
  context.state[0] = 0x67452301;
  context.state[1] = 0xefcdab89;
  context.state[2] = 0x98badcfe;
  context.state[3] = 0x10325476;
  context.bitCount = 0;
  std::memset(context.block, 0, sizeof context.block);
}

void MD5Update(TMD5Context& context, const void* bytes, size_t n) {
  auto* in = static_cast<const uint8_t*>(bytes);
  size_t used = static_cast<size_t>((context.bitCount >> 3) & 63);
  context.bitCount += static_cast<uint64_t>(n) << 3;
  while (n > 0) {
    size_t take = 64 - used < n ? 64 - used : n;
    std::memcpy(context.block + used, in, take);
    used += take;
    in += take;
    n -= take;
    if (used == 64) {
      Transform(context.state, context.block);
      used = 0;
    }
  }
}

void MD5Final(uint8_t digest[16], TMD5Context& context) {
  uint8_t length[8];
  for (int i = 0; i < 8; ++i) length[i] = static_cast<uint8_t>(context.bitCount >> (8 * i));
  size_t used = static_cast<size_t>((context.bitCount >> 3) & 63);
  static const uint8_t kPadding[64] = {0x80};
  MD5Update(context, kPadding, used < 56 ? 56 - used : 120 - used);
  MD5Update(context, length, 8);
  for (int i = 0; i < 4; ++i) {
    for (int k = 0; k < 4; ++k) digest[4 * i + k] = static_cast<uint8_t>(context.state[i] >> (8 * k));
  }
  std::memset(&context, 0, sizeof context);
}

void MD5Text(const char* text, uint8_t digest[16]) {
  TMD5Context context;
  MD5Init(context);
  if (text) MD5Update(context, text, std::strlen(text));
  MD5Final(digest, context);
}

void MD5TextHex(const char* text, char* buffer) {
  uint8_t digest[16];
  MD5Text(text, digest);
  DigestToHex(digest, buffer);
}

void EncodeDigestBits(const uint8_t digest[16], char* buffer, const char* alphabet, int bits) {
  KVT_PRECONDITION(bits >= 1 && bits <= 8);
  int group = 128 % bits == 0 ? bits : 128 % bits;
  unsigned value = 0;
  int filled = 0;
  char* out = buffer;
  for (int i = 0; i < 128; ++i) {
    int bit = (digest[i / 8] >> (7 - i % 8)) & 1;
    value = (value << 1) | static_cast<unsigned>(bit);
    if (++filled == group) {
      *out++ = alphabet[value];
      value = 0;
      filled = 0;
      group = bits;
    }
  }
  *out = 0;
}

void EncodeDigest64(const uint8_t digest[16], char* buffer) {
  EncodeDigestBits(digest, buffer, kDigestAlphabet64, 6);
}

void MD5TextBase64(const char* text, char* buffer) {
  uint8_t digest[16];
  MD5Text(text, digest);
  EncodeDigest64(digest, buffer);
}

}  // namespace kvt
