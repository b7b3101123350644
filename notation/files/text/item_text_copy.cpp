#include "notation/files/text/item_text_copy.h"

#include <string>

#include "notation/files/text/score_text_item_reader.h"
#include "notation/files/text/score_text_writer.h"

namespace kvt {

std::unique_ptr<TNotatedItem> CloneItemByText(const TNotatedItem& item) {
  TKVTFindTextImporter importer;
  return importer.ReadItemLine(FormatItemLine(item, kTextModeLone), 0);
}

int CompareItemsByText(const TNotatedItem& a, const TNotatedItem& b) {
  const int order = FormatItemLine(a, kTextModeLone).compare(FormatItemLine(b, kTextModeLone));
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

}  // namespace kvt
