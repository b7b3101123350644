#pragma once
// The "Editor Zoom" dialog of command 50: a list of the 25 zoom levels 2, 4 ... 50, each shown
// with its percentage of the music font's normal size on the screen; the level of the current
// zoom (value / 2, rounded down) is preselected.

#include "tools/kv_dlg_base.h"

class QListWidget;

namespace kvt {

class TZoomDialog : public TKVDlgBase {
public:
  static constexpr int32_t kLevelListId = 101;

  // normalSize: the music font's normal size on the screen (the 100 % zoom).
  TZoomDialog(QWidget* parent, int zoom, int normalSize);
  // The zoom of the chosen level (always even, 2..50).
  int ChosenZoom() const;
  QListWidget& Levels() const { return *levels; }

private:
  QListWidget* levels;
};

}  // namespace kvt
