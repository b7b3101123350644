#pragma once
// Opening documents and web addresses with the desktop's programs, choosing a folder, and the
// user's special folders.

#include <string>
#include <string_view>

class QWidget;

namespace kvt {

inline constexpr char kShellOpenRetryText[] =
    "First try failed, probably due to a system setup problem with your default browser.\n"
    "Now trying a different approach...";

// Opens a path or address (UTF-8) with the desktop's program for it. When that fails, an
// information box owned by the main window says so and the opener program "xdg-open" is
// started directly. Answers whether the last attempt succeeded.
bool ShellOpenUrl(std::string_view pathOrAddress);
bool ShellOpenUrlW(std::u16string_view pathOrAddress);

// Lets the user choose a folder, in a dialog owned by the window's captioned ancestor. The path
// is normalised as a folder path first, and the dialog starts there when the folder exists. On
// a choice the path becomes the folder chosen and true is answered; otherwise false, and the
// path stays normalised.
bool BrowseForFolder(QWidget* window, std::string& path);

// The user's special folders, by the ids below; false (path untouched) for an unknown id or
// when the desktop names no such folder.
inline constexpr int CSIDL_DESKTOPDIRECTORY = 0x0010;
inline constexpr int CSIDL_PERSONAL = 0x0005;
inline constexpr int CSIDL_MYMUSIC = 0x000D;
inline constexpr int CSIDL_APPDATA = 0x001A;
inline constexpr int CSIDL_LOCAL_APPDATA = 0x001C;
bool GetSpecialFolder(int folderId, std::string& path);

}  // namespace kvt
