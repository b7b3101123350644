#pragma once
// Export of a score as a Standard MIDI File (see TSMFExportStream for what the file holds).
//
// ExportMidiFile(score, path, type, services) writes a type 1 file for type 1 and a type 0 file
// for any other type, and returns true only when the whole file was written. The file is
// written by WriteFileAtomically (utils/atomic_file_write.h): a symbolic link at the path is
// followed and stays, the target keeps its permission bits, and when anything fails the target
// is as it was and no temporary file is left. No message is shown.
//
// SaveScoreAsMidiFile does the same under the services' wait cursor and, when it fails, shows
// "There was a problem saving the file!" with the path as the caption through the services'
// export shell.
//
// services (the caller's, for the call only): the export shell gives the export options and
// takes the status texts; the user-object host plays user objects.

#include <string>

namespace kvt {

class TMusicScore;
struct TServices;

inline constexpr char kMidiSaveProblemText[] = "There was a problem saving the file!";

bool ExportMidiFile(const TMusicScore& score, const std::string& path, int type,
                    const TServices& services);
bool SaveScoreAsMidiFile(const TMusicScore& score, const std::string& path, int type,
                         const TServices& services);

}  // namespace kvt
