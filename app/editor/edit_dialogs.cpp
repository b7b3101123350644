#include "app/editor/edit_dialogs.h"

#include <algorithm>

#include "notation/files/text/item_text_copy.h"

namespace kvt {

namespace {
constexpr int kScreenMargin = 10;
}  // namespace

int KeySpellingSteps(int keyPreference) {
  switch (keyPreference) {
    case kKeyFavorFlats: return -1;
    case kKeyFavorSharps: return 1;
    default: return 0;
  }
}

QPoint PlaceRespellWarning(const QRect& screen, const QSize& dialog, const QRect& caret) {
  int x = screen.left() + (screen.width() - dialog.width()) / 2;
  const bool caretInLowerHalf = caret.center().y() > screen.center().y();
  int y = caretInLowerHalf ? caret.top() - dialog.height() : caret.bottom() + 1;
  // The margins win over the caret: a dialog never leaves the screen.
  const int right = screen.right() + 1 - kScreenMargin - dialog.width();
  const int bottom = screen.bottom() + 1 - kScreenMargin - dialog.height();
  x = std::max(screen.left() + kScreenMargin, std::min(x, right));
  y = std::max(screen.top() + kScreenMargin, std::min(y, bottom));
  return {x, y};
}

const TNotatedItem* TInsertTemplates::Get(int kind) const {
  if (kind < 0 || kind >= kItemTypeCount) return nullptr;
  return items[static_cast<size_t>(kind)].get();
}

void TInsertTemplates::Keep(const TNotatedItem& item) {
  const int kind = item.GetType();
  if (kind < 0 || kind >= kItemTypeCount) return;
  items[static_cast<size_t>(kind)] = CloneItem(item);
}

}  // namespace kvt
