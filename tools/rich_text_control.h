#pragma once
// TKVRTFControl: the text control of dialogs that show or edit longer texts (script text in a
// fixed-pitch face among them), on QTextBrowser. Content moves in and out through byte
// streams as plain UTF-8: invalid bytes become U+FFFD and at most kMaxStreamBytes are read.
// The RTF format is refused (nothing is read or written), so no text is ever taken as markup.
// With address detection on, http and https addresses in the text become links; only such
// links are opened (in the user's browser), never other schemes.
//
// A control bound into a dialog (withDialogKeys) leaves Enter and Escape to the dialog, so
// they trigger its default button and Cancel, and keeps its text unselected when tabbed into.

#include <QTextBrowser>
#include <QUrl>
#include <cstddef>

namespace kvt {

class TKRVStream;

class TKVRTFControl : public QTextBrowser {
public:
  static constexpr int kFormatRtf = 1;
  static constexpr int kFormatText = 2;
  static constexpr size_t kMaxStreamBytes = 8 * 1024 * 1024;

  TKVRTFControl(QWidget* parent, bool withDialogKeys);

  // Replaces the content from the stream's current position; false (content unchanged) for
  // the RTF format.
  bool StreamIn(TKRVStream& stream, int format);
  // Writes the content as UTF-8; false (nothing written) for the RTF format.
  bool StreamOut(TKRVStream& stream, int format);

  void AutoUrlDetect(bool on);
  bool DetectsUrls() const { return detectUrls; }
  void GetSelection(int& start, int& end) const;
  bool SetSelection(int start, int end);
  // The default face becomes a fixed-pitch one ("Courier New" or what fontconfig gives for it).
  void SetCourierFont();

  // Whether a link may be opened: http and https addresses only.
  static bool IsOpenableLink(const QUrl& url);

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

private:
  void ShowText(const QString& text);
  void OpenLink(const QUrl& url);

  bool dialogKeys;
  bool detectUrls = false;
};

// The plain text as HTML with its http and https addresses as links (everything else escaped).
QString PlainTextWithLinks(const QString& text);

}  // namespace kvt
