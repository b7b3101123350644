// Dates, yes/no values, real numbers and command lines are read from texts that users, scripts
// and settings supply: any bytes must parse without fault, a date read must lie in the packed
// range, and its text form 0 must read back as the same date.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "utils/char_class.h"
#include "utils/command_line.h"
#include "utils/date.h"
#include "utils/variant.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const char* p = text.c_str();
  for (int form = 0; form <= 5; ++form) {
    kvt::TKVDate date;
    if (!date.Parse(p, form)) continue;
    if (date.GetYear() < kvt::TKVDate::kFirstYear || date.GetYear() > kvt::TKVDate::kLastYear) std::abort();
    char buffer[16];
    kvt::TKVDate again;
    if (!again.Parse(date.ToText(buffer, sizeof buffer, 0), 0) || again != date) std::abort();
  }
  kvt::TKVVariant value;
  value.SetDateFromText(p);
  value.SetBoolFromText(p);
  value.SetRealFromText(p);
  char narrow[40];
  char16_t wide[40];
  value.GetText(narrow, sizeof narrow);
  value.GetWideText(wide, 40);
  kvt::IsNumberText(p, true);
  const kvt::TCommandLine line(p);
  if (line.GetCount() > kvt::TCommandLine::kMaxArguments) std::abort();
  return 0;
}
