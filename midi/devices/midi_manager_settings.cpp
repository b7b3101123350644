// The device manager's settings: port names, echo and the synthesizer's soundfont.

#include <string>

#include "midi/devices/device_names.h"
#include "midi/devices/midi_manager.h"

namespace kvt {

namespace {

constexpr char kOutSection[] = "MIDI Out Ports";
constexpr char kInSection[] = "MIDI In Ports";
constexpr char kEchoSection[] = "MIDI Echo";
constexpr char kSynthSection[] = "MIDI Synth";
constexpr char kSoundFontKey[] = "SoundFont";

}  // namespace

void TMidiManager::LoadSettings() {
  const bool wasOpen = portsOpen;
  SetPortsOpen(false);
  outNames.clear();
  for (int i = 0; i < kMidiPorts; ++i) {
    const std::string name =
        FitDeviceName(settings.GetProfileString(kOutSection, std::to_string(i).c_str(), ""));
    if (name.empty()) break;
    outNames.push_back(name);
  }
  inName = FitDeviceName(settings.GetProfileString(kInSection, "0", ""));
  echoEnabled = settings.GetProfileInt(kEchoSection, "Enabled", 0) != 0;
  echoDevice = settings.GetProfileInt(kEchoSection, "DeviceNum", 0);
  const int channelOverride = settings.GetProfileInt(kEchoSection, "ChnlOvrd", 0);
  // Out of range, the echo keeps the incoming channel; ApplyEcho refuses a device outside
  // the 16 ports.
  echoOverride = channelOverride >= 0 && channelOverride <= 16 ? channelOverride : 0;
  SetSoundFont(settings.GetProfileString(kSynthSection, kSoundFontKey, ""));
  SetPortsOpen(wasOpen);
}

void TMidiManager::SaveSettings() {
  settings.WriteProfileString(kOutSection, nullptr, nullptr);
  settings.WriteProfileString(kOutSection, "0", "");
  for (size_t i = 0; i < outNames.size(); ++i)
    settings.WriteProfileString(kOutSection, std::to_string(i).c_str(), outNames[i].c_str());
  settings.WriteProfileString(kInSection, "0", inName.c_str());
  settings.WriteProfileInt(kEchoSection, "Enabled", echoEnabled ? 1 : 0);
  settings.WriteProfileInt(kEchoSection, "DeviceNum", echoDevice);
  settings.WriteProfileInt(kEchoSection, "ChnlOvrd", echoOverride);
  settings.WriteProfileString(kSynthSection, kSoundFontKey, soundFont.c_str());
}

}  // namespace kvt
