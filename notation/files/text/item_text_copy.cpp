#include "notation/files/text/item_text_copy.h"

#include <string>

#include "notation/files/text/score_text_format.h"
#include "notation/files/text/score_text_item_reader.h"
#include "notation/files/text/score_text_writer.h"

namespace kvt {

std::unique_ptr<TNotatedItem> CloneItem(const TNotatedItem& item) {
  // The whole line goes back in: the item loader's limit on line length is for lines from
  // files, not for copies of items that hold long texts.
  TKVTFindTextImporter importer;
  return importer.ReadItemLine(FormatItemLine(item, kTextModeLone), kScoreTextVersion);
}

int CompareItems(const TNotatedItem& a, const TNotatedItem& b) {
  const int order = FormatItemLine(a, kTextModeLone).compare(FormatItemLine(b, kTextModeLone));
  return order < 0 ? -1 : order > 0 ? 1 : 0;
}

}  // namespace kvt
