#include "midi/smf/midi_export.h"

#include "midi/smf/midi_export_shell.h"
#include "midi/smf/smf_export_stream.h"
#include "notation/services/services.h"
#include "utils/atomic_file_write.h"
#include "utils/busy_cursor.h"

namespace kvt {

bool ExportMidiFile(const TMusicScore& score, const std::string& path, int type,
                    const TServices& services) {
  return WriteFileAtomically(path, TSaveBackups{}, [&score, type, &services](TKRVStream& file) {
    return WriteScoreAsMidi(file, score, type, services);
  });
}

bool SaveScoreAsMidiFile(const TMusicScore& score, const std::string& path, int type,
                         const TServices& services) {
  TKVBusyCursor wait(CursorServiceOf(services));
  const bool ok = ExportMidiFile(score, path, type, services);
  if (!ok) MidiExportShellOf(services).ShowProblem(kMidiSaveProblemText, path);
  return ok;
}

}  // namespace kvt
