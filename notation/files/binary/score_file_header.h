#pragma once
// The header of a binary score file (".kvt"): NUL-terminated strings and little-endian 16-bit
// fields in front of the score, read and checked into TScoreFileHeader.
//
// Fields in file order (what the writer puts / what the reader demands):
//    1 signature       string  "[Tarlowmede Sorbyle]" / that exactly, or "[Tarlowmede Software]"
//                              in any letter case, else status 3
//    2 reserved        int16   0 / a value above 0 gives status 5
//    3 product         string  "[Tarlowmede Razadove]" / 3 to 30 bytes in brackets, else 3;
//                              the name inside must be accepted (IsAcceptedProductName), else 6
//    4 writer version  uint16  major << 8 | minor (0x024B for 2.75) / kept
//    5 release kind    uint16  2 / kept (0 preview, 1 beta, 2 release)
//    6 reserved        uint16  0 / ignored
//    7 reserved text   string  "N/A" / ignored
//    8 file code       string  22 letters of the 64-letter digest text / at most 63 kept
//    9 date            uint16  DOS date layout / kept
//   10 code page       int32   the ANSI code page / kept; the ANSI code page below version 25
//   11 reserved        uint16  0 / ignored
//   12 format version  uint16  36 / 37 and above give status 4; 35 and 36 carry score text,
//                              below 35 the older binary layout
// Strings are read at most 127 bytes long; longer ones are consumed up to their zero byte.
// A header cut short by the end of the data is no score file (status 3).

#include <cstdint>
#include <string>

#include "notation/files/score_load_result.h"

namespace kvt {

class TKRVStream;
class TMusicScore;

inline constexpr int kScoreFormatVersion = 36;
inline constexpr int kFirstTextBodyVersion = 35;
inline constexpr int kFirstRefusedVersion = 37;
// Versions from this one on are loaded with status 1, below it with status 2.
inline constexpr int kFirstCurrentLoadVersion = 33;
// Below this version the header's code page is replaced by the ANSI code page.
inline constexpr int kFirstHeaderCodePageVersion = 25;
inline constexpr int kScoreWriterVersion = 0x024B;  // 2.75
inline constexpr int kScoreReleaseKind = 2;
inline constexpr int kAnsiCodePage = 1252;

inline constexpr char kScoreSignature[] = "[Tarlowmede Sorbyle]";
inline constexpr char kScoreSignatureOther[] = "[Tarlowmede Software]";
inline constexpr char kScoreProductField[] = "[Tarlowmede Razadove]";
inline constexpr char kScoreReservedText[] = "N/A";

inline constexpr int kHeaderStringMaxBytes = 127;
inline constexpr int kFileCodeMaxChars = 63;

// The header record kept in memory while and after a file is read.
struct TScoreFileHeader {
  std::string productName;  // at most 127 bytes
  int formatVersion = 0;
  int writerVersion = 0;
  int releaseKind = 0;
  uint16_t date = 0;
  int32_t codePage = kAnsiCodePage;
  std::string fileCode;  // at most 63 characters
  TLoadStatus status = TLoadStatus::kNotScore;
  // Values a reader found outside their ranges and bounded or dropped (the older layout's
  // readers count them); a load that found any reports status 7.
  int dataFaults = 0;
  // The score under construction (the older layout chooses code pages by its fonts); not owned.
  TMusicScore* score = nullptr;

  // Everything back to the defaults above (status 3).
  void Reset() { *this = TScoreFileHeader(); }
  // "%d.%d" of the writer version's high and low byte ("2.75" for 0x024B).
  std::string GetWriterVersionText() const;
};

// What a writer puts into fields 4, 5, 8, 9, 10 and 12; the other fields are fixed.
struct TScoreHeaderFields {
  int writerVersion = kScoreWriterVersion;
  int releaseKind = kScoreReleaseKind;
  std::string fileCode;
  uint16_t date = 0;
  int32_t codePage = kAnsiCodePage;
  int formatVersion = kScoreFormatVersion;
};

// Writes fields 1 to 12. Errors stay in the stream's flags.
void WriteScoreHeader(TKRVStream& stream, const TScoreHeaderFields& fields);

// Reads and checks fields 1 to 12 into the header and sets its status: on success 1 (format
// version 33 and above) or 2 (below), else 3 to 6 as listed above. True when the body may be
// read.
bool ReadScoreHeader(TKRVStream& stream, TScoreFileHeader& header);

// The product names a file may carry: "Tarlowmede Razadove" (also spelled
// "Tarlowmede Vezeroza") or "Tarlowmede"; letter case counts.
bool IsAcceptedProductName(const std::string& name);

// True when the file's first zero-terminated string (at most 127 bytes) is one of
// "[Tarlowmede Software]", "[Tarlowmede]", "[Tarlowmede Sorbyle]" or "[KVZ]" (letter case
// counts). False when the file cannot be read.
bool IsBinaryScoreFile(const char* path);

// The 22-letter file code of field 8: the 64-letter digest text of the MD5 digest of the
// score's title, author, date and staff names. Readers never check it.
std::string MakeScoreFileCode(const TMusicScore& score);

}  // namespace kvt
