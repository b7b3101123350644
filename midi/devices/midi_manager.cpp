// The device manager: ports, configuration and sending.

#include "midi/devices/midi_manager.h"

#include <algorithm>
#include <cstdio>

#include "midi/devices/device_names.h"

namespace kvt {

namespace {

void LogPortFailure(TAlertLog& alerts, const char* format, const std::string& name) {
  char line[128];
  std::snprintf(line, sizeof line, format, name.c_str());
  alerts.AddLine(line);
}

}  // namespace

TMidiManager::TMidiManager(TMidiDeviceCatalog& catalog, TSysInfo& settings, TAlertLog& alerts,
                           const TMidiClock& clock, TMidiTimer& timer, TMidiUiPost& post)
    : catalog(catalog),
      settings(settings),
      alerts(alerts),
      clock(clock),
      synth(catalog),
      sequencer(clock, timer, post),
      inDevice(catalog, sequencer) {
  outDevices.reserve(kMidiPorts);
  for (int i = 0; i < kMidiPorts; ++i) outDevices.emplace_back(catalog, synth, clock);
}

TMidiManager::~TMidiManager() {
  Stop();
  StopRecording();
  SetPortsOpen(false);
}

void TMidiManager::SetPortsOpen(bool open) {
  sequencer.SetEcho(nullptr, 0);
  if (open == portsOpen) {
    if (!open) return;
    bool allOpen = inName.empty() || inDevice.IsOpen();
    const int count = std::max<int>(static_cast<int>(outNames.size()), 1);
    for (int i = 0; i < count; ++i) allOpen = allOpen && outDevices[i].IsOpen();
    if (allOpen) {
      ApplyEcho();
      return;
    }
  }
  ClosePorts();
  portsOpen = open;
  if (open) OpenPorts();
}

void TMidiManager::ClosePorts() {
  // The sequencer must never hold a closed output.
  Stop();
  StopRecording();
  for (TMidiOutDevice& device : outDevices) device.Close();
  inDevice.Close();
}

int TMidiManager::FindOutputId(const std::string& name) {
  const std::vector<std::string> names = catalog.GetOutputNames();
  const auto it = std::find(names.begin(), names.end(), name);
  return it == names.end() ? -1 : static_cast<int>(it - names.begin());
}

void TMidiManager::OpenPorts() {
  if (outNames.empty()) {
    // Nothing configured: the built-in synthesizer plays port 0.
    if (!outDevices[0].Open(0)) {
      const std::vector<std::string> names = catalog.GetOutputNames();
      LogPortFailure(alerts, "The '%s' out port failed", names.empty() ? "" : names[0]);
    }
  }
  for (size_t i = 0; i < outNames.size(); ++i) {
    const int id = FindOutputId(outNames[i]);
    if (id >= 0 && !outDevices[i].Open(id))
      LogPortFailure(alerts, "The '%s' out port failed", outNames[i]);
  }
  if (!inName.empty() && !inDevice.OpenByName(inName))
    LogPortFailure(alerts, "The '%s' in port failed", inName);
  ApplyEcho();
}

void TMidiManager::ApplyEcho() {
  if (!echoEnabled || echoDevice < 0 || echoDevice >= kMidiPorts) return;
  TMidiOutPort* port = outDevices[echoDevice].GetPort();
  if (port) sequencer.SetEcho(port, echoOverride);
}

uint16_t TMidiManager::GetFailedPortMask() {
  const bool wasOpen = portsOpen;
  SetPortsOpen(true);
  uint16_t mask = 0;
  for (size_t i = 0; i < outNames.size(); ++i)
    if (!outDevices[i].IsOpen()) mask |= static_cast<uint16_t>(1u << i);
  SetPortsOpen(wasOpen);
  return mask;
}

void TMidiManager::UseSingleOutDevice(int id) {
  const std::vector<std::string> names = catalog.GetOutputNames();
  if (id < 0 || id >= static_cast<int>(names.size())) return;
  SetOutPortNames({names[id]});
}

void TMidiManager::SetOutPortNames(const std::vector<std::string>& names) {
  const bool wasOpen = portsOpen;
  SetPortsOpen(false);
  outNames.clear();
  for (const std::string& name : names) {
    if (name.empty() || outNames.size() >= kMidiPorts) break;
    outNames.push_back(FitDeviceName(name));
  }
  SetPortsOpen(wasOpen);
}

void TMidiManager::SetInPortName(const std::string& name) {
  const bool wasOpen = portsOpen;
  SetPortsOpen(false);
  inName = FitDeviceName(name);
  SetPortsOpen(wasOpen);
}

void TMidiManager::SetEcho(int device, int channelOverride) {
  const bool on = device >= 0 && channelOverride >= 0;
  echoEnabled = on;
  echoDevice = on ? device : 0;
  echoOverride = on && channelOverride <= 16 ? channelOverride : 0;
  sequencer.SetEcho(nullptr, 0);
  if (portsOpen) ApplyEcho();
}

void TMidiManager::SetSoundFont(const std::string& path) {
  soundFont = path;
  catalog.SetSoundFont(path);
}

std::vector<std::string> TMidiManager::GetInputDeviceNames() { return catalog.GetInputNames(); }

std::vector<std::string> TMidiManager::GetUnconfiguredOutputNames() {
  std::vector<std::string> result;
  for (const std::string& name : catalog.GetOutputNames())
    if (std::find(outNames.begin(), outNames.end(), name) == outNames.end())
      result.push_back(name);
  return result;
}

std::vector<std::string> TMidiManager::GetPortSlotNames() const {
  std::vector<std::string> slots(kMidiPorts, kUnavailablePortName);
  for (size_t i = 0; i < outNames.size(); ++i) slots[i] = outNames[i];
  return slots;
}

std::string TMidiManager::GetOutPortName(int i) const {
  if (i < 0 || i >= static_cast<int>(outNames.size())) return std::string();
  return outNames[i];
}

TMidiSendResult TMidiManager::SendShortMsg(TMidiMsg msg) {
  const int count = std::max<int>(static_cast<int>(outNames.size()), 1);
  if (msg.GetPort() >= count) return TMidiSendResult::kDone;
  return outDevices[msg.GetPort()].Send(msg);
}

void TMidiManager::ResetControllers(bool full) {
  if (!portsOpen) return;
  for (TMidiOutDevice& device : outDevices)
    if (device.IsOpen()) device.ResetControllers(full);
}

}  // namespace kvt
