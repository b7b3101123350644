#pragma once
// The program's string table: the captions and message texts that boxes load by id. Texts are
// UTF-8 printf formats; a message longer than one piece is split over consecutive ids and
// joined by the message-box routine. No Qt: the command-line tools may use it too.

namespace kvt {

// Caption "File Open" and the texts of opening a file.
inline constexpr int kStrFileOpen = 8192;
inline constexpr int kStrUnknownFileType = 8193;    // file, extension
inline constexpr int kStrFileFailedToOpen = 8194;   // file
inline constexpr int kStrFileFromNewerApp = 8195;   // file
inline constexpr int kStrFileVersionTooNew = 8196;  // file, version
inline constexpr int kStrFileNotLoadable = 8197;    // file
inline constexpr int kStrOlderFormatSave = 8198;    // file
inline constexpr int kStrFileLoadError = 8199;      // file
inline constexpr int kStrFileSave = 8202;
inline constexpr int kStrFileSaveFailed = 8203;  // file
inline constexpr int kStrMemoryCritical = 8204;
inline constexpr int kStrMemoryCriticalText = 8205;
inline constexpr int kStrReadOnlySave = 8244;  // file
inline constexpr int kStrExperimentalFile = 8270;
inline constexpr int kStrPleaseConfirm = 8276;
inline constexpr int kStrClearHistory = 8277;
inline constexpr int kStrAddScript = 8278;  // file

// The text of id, or null when the table has none.
const char* LoadProgramString(int id);

}  // namespace kvt
