#pragma once
// Geometry and drawing of one tree entry, shared by the tree list and the tree combo box:
// the indentation (one step per level, the last one holding the plus/minus box), the item's
// image from the image strip, then its text.

#include <QPixmap>
#include <QRect>

class QPainter;
class QStyleOptionViewItem;

namespace kvt {

class TKVTreeItem;

// Hit codes of a point in a tree entry.
inline constexpr int kTreeHitNoEntry = 0;
inline constexpr int kTreeHitOutside = 1;
inline constexpr int kTreeHitButton = 256;
inline constexpr int kTreeHitImage = 512;
inline constexpr int kTreeHitText = 1024;
inline constexpr int kTreeHitIndent = 2048;

struct TTreeEntryLook {
  QPixmap images;  // the image strip: images side by side, imageWidth pixels each
  int imageWidth = 16;
  int indent = 16;      // pixels per level
  bool lines = true;    // dotted connector lines
  bool buttons = true;  // plus/minus boxes on items with children
};

// The image strip as the entries draw it: the colour of its bottom-left pixel is transparent.
QPixmap MakeTreeImages(const QPixmap& strip);

// The part of the entry (rect, in the view's coordinates) that x falls on; the text counts
// up to the item's cached width plus 4.
int TreeEntryHit(const TTreeEntryLook& look, const TKVTreeItem& item, const QRect& rect, int x);
// The rectangle of the text (cached width plus 4) in an entry.
QRect TreeEntryTextRect(const TTreeEntryLook& look, const TKVTreeItem& item, const QRect& rect);
// Draws the entry; measures and caches the item's text width when it is not known yet.
void PaintTreeEntry(QPainter& painter, const QStyleOptionViewItem& option,
                    const TTreeEntryLook& look, TKVTreeItem& item);

}  // namespace kvt
