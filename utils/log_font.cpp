#include "utils/log_font.h"

#include <cstring>
#include <string>

#include "utils/text_encoding.h"

namespace kvt {

namespace {
template <typename To, typename From>
void CopyNumbers(To& out, const From& in) {
  out.height = in.height;
  out.width = in.width;
  out.escapement = in.escapement;
  out.orientation = in.orientation;
  out.weight = in.weight;
  out.italic = in.italic;
  out.underline = in.underline;
  out.strikeOut = in.strikeOut;
  out.charSet = in.charSet;
  out.outPrecision = in.outPrecision;
  out.clipPrecision = in.clipPrecision;
  out.quality = in.quality;
  out.pitchAndFamily = in.pitchAndFamily;
}
}  // namespace

int CodePageOfCharSet(int charSet, int fallback) {
  switch (charSet) {
    case 2: return 1252;
    case 128: return 932;
    case 129: return 949;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    default: return fallback;
  }
}

void LogFontToWide(TLogFontW& out, const TLogFont& in) {
  CopyNumbers(out, in);
  std::u16string face = Utf8ToUtf16(std::string_view(in.faceName, strnlen(in.faceName, kLogFontFaceSize)));
  size_t keep = Utf16PrefixLength(face, kLogFontFaceSize - 1);
  std::memset(out.faceName, 0, sizeof out.faceName);
  face.copy(out.faceName, keep);
  out.charSet = kDefaultCharSet;
}

void LogFontFromWide(TLogFont& out, const TLogFontW& in) {
  CopyNumbers(out, in);
  size_t units = 0;
  while (units < kLogFontFaceSize && in.faceName[units] != 0) ++units;
  std::string face = Utf16ToUtf8(std::u16string_view(in.faceName, units));
  size_t keep = Utf8PrefixLength(face, kLogFontFaceSize - 1);
  std::memset(out.faceName, 0, sizeof out.faceName);
  face.copy(out.faceName, keep);
}

}  // namespace kvt
