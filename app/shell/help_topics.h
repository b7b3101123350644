#pragma once
// Help: the topic of a dialog and the opening of the help file. Help topics are numbered by
// the command ids of the menus; the help file is "kvt2help.html" in the program's data folder
// and opens in the desktop's browser. Without the file help shows nothing.

#include <string>

namespace kvt {

inline constexpr int kHelpContentsTopic = 192;
inline constexpr char kHelpFileName[] = "kvt2help.html";

// The help topic of a dialog resource id: 0 or less gives the contents (192), a few dialogs
// share the topic of their command, any other id is its own topic.
int GetDialogHelpTopic(int resourceId);

// The topic a Help menu command shows (Contents 192, Command Reference 193 to 202 as topics
// 4352 to 4361, Keyboard Reference 206 as 4363); 0 for any other command.
int HelpCommandTopic(int command);

// The help file in `dataFolder`; empty when it does not exist as a file.
std::string HelpFilePath(const std::string& dataFolder);

// Opens the help file at `topic` (the file's anchor "topic<N>"; the contents without an anchor)
// through the desktop; false, showing nothing, when there is no help file or the desktop does
// not open it. UI thread.
bool ShowHelpTopic(const std::string& dataFolder, int topic);

}  // namespace kvt
