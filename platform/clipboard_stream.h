#pragma once
// TKRVClipbrdStream: a read-only stream over a copy of the clipboard's data in one format.
// Clipboard formats are MIME names. Use it on the GUI thread of a running QGuiApplication.

#include <string_view>

#include "utils/flat_ram_stream.h"

namespace kvt {

// The clipboard formats the program exchanges.
inline constexpr std::string_view kClipboardFormatScore = "kvttxt/gzip";
inline constexpr std::string_view kClipboardFormatText = "text/plain";  // UTF-8
inline constexpr std::string_view kClipboardFormatMidi = "audio/midi";

class TKRVClipbrdStream : public TKRVFlatRamStream {
public:
  // Copies the clipboard's data in `mimeType`. Plain text ("text/plain", with or without
  // parameters) is taken as UTF-8 and ends at its first zero byte; other formats keep every
  // byte. When the format is absent, or no QGuiApplication runs, the stream is empty with
  // IsFailed set. Writing always fails.
  explicit TKRVClipbrdStream(std::string_view mimeType);
};

}  // namespace kvt
