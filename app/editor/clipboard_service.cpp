#include "app/editor/clipboard_service.h"

#include "notation/files/text/clip_exchange.h"
#include "platform/clipboard_stream.h"
#include "print/page_picture.h"

namespace kvt {

bool TMemoryClipboard::OfferClip(std::vector<uint8_t> compressedClip) {
  if (!accepts || compressedClip.empty()) return false;
  Empty();
  // The text is what a program asking for text would get: the clip decompressed.
  std::optional<std::vector<uint8_t>> text = DecompressPastedClip(compressedClip);
  formats[std::string(kClipboardFormatScore)] = compressedClip;
  if (text) formats[std::string(kClipboardFormatText)] = std::move(*text);
  stored = std::move(compressedClip);
  owned = true;
  return true;
}

bool TMemoryClipboard::HasFormat(std::string_view mimeType) const {
  return formats.find(mimeType) != formats.end();
}

std::optional<std::vector<uint8_t>> TMemoryClipboard::ReadFormat(std::string_view mimeType) const {
  ++reads[std::string(mimeType)];
  const auto it = formats.find(mimeType);
  if (it == formats.end()) return std::nullopt;
  return it->second;
}

bool TMemoryClipboard::OfferPicture(const std::vector<uint8_t>& svg,
                                    const std::vector<uint8_t>& png) {
  if (!accepts) return false;
  Empty();
  formats[kPictureSvgFormat] = svg;
  formats[kPicturePngFormat] = png;
  return true;
}

void TMemoryClipboard::SetFormat(std::string_view mimeType, std::vector<uint8_t> bytes) {
  Empty();
  formats[std::string(mimeType)] = std::move(bytes);
}

void TMemoryClipboard::ReplaceFormat(std::string_view mimeType, std::vector<uint8_t> bytes) {
  formats[std::string(mimeType)] = std::move(bytes);
}

void TMemoryClipboard::Empty() {
  formats.clear();
  owned = false;
}

}  // namespace kvt
