#pragma once
// Where a score window puts its two panes and the editing view in its client area.

#include <QRect>
#include <QSize>

namespace kvt {

struct TPaneMetrics {
  bool showLabelPanel = true;
  bool showLabels = true;
  bool showBarNumberPanel = true;
  int borderWidth = 1;       // the frame border width
  int editorLabelWidth = 0;  // the widest staff label the view measured
  int musicFontSize = 0;     // the view's music font size in pixels
};

struct TPaneLayout {
  QRect labels;
  QRect barNumbers;
  QRect editor;
};

// Label width: 0 with the label panel hidden, else the larger of 22 and (with labels shown)
// border + label width + font size. Bar-number height: 0 with that panel hidden, else border
// + 3 x font size. The labels pane takes the left column below the bar-number pane, the
// bar-number pane the top row right of the labels, the view the rest. Sizes never go below 0.
TPaneLayout ComputePaneLayout(QSize client, const TPaneMetrics& metrics);

}  // namespace kvt
