#pragma once
// TGauge: the progress bar of the long-task dialog. Values outside the range are clamped (a
// plain QProgressBar ignores them); setting the value it already shows repaints nothing. In
// segmented ("LED") mode the filled part is drawn as blocks: each block as tall as the bar
// less its margin, as wide as thicknessPercent of that height, spacing pixels apart.

#include <QProgressBar>

namespace kvt {

class TGauge : public QProgressBar {
public:
  TGauge(QWidget* parent, int margin);

  void SetRange(int maximum);
  void SetValue(int value);
  void SetLed(int spacing, int thicknessPercent);
  bool IsLed() const { return ledSpacing > 0 || ledThickness > 0; }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  int margin;
  int ledSpacing = 0;
  int ledThickness = 0;
};

}  // namespace kvt
