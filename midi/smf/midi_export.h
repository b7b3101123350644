#pragma once
// Export of a score as a Standard MIDI File (see TSMFExportStream for what the file holds).
//
// ExportMidiFile(score, path, type, services) writes a type 1 file for type 1 and a type 0 file
// for any other type, and returns true only when the whole file was written. The target is
// never left half-written: the file is written under a temporary name in the same folder,
// closed and flushed to disk, and only then renamed over the target (which keeps its
// permission bits when it existed). When anything fails (the temporary file cannot be made, a
// write, the close or the rename fails) the temporary file is removed, the target is as it
// was, and the result is false. A symbolic link at the path is followed: its target is
// replaced and the link stays. No message is shown.
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
