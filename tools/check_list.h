#pragma once
// TKRVMultiSelListBox: a multiple-selection list drawn as a check list. Each row has a small
// 3D box that shows a cross when the row is selected; the highlight colours mark only the row
// with the focus. Row texts are plain text; a row shows at most 511 characters.

#include <QListWidget>

namespace kvt {

class TKRVMultiSelListBox : public QListWidget {
public:
  explicit TKRVMultiSelListBox(QWidget* parent);
};

}  // namespace kvt
