#pragma once
// The keyboard-entry group of the editing view's commands: note entry, the note tools, and
// Clear and Select All.

namespace kvt {

class TCommandTable;
class TScoreEdit;

void RegisterEntryCommands(TScoreEdit& view, TCommandTable& table);

}  // namespace kvt
