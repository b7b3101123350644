#pragma once
// The "Copy Printed Page Graphic" dialog (591): "Copy to" the clipboard (101, preselected) or
// a picture file (102).

#include "tools/kv_dlg_base.h"

#include <cstdint>

class QRadioButton;

namespace kvt {

inline constexpr int32_t kCopyPageDlgId = 591;
inline constexpr int32_t kCopyToClipboardId = 101;
inline constexpr int32_t kCopyToFileId = 102;

class TPreviewCopyDialog : public TKVDlgBase {
public:
  explicit TPreviewCopyDialog(QWidget* parent);
  bool ToFile() const;
  QRadioButton* FileChoice() const { return toFile; }

private:
  QRadioButton* toClipboard;
  QRadioButton* toFile;
};

}  // namespace kvt
