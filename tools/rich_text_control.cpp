#include "tools/rich_text_control.h"

#include <QDesktopServices>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QTextCursor>
#include <string>

#include "utils/stream.h"
#include "utils/text_encoding.h"

namespace kvt {

QString PlainTextWithLinks(const QString& text) {
  static const QRegularExpression address(QStringLiteral(R"(\bhttps?://[^\s<>"]+)"),
                                          QRegularExpression::CaseInsensitiveOption);
  QString html = QStringLiteral("<pre style=\"white-space: pre-wrap; font-family: inherit\">");
  qsizetype from = 0;
  for (auto it = address.globalMatch(text); it.hasNext();) {
    const QRegularExpressionMatch match = it.next();
    html += text.mid(from, match.capturedStart() - from).toHtmlEscaped();
    const QString url = match.captured().toHtmlEscaped();
    html += QStringLiteral("<a href=\"%1\">%1</a>").arg(url);
    from = match.capturedEnd();
  }
  html += text.mid(from).toHtmlEscaped();
  html += QStringLiteral("</pre>");
  return html;
}

TKVRTFControl::TKVRTFControl(QWidget* parent, bool withDialogKeys)
    : QTextBrowser(parent), dialogKeys(withDialogKeys) {
  setOpenLinks(false);
  setAcceptRichText(false);
  connect(this, &QTextBrowser::anchorClicked, this, &TKVRTFControl::OpenLink);
}

bool TKVRTFControl::IsOpenableLink(const QUrl& url) {
  const QString scheme = url.scheme().toLower();
  return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

void TKVRTFControl::OpenLink(const QUrl& url) {
  if (IsOpenableLink(url)) QDesktopServices::openUrl(url);
}

bool TKVRTFControl::StreamIn(TKRVStream& stream, int format) {
  if (format == kFormatRtf) return false;
  std::string bytes;
  char chunk[4096];
  while (bytes.size() < kMaxStreamBytes) {
    const int want = static_cast<int>(std::min(sizeof chunk, kMaxStreamBytes - bytes.size()));
    const int got = stream.Read(chunk, want);
    if (got <= 0) break;
    bytes.append(chunk, static_cast<size_t>(got));
    if (got < want) break;
  }
  // A cut may split the last character; drop its start rather than show a replacement.
  if (bytes.size() >= kMaxStreamBytes) bytes.resize(Utf8CompleteLength(bytes));
  const std::u16string text = Utf8ToUtf16(bytes);
  ShowText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
  return true;
}

bool TKVRTFControl::StreamOut(TKRVStream& stream, int format) {
  if (format == kFormatRtf) return false;
  const QByteArray utf8 = toPlainText().toUtf8();
  stream.Write(utf8.constData(), static_cast<int>(utf8.size()));
  return !stream.IsError();
}

void TKVRTFControl::ShowText(const QString& text) {
  if (detectUrls)
    setHtml(PlainTextWithLinks(text));
  else
    setPlainText(text);
}

void TKVRTFControl::AutoUrlDetect(bool on) {
  if (detectUrls == on) return;
  detectUrls = on;
  ShowText(toPlainText());
}

void TKVRTFControl::GetSelection(int& start, int& end) const {
  const QTextCursor cursor = textCursor();
  start = cursor.selectionStart();
  end = cursor.selectionEnd();
}

bool TKVRTFControl::SetSelection(int start, int end) {
  QTextCursor cursor(document());
  const int last = cursor.document()->characterCount() - 1;
  // -1 as the end (or any end past the text) reaches the end of the text.
  const int to = end < 0 || end > last ? last : end;
  cursor.setPosition(std::clamp(start, 0, last));
  cursor.setPosition(to, QTextCursor::KeepAnchor);
  setTextCursor(cursor);
  return true;
}

void TKVRTFControl::SetCourierFont() {
  QFont courier(QStringLiteral("Courier New"));
  courier.setStyleHint(QFont::TypeWriter);
  courier.setFixedPitch(true);
  document()->setDefaultFont(courier);
}

void TKVRTFControl::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if (dialogKeys && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) &&
      !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    event->ignore();
    return;
  }
  QTextBrowser::keyPressEvent(event);
}

void TKVRTFControl::focusInEvent(QFocusEvent* event) {
  // Tabbing in keeps the caret where it was instead of selecting everything.
  QFocusEvent adjusted(event->type(), dialogKeys ? Qt::OtherFocusReason : event->reason());
  QTextBrowser::focusInEvent(&adjusted);
}

}  // namespace kvt
