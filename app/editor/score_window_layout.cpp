#include "app/editor/score_window_layout.h"

#include <algorithm>

namespace kvt {

TPaneLayout ComputePaneLayout(QSize client, const TPaneMetrics& m) {
  int labelWidth = 0;
  if (m.showLabelPanel) {
    labelWidth = 22;
    if (m.showLabels)
      labelWidth = std::max(labelWidth, m.borderWidth + m.editorLabelWidth + m.musicFontSize);
  }
  const int barHeight = m.showBarNumberPanel ? m.borderWidth + 3 * m.musicFontSize : 0;
  const int width = std::max(client.width(), 0);
  const int height = std::max(client.height(), 0);
  const int restWidth = std::max(width - labelWidth, 0);
  const int restHeight = std::max(height - barHeight, 0);
  TPaneLayout layout;
  layout.labels = QRect(0, barHeight, labelWidth, restHeight);
  layout.barNumbers = QRect(labelWidth, 0, restWidth, barHeight);
  layout.editor = QRect(labelWidth, barHeight, restWidth, restHeight);
  return layout;
}

}  // namespace kvt
