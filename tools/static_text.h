#pragma once
// TKRVStatic: a static text that shows UTF-8 text, always as plain text. At set-up it can show
// a stored text, or only the file name (without folder and extension) of a stored path; with
// text transfer on, the dialog's transfer sets its text.

#include <QLabel>

#include <optional>
#include <string>
#include <string_view>

namespace kvt {

class TKRVStatic : public QLabel {
public:
  enum InitialMode { kShowText = 0, kShowFileName = 1 };

  explicit TKRVStatic(QWidget* parent, std::string_view title = {});

  void SetText(std::string_view utf8);
  // printf-style into 256 bytes; a longer result is cut on a character boundary.
  void SetTextf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Shown by SetupWindow; modes other than kShowText and kShowFileName show nothing.
  void SetInitialText(std::string_view utf8, int mode);
  void EnableTextTransfer() { textTransfer = true; }
  void SetupWindow();
  // With text transfer on, sets the window text from the transfer's text; otherwise nothing.
  void TransferSet(std::string_view utf8);

private:
  std::optional<std::string> initialText;
  int initialMode = kShowText;
  bool textTransfer = false;
};

}  // namespace kvt
