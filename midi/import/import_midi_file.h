#pragma once
// The user's entry points of the MIDI import: opening a MIDI file as a new score, and turning
// the application's recording into a score or into one staff. Each runs headless: what needs
// the user (the warnings question, the wizard, the instruction dialog, messages) goes through
// the import shell (null: TNullMidiImportShell), and the settings through the settings store
// (null: the defaults). Every returned score or staff belongs to the caller; on No, Cancel or
// a failure nothing is left behind.

#include <memory>
#include <string>

#include "notation/services/services.h"

namespace kvt {

class TMidiImportShell;
class TMusicScore;
class TMusicStaff;
class TSysInfo;

// The mode that always shows the wizard.
inline constexpr int kImportModeWizard = 5;
// The reader's log holds at most this many bytes of warnings.
inline constexpr int kImportLogBytes = 510;

inline constexpr char kImportWarningsCaption[] = "Import Warnings/Errors Excerpt - Continue?";

// The lyric mode for a file name: karaoke texts for ".kar" (any case), else lyric events.
int LyricModeForPath(const std::string& path);

// Reads the file, asks about the reader's warnings (only when there are any), scans, shows the
// wizard (mode 5, or when the shell's option says so) and converts. Null when the file cannot
// be opened (after the message), when the user answers No or cancels.
std::unique_ptr<TMusicScore> ImportMidiFile(TMidiImportShell* shell, const std::string& path,
                                            int mode, TSysInfo* settings,
                                            const TServices& services = TServices());

// The shell's recording data, scanned afresh and converted with the default options; null
// without a recording or when the scan finds nothing.
std::unique_ptr<TMusicScore> ConvertRecordingToScore(TMidiImportShell* shell, TSysInfo* settings,
                                                     const TServices& services = TServices());
// One staff from the recording after the user edits its instruction; null without a
// recording, with nothing recorded, or when the user cancels.
std::unique_ptr<TMusicStaff> ConvertRecordingToStaff(TMidiImportShell* shell, TSysInfo* settings,
                                                     const TServices& services = TServices());

}  // namespace kvt
