#pragma once
// TSMFData: the contents of a Standard MIDI File as the import reads it: the song texts, one
// TSMFTrackData per track (events rescaled to 192 ticks per quarter) and the system-exclusive
// data. TSMFImport (smf_import.h) fills it; the MIDI import turns it into staves.
//
// Texts are UTF-8 (texts of the file that are not UTF-8 were read as Windows-1252), cut on
// character boundaries.
//
// Text records (TSMFTrackData's text stream): {32-bit LE time; byte meta type; zero-terminated
// text}. System-exclusive records: {byte 0xF0 or 0xF7; 32-bit LE time; 16-bit LE length; the
// data bytes}.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "midi/events/midi_file_buf.h"
#include "utils/multi_field.h"
#include "utils/seg_ram_stream.h"

namespace kvt {

// Song text fields of TSMFData::GetTexts().
enum TSMFSongText : int {
  kSMFTitle = 0,
  kSMFAuthor = 1,
  kSMFCopyright1 = 2,
  kSMFCopyright2 = 3,
};
// Bytes of a song text, and of a track's name and instrument texts.
inline constexpr int kSMFSongTextBytes = 255;
inline constexpr int kSMFTrackTextBytes = 40;

// Kinds of NextText and HasTextAfterStart.
enum TSMFTextKind : int {
  kSMFTextLyrics = 1,   // lyric meta events (type 5)
  kSMFTextKaraoke = 2,  // text meta events (type 1) not beginning with "@"
};

// The longest prefix of text of at most maxBytes bytes ending on a character boundary.
std::string CutUtf8(const std::string& text, size_t maxBytes);
// The text as UTF-8: kept when it is valid UTF-8, else read as Windows-1252.
std::string TextToUtf8(const std::string& bytes);

class TSMFTrackData {
public:
  TSMFTrackData();
  TSMFTrackData(const TSMFTrackData&) = delete;
  TSMFTrackData& operator=(const TSMFTrackData&) = delete;

  TMidiFileBuf& GetEvents() { return events; }
  const TMidiFileBuf& GetEvents() const { return events; }
  TKRVSegRamStream& GetTextStream() { return texts; }
  bool HasTexts() const { return textCount > 0; }

  // Appends a text record (the text cut at its first zero byte).
  void AddText(uint32_t time, int type, const std::string& text);

  int GetPort() const { return port; }
  void SetPort(int p) { port = p; }
  // Field 0 the track name, 1 the instrument name.
  const char* GetName() const { return names.GetItem(0); }
  const char* GetInstrumentName() const { return names.GetItem(1); }
  void SetName(const std::string& text);
  void SetInstrumentName(const std::string& text);

  // Events emptied, filter off, texts cleared, port 0, names cleared.
  void Reset();

  // Rewinds the text stream; true when a non-empty record of the kind stands after time 0.
  bool HasTextAfterStart(int kind);
  // From the text stream's position: the next non-empty record of the kind, its time and its
  // text cut to maxLength - 1 bytes; false at the end. Callers walking again Rewind first.
  bool NextText(uint32_t& time, std::string& text, int maxLength, int kind);

private:
  TMidiFileBuf events;
  TKRVSegRamStream texts;
  int textCount = 0;
  int port = 0;
  TKVMultiField names;
};

class TSMFData {
public:
  explicit TSMFData(int trackCount = 0);
  virtual ~TSMFData();
  TSMFData(const TSMFData&) = delete;
  TSMFData& operator=(const TSMFData&) = delete;

  // Clears the system-exclusive stream and the texts, keeps `trackCount` tracks (dropping from
  // the end or adding empty ones) and resets each.
  void Reset(int trackCount);

  TKVMultiField& GetTexts() { return songTexts; }
  const TKVMultiField& GetTexts() const { return songTexts; }
  int GetTrackCount() const { return static_cast<int>(tracks.size()); }
  // Null outside 0..count-1.
  TSMFTrackData* GetTrack(int i);
  const TSMFTrackData* GetTrack(int i) const;
  void AppendTrack(std::unique_ptr<TSMFTrackData> track);
  TKRVSegRamStream& GetSysExStream() { return sysEx; }

private:
  TKVMultiField songTexts{4};
  std::vector<std::unique_ptr<TSMFTrackData>> tracks;
  TKRVSegRamStream sysEx{2048};
};

}  // namespace kvt
