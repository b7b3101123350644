#pragma once
// TSMFStream: what the Standard MIDI File reader and writer share: the file's format, track
// count and division, the current time in ticks, an error flag and a warning count.
//
// Error and Warning are the one place where problems are reported; derived classes override
// them to log. Error always sets the error flag (an override calls the base), Warning counts.

#include <cstdint>

namespace kvt {

// Meta event types used by the reader and the writer.
enum TSMFMetaType : int {
  kSMFMetaText = 0x01,
  kSMFMetaCopyright = 0x02,
  kSMFMetaTrackName = 0x03,
  kSMFMetaInstrumentName = 0x04,
  kSMFMetaLyric = 0x05,
  kSMFMetaPort = 0x21,
  kSMFMetaEndOfTrack = 0x2F,
  kSMFMetaTempo = 0x51,
  kSMFMetaTimeSignature = 0x58,
  kSMFMetaKeySignature = 0x59,
};

inline constexpr int kSMFDivision = 192;

class TSMFStream {
public:
  TSMFStream() = default;
  TSMFStream(const TSMFStream&) = delete;
  TSMFStream& operator=(const TSMFStream&) = delete;
  virtual ~TSMFStream() = default;

  // Sets the error flag. The base writes the text to the developer log.
  virtual void Error(const char* text);
  // Counts the warning. The base writes the text to the developer log.
  virtual void Warning(const char* text);

  int GetFormat() const { return format; }
  int GetTrackCount() const { return trackCount; }
  int GetDivision() const { return division; }
  uint32_t GetCurrentTime() const { return currentTime; }
  bool IsError() const { return errorFlag; }
  int GetWarningCount() const { return warningCount; }

protected:
  int format = 1;
  int trackCount = 0;
  int division = kSMFDivision;
  uint32_t currentTime = 0;
  bool errorFlag = false;
  int warningCount = 0;
};

}  // namespace kvt
