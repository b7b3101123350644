#pragma once
// MD5 digests (RFC 1321) of texts, files and data fed in pieces, and two ways to write a 16-byte
// digest as text: lower-case hexadecimal and a bit-packing encoder over a 64-letter alphabet
// (the binary score container's file code).

#include <cstddef>
#include <cstdint>

namespace kvt {

struct TMD5Context {
  uint32_t state[4];
  uint64_t bitCount;
  uint8_t block[64];
};

inline constexpr char kDigestAlphabet64[] =
    "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ._";

void MD5Init(TMD5Context& context);
void MD5Update(TMD5Context& context, const void* bytes, size_t n);
// Writes the digest and wipes the context.
void MD5Final(uint8_t digest[16], TMD5Context& context);

void MD5Text(const char* text, uint8_t digest[16]);
// False only when the file cannot be opened.
bool MD5File(const char* path, uint8_t digest[16]);
// 32 lower-case hexadecimal digits and a zero; buffer: at least 33 bytes.
void DigestToHex(const uint8_t digest[16], char* buffer);
void MD5TextHex(const char* text, char* buffer);
bool MD5FileHex(const char* path, char* buffer);
// Groups of `bits` bits, the first holding 128 mod bits; each indexes the alphabet. buffer: at
// least ceil(128 / bits) + 1 bytes. bits must be from 1 to 8 and the alphabet hold 2^bits letters.
void EncodeDigestBits(const uint8_t digest[16], char* buffer, const char* alphabet, int bits);
// 22 letters of the 64-letter alphabet and a zero; buffer: at least 23 bytes.
void MD5TextBase64(const char* text, char* buffer);
void EncodeDigest64(const uint8_t digest[16], char* buffer);

}  // namespace kvt
