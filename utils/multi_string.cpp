#include "utils/multi_string.h"

#include <cstring>

#include "utils/multi_field.h"
#include "utils/text_case.h"

namespace kvt {

int CountFields(const char* text, char separator) { return CountFieldsOf(text, separator); }

const char* GetMultiStringItem(const char* list, int n) {
  if (!list || n <= 0) return list;
  const char* p = list;
  for (int i = 0; i < n; ++i) {
    p += std::strlen(p) + 1;
    if (!*p) return list;
  }
  return p;
}

int FindMultiStringItem(const char* list, const char* text, bool ignoreCase, int notFound) {
  if (!list) return notFound;
  int index = 0;
  for (const char* p = list; *p; p += std::strlen(p) + 1, ++index) {
    if (TextEquals(p, text, ignoreCase)) return index;
  }
  return notFound;
}

int FindStringInArray(const char* const* array, const char* text, bool ignoreCase, int notFound) {
  if (!array) return notFound;
  for (int i = 0; array[i]; ++i) {
    if (TextEquals(array[i], text, ignoreCase)) return i;
  }
  return notFound;
}

}  // namespace kvt
