#pragma once
// TMidiImportConverter: builds one staff of a MIDI import from one track: the conductor staff
// (tempos, time signatures, keys), a staff from an import instruction (notes, chords, rests and
// ties on the instruction's grid, keys, optional pedal marks and instrument changes) or a
// lyric staff (the track's lyric or karaoke texts as one lyric line on hidden notes).
//
// The converter writes one stream of items without overlap: every event first closes what
// sounds up to its quantised time, so notes whose starts meet before anything is written form
// one chord, and notes are written tied with the last piece untied.
//
// A walk stops at the end of the events, when the services' cancel test answers true (asked
// before every event), or when the staff has fewer than kImportFreeSlots free item slots; the
// last case is remembered (WasCut) so the caller can say so. Each Build returns a new staff
// owned by the caller. The import data and the services must outlive the converter.

#include <cstdint>
#include <memory>
#include <string>

#include "midi/import/import_data.h"
#include "notation/services/services.h"

namespace kvt {

class TMusicStaff;
class TNotatedItem;
class TSMFTrackData;
class TMidiMsg;

// A staff with fewer free item slots takes no more events.
inline constexpr int kImportFreeSlots = 1500;
// Most notes sounding at once.
inline constexpr int kImportMaxSounding = 30;

// Lyric modes of the conversion.
enum TImportLyricMode : int { kImportNoLyrics = 0, kImportLyricEvents = 1, kImportKaraoke = 2 };

// The staff name taken from a track: its name text, else its instrument text, first 31 bytes,
// trimmed of blanks, tabs, CR and LF; empty when nothing is left.
std::u16string ImportStaffName(const TSMFTrackData& track);

class TMidiImportConverter {
public:
  TMidiImportConverter(const TServices& services);

  // Mode 0: group "Conductor", name "Tempo Track"; track may be null (an empty staff).
  std::unique_ptr<TMusicStaff> BuildConductor(const TSMFTrackData* track);
  // Mode 1: the track's channel messages of the instruction's channels; track may be null.
  std::unique_ptr<TMusicStaff> BuildInstructionStaff(const TSMFImportInstructions& instruction,
                                                     const TSMFTrackData* track);
  // Mode 2: a staff without lines, group "Lyrics"; gotLyrics tells whether a lyric line was
  // attached. lyricMode is kImportLyricEvents or kImportKaraoke.
  std::unique_ptr<TMusicStaff> BuildLyricStaff(TSMFTrackData& track, int lyricMode,
                                               bool& gotLyrics);

  // The last walk stopped because its staff was full.
  bool WasCut() const { return cut; }
  bool WasCancelled() const { return cancelled; }

private:
  enum TMode { kConductor = 0, kInstruction = 1, kLyrics = 2 };
  struct TSounding {
    int pitch;    // the sign is the spelling: negative with flats
    int written;  // items already written for the note
  };

  void Start(TMode mode, const TSMFImportInstructions& instruction);
  void Walk(const TSMFTrackData& track);
  bool CheckCancel();
  int64_t Snap(int64_t t) const;
  int64_t Quantise(int64_t t) const;
  void AdvanceTo(int64_t t);
  std::unique_ptr<TNotatedItem> MakeSoundingItem();
  void AppendItem(std::unique_ptr<TNotatedItem> item);
  void OnChannel(int64_t t, const TMidiMsg& msg);
  void NoteOn(int64_t t, int pitch);
  void NoteOff(int64_t t, int pitch);
  int FindSounding(int pitch) const;
  void OnTempo(int64_t t, const TMidiMsg& msg);
  void OnTimeSignature(int64_t t, const TMidiMsg& msg);
  void OnKeySignature(int64_t t, const TMidiMsg& msg);

  TServices services;
  TMode mode = kConductor;
  TSMFImportInstructions instruction;
  std::unique_ptr<TMusicStaff> staff;
  int64_t currentTime = 0;
  bool pedalDown = false;
  int key = 0;
  bool minor = false;
  int noteGrid = 24;
  int restGrid = 96;
  TSounding sounding[kImportMaxSounding] = {};
  int soundingCount = 0;
  bool cut = false;
  bool cancelled = false;
};

}  // namespace kvt
