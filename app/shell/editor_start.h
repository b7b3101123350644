#pragma once
// The editor's part of the program's start, after the command-line tools have declined the
// command line: the hand-over to a running instance, then the application object, the music
// font, the single-instance listener, the main frame and the event loop.

#include <string>
#include <vector>

namespace kvt {

class TSysInfo;

// What RunEditor answers when there is no display to show the editor on (nothing was
// started; the caller tells the user what the program can do without one).
inline constexpr int kEditorNoDisplay = -1;

// True when a window system is reachable: DISPLAY or WAYLAND_DISPLAY is set, or Qt was told
// another platform (QT_QPA_PLATFORM).
bool HasDisplay();

// arguments: the start's arguments without the program path. Returns the exit code: 1 after a
// hand-over to a running instance, else the event loop's result, or kEditorNoDisplay. argc and
// argv are the process's (Qt reads its own options from them).
int RunEditor(int& argc, char** argv, const std::vector<std::string>& arguments,
              TSysInfo& settings);

}  // namespace kvt
