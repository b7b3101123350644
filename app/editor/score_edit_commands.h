#pragma once
// The editing view's commands: RegisterScoreEditCommands fills a view's command table with
// every group of editing commands (each group registers itself from its own file).

namespace kvt {

class TCommandTable;
class TScoreEdit;

void RegisterScoreEditCommands(TScoreEdit& view, TCommandTable& table);

}  // namespace kvt
