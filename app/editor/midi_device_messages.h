#pragma once
// The message boxes about MIDI devices that playing, recording and the editor's MIDI input
// share: caption and text, UTF-8.

namespace kvt {

inline constexpr char kNoRecordDeviceCaption[] = "No MIDI Record Device";
inline constexpr char kNoRecordDeviceText[] =
    "There is not any selected recording device. A recording device can be selected from the "
    "Tools, Options command.\n\nWould you like to select one now?";
inline constexpr char kMidiDeviceWarningCaption[] = "Midi Device Warning";
inline constexpr char kInputFailingText[] =
    "Your selected MIDI input device is failing to open.\n\nWould you like to go to the Record "
    "options to investigate?";
inline constexpr char kPortSharingText[] =
    "Due to port sharing, direct MIDI input to the editor is not currently available.\n\nWould "
    "you like to go to the MIDI options to change the port sharing setup?";

}  // namespace kvt
