#pragma once
// TClipboardService: the clipboard as the editing view's cut, copy, copy special and paste see
// it. The program's clip is the gzip-compressed clip text of its last copy; the service keeps
// that stored clip and offers it on the clipboard, where other formats are built from it only
// when a program asks. While the program's own offer is still on the clipboard, paste reads the
// stored clip instead of the clipboard.
//
// Formats are MIME names (platform/clipboard_stream.h). TMemoryClipboard is an in-memory
// clipboard for tests and headless runs; the program's service over the system clipboard lives
// in the shell. UI thread only.

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvt {

// The answer of the "Copy How Much" question of Copy Special.
enum class TCopyHowMuch { kCancel, kActiveStaff, kAllStaves };

class TClipboardService {
public:
  virtual ~TClipboardService() = default;

  // Makes the compressed clip the program's stored clip and offers it on the clipboard in the
  // score format and as UTF-8 text. False when the clipboard did not take it.
  virtual bool OfferClip(std::vector<uint8_t> compressedClip) = 0;
  // The clip of the program's last copy (empty before the first).
  virtual const std::vector<uint8_t>& StoredClip() const = 0;
  // The program's own offer is what the clipboard holds now.
  virtual bool OwnsClipboard() const = 0;
  virtual bool HasFormat(std::string_view mimeType) const = 0;
  // The clipboard's bytes in the format (text as UTF-8); nothing when it lacks the format.
  virtual std::optional<std::vector<uint8_t>> ReadFormat(std::string_view mimeType) const = 0;
  // Puts a picture on the clipboard as "image/svg+xml" with its "image/png"; false when it
  // could not be placed.
  virtual bool OfferPicture(const std::vector<uint8_t>& svg, const std::vector<uint8_t>& png) = 0;

  // --- the dialog side
  // Copy Special's "Copy How Much" question: just the active staff (the default) or all open
  // staves.
  virtual TCopyHowMuch AskCopyHowMuch() = 0;
};

// The clipboard in memory: a map of formats. OfferClip owns it with the clip and its text;
// SetFormat, as another program would, ends the ownership. Tests read and change it freely.
class TMemoryClipboard : public TClipboardService {
public:
  bool OfferClip(std::vector<uint8_t> compressedClip) override;
  const std::vector<uint8_t>& StoredClip() const override { return stored; }
  bool OwnsClipboard() const override { return owned; }
  bool HasFormat(std::string_view mimeType) const override;
  std::optional<std::vector<uint8_t>> ReadFormat(std::string_view mimeType) const override;
  bool OfferPicture(const std::vector<uint8_t>& svg, const std::vector<uint8_t>& png) override;
  TCopyHowMuch AskCopyHowMuch() override {
    ++questions;
    return howMuch;
  }

  // Another program's data: replaces the clipboard's formats with this one.
  void SetFormat(std::string_view mimeType, std::vector<uint8_t> bytes);
  // Changes one format and keeps the rest and the ownership (a rendering that differs).
  void ReplaceFormat(std::string_view mimeType, std::vector<uint8_t> bytes);
  void Empty();

  std::map<std::string, std::vector<uint8_t>, std::less<>> formats;
  std::vector<uint8_t> stored;
  bool owned = false;
  bool accepts = true;  // false: the clipboard refuses every offer
  TCopyHowMuch howMuch = TCopyHowMuch::kActiveStaff;
  int questions = 0;
  // Format reads, by format, so tests see what a paste looked at.
  mutable std::map<std::string, int, std::less<>> reads;
};

}  // namespace kvt
