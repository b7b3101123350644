#pragma once
// TBalloonAlert: a balloon with an icon, a title and a text that points at a spot of an
// anchor window. It hides after its time-out (none when below 1 ms) or when clicked; a click
// on a balloon shown with a command id posts that command to the application's command table
// (it runs after the click, while the anchor still exists), then hides. Title and text are UTF-8
// shown as plain text, never as rich text. A balloon for a minimised anchor is not shown. The
// anchor must outlive a shown balloon; a destroyed anchor hides it.

#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <string_view>

namespace kvt {

class TBalloonAlert : public QWidget {
public:
  enum Icon { kIconNone = 0, kIconInformation = 1, kIconWarning = 2, kIconError = 3 };

  explicit TBalloonAlert(QWidget* parent = nullptr);

  void SetTimeout(int milliseconds) { timeout = milliseconds < 1 ? 0 : milliseconds; }
  bool IsShowing() const { return anchor != nullptr; }
  // x, y in the anchor's coordinates. A null or empty title shows none.
  void Show(QWidget* anchor, int x, int y, std::string_view text, int icon,
            std::string_view title = {}, int command = 0);
  void Hide();

  QString TitleText() const { return title->text(); }
  QString BodyText() const { return body->text(); }
  int Command() const { return command; }
  int MaxTextWidth() const { return body->maximumWidth(); }

protected:
  void mousePressEvent(QMouseEvent* event) override;

private:
  QPointer<QWidget> anchor;
  int command = 0;
  int timeout = 0;
  QTimer timer;
  QLabel* iconLabel;
  QLabel* title;
  QLabel* body;
};

}  // namespace kvt
