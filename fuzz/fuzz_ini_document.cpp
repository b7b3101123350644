// The ini reader on any bytes: parsing never fails, what it writes back reads back the same,
// and the value readers above it stay within their bounds.
#include "utils/ini_document.h"
#include "utils/profile_hex.h"
#include "utils/profile_text.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  kvt::TIniDocument doc = kvt::TIniDocument::Parse(text);
  std::string written = doc.ToText();
  kvt::TIniDocument again = kvt::TIniDocument::Parse(written);
  if (again.ToText() != written) std::abort();

  std::vector<std::string> names = doc.SectionNames();
  names.insert(names.begin(), "");
  for (const std::string& section : names) {
    for (const auto& [key, value] : doc.Entries(section)) {
      auto found = again.Find(section, key);
      if (!found || *found != value) std::abort();
      std::string_view stripped = kvt::StripProfileQuotes(value);
      kvt::ParseProfileDword(stripped);
      kvt::ParseProfileIntPrefix(stripped, 0);
      char buffer[9];
      kvt::CopyProfileText(buffer, sizeof buffer, stripped);
      uint8_t bytes[4];
      kvt::DecodeProfileHex(stripped, bytes, sizeof bytes);
    }
  }
  // A write into whatever the file holds must read back.
  if (doc.Set("Fuzz Section", "Fuzz Key", "value")) {
    kvt::TIniDocument updated = kvt::TIniDocument::Parse(doc.ToText());
    auto found = updated.Find("fuzz section", "fuzz key");
    if (!found || *found != "value") std::abort();
  }
  return 0;
}
