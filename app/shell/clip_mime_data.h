#pragma once
// TClipMimeData: the clip the editor last copied, as the clipboard offers it. It holds only the
// compressed clip ("kvttxt/gzip", exactly as the copy wrote it) and builds each other format
// when a program asks for it: "text/plain" is the decompressed clip text (UTF-8). Nothing is
// decompressed for a paste that never happens.

#include <QMimeData>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

namespace kvt {

class TClipMimeData final : public QMimeData {
public:
  explicit TClipMimeData(std::vector<uint8_t> compressedClip);

  QStringList formats() const override;
  bool hasFormat(const QString& mimeType) const override;

  // The clip text, decompressed; empty when the clip is damaged.
  QByteArray ClipText() const;
  // The compressed clip as offered.
  const std::vector<uint8_t>& Clip() const { return clip; }

protected:
  QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
  std::vector<uint8_t> clip;
};

// Puts a TClipMimeData of the clip on the system clipboard; false (nothing offered) for an
// empty clip or without a clipboard.
bool OfferClipboardData(std::vector<uint8_t> compressedClip);

}  // namespace kvt
