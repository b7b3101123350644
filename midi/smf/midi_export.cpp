#include "midi/smf/midi_export.h"

#include "midi/smf/midi_export_shell.h"
#include "midi/smf/smf_export_stream.h"
#include "utils/atomic_file_write.h"
#include "utils/busy_cursor.h"

namespace kvt {

bool ExportMidiFile(TMusicScore& score, const std::string& path, int type,
                    TMidiExportShell* shell) {
  TMidiExportShell& used = shell ? *shell : GetMidiExportShell();
  return WriteFileAtomically(path, TSaveBackups{}, [&score, type, &used](TKRVStream& file) {
    return WriteScoreAsMidi(file, score, type, used);
  });
}

bool SaveScoreAsMidiFile(TMusicScore& score, const std::string& path, int type,
                         TMidiExportShell* shell) {
  TKVBusyCursor wait;
  TMidiExportShell& used = shell ? *shell : GetMidiExportShell();
  const bool ok = ExportMidiFile(score, path, type, &used);
  if (!ok) used.ShowProblem(kMidiSaveProblemText, path);
  return ok;
}

}  // namespace kvt
