#pragma once
// TBitmapControl: a picture stretched to the control, or at its own size with the frame
// around it, inside an optional frame: 0 none, 1 a one-pixel frame, 2 a sunken and 3 a raised
// two-pixel frame. A null picture draws only the frame and the background.

#include <QImage>
#include <QWidget>

namespace kvt {

class TBitmapControl : public QWidget {
public:
  enum Border { kNoBorder = 0, kFrame = 1, kSunken = 2, kRaised = 3 };

  TBitmapControl(QWidget* parent, const QImage& picture, int border);

  // At own size the picture is not stretched and the frame lies around it.
  bool ownSize = false;

  const QImage& Picture() const { return picture; }

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  QImage picture;
  int border;
};

}  // namespace kvt
