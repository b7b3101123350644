#include "app/editor/midi_input_commands.h"

#include "app/editor/midi_device_messages.h"
#include "app/editor/midi_keyboard_input.h"
#include "app/editor/score_edit.h"
#include "app/editor/score_edit_host.h"
#include "tools/command_table.h"
#include "tools/message_box_service.h"

namespace kvt {

namespace {

// The answers' Yes would open pages of the options dialog, which the program does not have
// yet; the boxes only inform.
void ToggleMidiInput(TScoreEditHost& host) {
  TMidiKeyboardInput& input = host.MidiKeyboard();
  if (input.IsActive()) {
    input.Deactivate();
    return;
  }
  if (!input.Device().HasInputDevice()) {
    host.MessageBox(MB_YESNO | MB_ICONINFORMATION, kNoRecordDeviceCaption, kNoRecordDeviceText);
    return;
  }
  if (input.Device().IsPortShared()) {
    host.MessageBox(MB_YESNO | MB_ICONQUESTION, kMidiDeviceWarningCaption, kPortSharingText);
    return;
  }
  if (!input.Activate())
    host.MessageBox(MB_YESNO | MB_ICONQUESTION, kMidiDeviceWarningCaption, kInputFailingText);
}

}  // namespace

void RegisterMidiInputCommands(TScoreEdit& view, TCommandTable& table) {
  table.Register(
      kCmdMidiInputActive, [&view](int32_t) { ToggleMidiInput(view.Host()); },
      [&view](TCommandEnabler& enabler) {
        TScoreEditHost& host = view.Host();
        enabler.Enable(!host.IsPlaying(view.Score()));
        enabler.SetCheck(host.MidiKeyboard().IsActive() ? kChecked : kUnchecked);
      });
}

}  // namespace kvt
