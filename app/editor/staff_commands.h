#pragma once
// The staff commands of the editing view: new, delete and move staff, mute, the connections
// with the next staff, the whole-staff tools and audits, Transpose Staff, Goto, and the item
// inserts through the property dialog and the selector toolbars. RegisterStaffCommands adds
// them all to the view's command table; each group registers itself from its own file.
//
// Every command writes its undo entry before it changes the score; a command that cannot act
// beeps through the host and leaves no undo entry.

#include <memory>

namespace kvt {

class TCommandTable;
class TScoreEdit;

// Command ids of the group.
inline constexpr int kCmdGoto = 38;
inline constexpr int kCmdLayerWithNext = 62;
inline constexpr int kCmdAutoBeam = 65;
inline constexpr int kCmdForceAccidentals = 67;
inline constexpr int kCmdReaudit = 68;
inline constexpr int kCmdAuditBarLines = 70;
inline constexpr int kCmdAuditAccidentals = 71;
inline constexpr int kCmdAuditStems = 72;
inline constexpr int kCmdAuditSpelling = 73;
inline constexpr int kCmdBracketWithNext = 162;
inline constexpr int kCmdBraceWithNext = 163;
inline constexpr int kCmdConnectBars = 164;
inline constexpr int kCmdMuteStaff = 220;
inline constexpr int kCmdMoveStaff = 223;
inline constexpr int kCmdMoveStaffUp = 226;
inline constexpr int kCmdMoveStaffDown = 227;

void RegisterStaffCommands(TScoreEdit& view, TCommandTable& table);

// The groups RegisterStaffCommands registers.
void RegisterStaffToolCommands(TScoreEdit& view, TCommandTable& table);
void RegisterGotoCommand(TScoreEdit& view, TCommandTable& table);
void RegisterDialogInsertCommands(TScoreEdit& view, TCommandTable& table);
void RegisterSelectorInsertCommands(TScoreEdit& view, TCommandTable& table);
// The commands whose dialogs are not built yet: disabled while the service lacks them.
void RegisterPendingDialogCommands(TScoreEdit& view, TCommandTable& table);

// The staff commands themselves, for keys that reach them directly (Ctrl+Shift+Page Up/Down).
// Each answers whether it changed the score.
bool NewStaff(TScoreEdit& view);
bool DeleteStaff(TScoreEdit& view);
// Moves the active staff to the previous (direction -1) or next (+1) shown staff's place.
bool MoveStaff(TScoreEdit& view, int direction);

}  // namespace kvt
