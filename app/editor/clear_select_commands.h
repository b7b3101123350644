#pragma once
// Edit > Clear (35: the selection is deleted under an undo entry of kind 1) and Edit > Select
// All (39: the whole active staff).

namespace kvt {

class TCommandTable;
class TScoreEdit;

void RegisterClearSelectCommands(TScoreEdit& view, TCommandTable& table);

}  // namespace kvt
