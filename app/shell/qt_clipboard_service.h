#pragma once
// TQtClipboardService: the editing views' clipboard over QClipboard. The stored clip goes on
// the clipboard as a TClipMimeData, which builds the text format only when a program asks; the
// program owns the clipboard while the clipboard's data is that offer. Pictures go through the
// page-picture clipboard of print/. The "Copy How Much" question is the Copy Special dialog
// over the owner window.
//
// UI thread only; needs a QGuiApplication.

#include <QPointer>
#include <QWidget>

#include "app/editor/clipboard_service.h"

namespace kvt {

class TQtClipboardService final : public TClipboardService {
public:
  explicit TQtClipboardService(QWidget* owner) : owner(owner) {}

  bool OfferClip(std::vector<uint8_t> compressedClip) override;
  const std::vector<uint8_t>& StoredClip() const override { return stored; }
  bool OwnsClipboard() const override;
  bool HasFormat(std::string_view mimeType) const override;
  std::optional<std::vector<uint8_t>> ReadFormat(std::string_view mimeType) const override;
  bool OfferPicture(const std::vector<uint8_t>& svg, const std::vector<uint8_t>& png) override;
  TCopyHowMuch AskCopyHowMuch() override;

private:
  QPointer<QWidget> owner;
  std::vector<uint8_t> stored;
};

}  // namespace kvt
