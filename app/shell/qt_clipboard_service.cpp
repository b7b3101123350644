#include "app/shell/qt_clipboard_service.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "app/editor/copy_how_much_dialog.h"
#include "app/shell/clip_mime_data.h"
#include "platform/clipboard_stream.h"
#include "print/page_picture.h"

namespace kvt {

namespace {

const QMimeData* ClipboardData() {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return nullptr;
  return QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
}

QByteArray ToByteArray(const std::vector<uint8_t>& bytes) {
  return QByteArray(reinterpret_cast<const char*>(bytes.data()),
                    static_cast<qsizetype>(bytes.size()));
}

}  // namespace

bool TQtClipboardService::OfferClip(std::vector<uint8_t> compressedClip) {
  if (compressedClip.empty()) return false;
  stored = compressedClip;
  return OfferClipboardData(std::move(compressedClip)) && OwnsClipboard();
}

bool TQtClipboardService::OwnsClipboard() const {
  const auto* ours = dynamic_cast<const TClipMimeData*>(ClipboardData());
  return ours != nullptr && ours->Clip() == stored;
}

bool TQtClipboardService::HasFormat(std::string_view mimeType) const {
  const QMimeData* data = ClipboardData();
  if (data == nullptr) return false;
  if (mimeType == kClipboardFormatText) return data->hasText();
  return data->hasFormat(
      QString::fromLatin1(mimeType.data(), static_cast<qsizetype>(mimeType.size())));
}

std::optional<std::vector<uint8_t>> TQtClipboardService::ReadFormat(
    std::string_view mimeType) const {
  TKRVClipbrdStream stream(mimeType);
  if (stream.IsFailed()) return std::nullopt;
  std::vector<uint8_t> bytes(static_cast<size_t>(stream.Size()));
  stream.Rewind();
  if (!bytes.empty() &&
      stream.Read(bytes.data(), static_cast<int>(bytes.size())) != static_cast<int>(bytes.size()))
    return std::nullopt;
  return bytes;
}

bool TQtClipboardService::OfferPicture(const std::vector<uint8_t>& svg,
                                       const std::vector<uint8_t>& png) {
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return false;
  return PlacePictureOnClipboard(ToByteArray(svg), ToByteArray(png));
}

TCopyHowMuch TQtClipboardService::AskCopyHowMuch() { return kvt::AskCopyHowMuch(owner); }

}  // namespace kvt
