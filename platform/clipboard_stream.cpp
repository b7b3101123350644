#include "platform/clipboard_stream.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace kvt {
namespace {

bool IsPlainText(std::string_view mimeType) {
  std::string_view plain = kClipboardFormatText;
  if (mimeType.substr(0, plain.size()) != plain) return false;
  return mimeType.size() == plain.size() || mimeType[plain.size()] == ';';
}

}  // namespace

TKRVClipbrdStream::TKRVClipbrdStream(std::string_view mimeType) {
  AdoptReadOnly({}, 0);
  // Without a GUI application there is no clipboard to ask (the converter runs headless).
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
    SetFailed();
    return;
  }
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
  if (mime == nullptr) {
    SetFailed();
    return;
  }
  bool text = IsPlainText(mimeType);
  QByteArray data;
  if (text) {
    // text() also decodes text offered in another character set.
    if (!mime->hasText()) {
      SetFailed();
      return;
    }
    data = mime->text().toUtf8();
  } else {
    QString format = QString::fromUtf8(mimeType.data(), static_cast<qsizetype>(mimeType.size()));
    if (!mime->hasFormat(format)) {
      SetFailed();
      return;
    }
    data = mime->data(format);
  }
  if (static_cast<uint64_t>(data.size()) > kMaxStreamSize) {
    SetFailed();
    return;
  }
  std::vector<uint8_t> bytes(data.begin(), data.end());
  size_t dataSize = bytes.size();
  if (text)
    dataSize = static_cast<size_t>(std::find(bytes.begin(), bytes.end(), 0) - bytes.begin());
  AdoptReadOnly(std::move(bytes), static_cast<uint32_t>(dataSize));
}

}  // namespace kvt
