#pragma once
// The editor's MIDI input command: 215 "MIDI Input Active" turns the MIDI keyboard input
// (the host's TMidiKeyboardInput) on and off. Turning it on says why it cannot: no input
// device ("No MIDI Record Device"), shared ports or a device that fails to open ("Midi Device
// Warning"). Enabled while nothing plays; checked while input is active.

namespace kvt {

class TCommandTable;
class TScoreEdit;

inline constexpr int kCmdMidiInputActive = 215;

void RegisterMidiInputCommands(TScoreEdit& view, TCommandTable& table);

}  // namespace kvt
