#pragma once
// TSMFExportStream: writes a score as a Standard MIDI File, type 1 (a tempo track, then one
// track per staff) or type 0 (one track holding everything), with division 192. The
// performance is the score player's (repeats, endings, dynamics, muting, instrument set-up);
// this writer chooses what goes into which track and adds the song information, port and
// track names and the lyrics as meta events.
//
// Tracks:
//   tempo track (the only one of type 0): status "Writing Tempo Track"; the song information
//     when the shell places it in "Track 0"; type 1: the tempo events of every staff; type 0:
//     the whole rendered score without time and key signatures; then staff 0's time and key
//     signatures; type 0 places the syllables of the first staff with lyrics between the
//     events.
//   track i (type 1): the song information when placed in "Track 1" and i is 0; nothing more
//     when the score has no staff i; a MIDI port meta event with the staff's device (0..255)
//     and status "Writing Track: %d"; the staff name as track name; a muted staff ends here;
//     otherwise the staff's channel events (and its time and key signatures with "Export per
//     track signature"), with its syllables when it has lyric lines.
//
// The score, the event store and the shell are not owned and must outlive the writer. The
// store is reset for each track; a store that overflows keeps what fitted. Errors of the
// output stream are reported through WriteFile's result (see TSMFOutStream).

#include "midi/smf/smf_out_stream.h"

namespace kvt {

class TMusicScore;
class TMidiFileBuf;
class TMidiExportShell;
struct TServices;

class TSMFExportStream : public TSMFOutStream {
public:
  // services: the caller's, for the stream's life: the export shell and the user-object host
  // that plays user objects.
  TSMFExportStream(TKRVStream& output, const TMusicScore& score, TMidiFileBuf& store,
                   const TServices& services);

  // Type 1 writes format 1 with the staff count + 1 tracks; any other type format 0. True
  // when the file was written without error (the output's final flush included).
  bool WriteScore(int type);

  void WriteFirstTrackBody() override;
  void WriteTrackBody(int index) override;

private:
  void WriteHeaderInfo(bool inTempoTrack);

  const TMusicScore& score;
  TMidiFileBuf& store;
  const TServices& services;
  TMidiExportShell& shell;
};

// The writing of ExportMidiFile over any seekable stream (files, the clipboard's memory
// stream): an event store of 16 segments growing by 16, a TSMFExportStream over it, and the
// score written as `type`, with the services for the call. True when written without error.
bool WriteScoreAsMidi(TKRVStream& output, const TMusicScore& score, int type,
                      const TServices& services);

}  // namespace kvt
