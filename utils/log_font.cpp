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
