#include "app/shell/clip_mime_data.h"

#include <QClipboard>
#include <QGuiApplication>

#include "platform/clipboard_stream.h"
#include "utils/flat_ram_stream.h"
#include "utils/zlib_in_stream.h"

namespace kvt {

namespace {

QString FormatName(std::string_view name) {
  return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

TClipMimeData::TClipMimeData(std::vector<uint8_t> compressedClip)
    : clip(std::move(compressedClip)) {}

QStringList TClipMimeData::formats() const {
  return {FormatName(kClipboardFormatScore), FormatName(kClipboardFormatText)};
}

bool TClipMimeData::hasFormat(const QString& mimeType) const {
  return formats().contains(mimeType);
}

QByteArray TClipMimeData::ClipText() const {
  if (clip.empty()) return {};
  TKRVFlatRamStream packed(const_cast<uint8_t*>(clip.data()), static_cast<int>(clip.size()),
                           static_cast<int>(clip.size()));
  TKRVZLibInStream text(TKRVZLibInStream::kModeGzip, &packed);
  QByteArray out;
  char block[TKRVZLibInStream::kBlockSize];
  for (;;) {
    const int n = text.Read(block, sizeof block);
    if (n > 0) out.append(block, n);
    if (n < static_cast<int>(sizeof block)) break;
  }
  if (text.IsFailed()) return {};
  return out;
}

QVariant TClipMimeData::retrieveData(const QString& mimeType, QMetaType) const {
  if (mimeType == FormatName(kClipboardFormatScore))
    return QByteArray(reinterpret_cast<const char*>(clip.data()),
                      static_cast<qsizetype>(clip.size()));
  if (mimeType == FormatName(kClipboardFormatText)) return ClipText();
  return {};
}

bool OfferClipboardData(std::vector<uint8_t> compressedClip) {
  if (compressedClip.empty() || QGuiApplication::clipboard() == nullptr) return false;
  QGuiApplication::clipboard()->setMimeData(new TClipMimeData(std::move(compressedClip)));
  return true;
}

}  // namespace kvt
