#pragma once
// TMidiManager: the owner of the MIDI side: up to 16 configured output ports (each a
// TMidiOutDevice, remembered by device name so a configuration survives a change in the order
// of the devices), the input port, the echo settings, the start countdown, the sequencer and
// the hand-over of a play buffer to it segment by segment. It is also the playback service the
// score player asks where play stands (InstallPlaybackService).
//
// Settings (the store's sections, read by LoadSettings and written by SaveSettings):
//   "MIDI Out Ports" "0".."15": output names, reading stops at the first empty one;
//   "MIDI In Ports" "0": the input name; "MIDI Echo" "Enabled", "DeviceNum", "ChnlOvrd";
//   "MIDI Synth" "SoundFont": the synthesizer's soundfont (empty: the system's default).
// Stored names are made valid UTF-8 and cut to 31 bytes. A "DeviceNum" outside 0-15 sets no
// echo; a "ChnlOvrd" outside 0-16 keeps the channel.
//
// With no output configured, port 0 plays on the built-in synthesizer. Ports that fail to
// open are named in the alert log ("The '%s' out port failed", "The '%s' in port failed") and
// stay closed; playback then sends nothing to them.
//
// Threads: every operation runs on the UI thread. The ports are closed only when not playing
// (closing them stops play first), so the sequencer never holds a closed output.
//
// Lifetime: the catalog, settings store, alert log, clock, timer and UI post are the caller's
// and outlive the manager; a playing buffer must outlive play (until Stop).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "midi/devices/kv_midi.h"
#include "midi/devices/midi_in_device.h"
#include "midi/devices/midi_out_device.h"
#include "midi/play/midi_playback_service.h"
#include "notation/services/services.h"
#include "utils/alert_log.h"
#include "utils/sys_info.h"

namespace kvt {

class TMidiFileBuf;

inline constexpr uint16_t kDefaultStartCountdownMs = 500;
inline constexpr char kUnavailablePortName[] = "<Unavailable>";

class TMidiManager final : public TMidiPlaybackService {
public:
  TMidiManager(TMidiDeviceCatalog& catalog, TSysInfo& settings, TAlertLog& alerts,
               const TMidiClock& clock, TMidiTimer& timer, TMidiUiPost& post);
  // Stops playing and recording and closes the ports.
  ~TMidiManager() override;
  TMidiManager(const TMidiManager&) = delete;
  TMidiManager& operator=(const TMidiManager&) = delete;

  // Makes this manager the services' playback service.
  void InstallPlaybackService(TServices& services) { services.playback = this; }

  // --- ports
  void SetPortsOpen(bool open);
  bool ArePortsOpen() const { return portsOpen; }
  // Bit i for each configured output port that does not open (tried now; the earlier open
  // state comes back afterwards).
  uint16_t GetFailedPortMask();
  void LoadSettings();
  void SaveSettings();
  // The device's name becomes the only output port.
  void UseSingleOutDevice(int id);

  // --- configuration (each closes the ports and returns to the earlier state)
  // Up to 16 names, fitted (see device_names.h); empty names end the list.
  void SetOutPortNames(const std::vector<std::string>& names);
  void SetInPortName(const std::string& name);
  // Both 0 or more: echo enabled on output port device with that override; else echo off.
  void SetEcho(int device, int channelOverride);
  void ClearEcho() { SetEcho(-1, -1); }
  bool IsEchoEnabled() const { return echoEnabled; }
  int GetEchoDevice() const { return echoDevice; }
  int GetEchoOverride() const { return echoOverride; }
  void SetSoundFont(const std::string& path);
  const std::string& GetSoundFont() const { return soundFont; }

  // --- lists for the options dialog
  std::vector<std::string> GetInputDeviceNames();
  std::vector<std::string> GetUnconfiguredOutputNames();
  std::vector<std::string> GetConfiguredOutputNames() const { return outNames; }
  // The 16 port slots, kUnavailablePortName for the empty ones.
  std::vector<std::string> GetPortSlotNames() const;
  // Empty out of range.
  std::string GetOutPortName(int i) const;
  const std::string& GetInPortName() const { return inName; }
  int GetOutPortCount() const { return static_cast<int>(outNames.size()); }

  // --- sending
  // To the output of the message's port; kDone for a port outside the configured ones.
  TMidiSendResult SendShortMsg(TMidiMsg msg);
  // Only while the ports are open.
  void ResetControllers(bool full);
  // No device of this system caches patches: nothing to do.
  void CachePatches(const TMidiFileBuf&) {}

  // --- playback (see TKVMidi)
  // Starts playing buffer from startTick, with receiver getting "KVTMidiSeq"; false for an
  // empty buffer or when the sequencer does not start.
  bool PlayBuffer(TMidiSeqReceiver* receiver, const TMidiFileBuf& buffer, int32_t startTick);
  // The answer to kSeqSegmentTaken: offers the next segment; true when it was taken or when
  // everything was handed over already. Preconditions: a playing buffer and a next segment.
  bool FeedNextSegment();
  // What the receiver does with a message from the sequencer: queues the next segment;
  // false when the data has ended (the receiver then stops play).
  bool AnswerSeqMessage(int message);
  bool Reposition(int32_t tick);
  void TogglePause() override { sequencer.TogglePause(); }
  void Stop();
  void SetStartCountdown(uint16_t ms) { countdownMs = ms; }
  uint16_t GetStartCountdown() const { return countdownMs; }
  bool IsPlaying() const override { return sequencer.IsPlaying(); }
  bool IsPaused() const override { return sequencer.IsPaused(); }
  int32_t GetPlayTick() const override;
  int64_t GetSongTimeMs() const override;
  int GetCountdownSeconds() const { return sequencer.GetCountdownSeconds(); }

  // --- input
  void SetInputWindow(TMidiInputReceiver* receiver) { sequencer.SetInputWindow(receiver); }
  // A name is configured but the input is not open.
  bool InPortFailed() const { return !inName.empty() && !inDevice.IsOpen(); }
  void StartRecording();
  void StopRecording();
  bool IsRecording() const override { return recording; }
  // One recorded entry, only while recording.
  bool GetRecordedEvent(TRecordedEvent& out);
  // Every recorded entry with a tick (taken while playing) into buffer, in time order;
  // returns how many were added.
  int DrainRecording(TMidiFileBuf& buffer);

  TKVMidi& GetSequencer() { return sequencer; }

private:
  // Opens every configured port, logging failures; then applies the echo.
  void OpenPorts();
  void ClosePorts();
  void ApplyEcho();
  // The output handles of the open ports for the sequencer.
  std::array<TMidiOutPort*, kMidiPorts> OpenHandles() const;
  int FindOutputId(const std::string& name);

  TMidiDeviceCatalog& catalog;
  TSysInfo& settings;
  TAlertLog& alerts;
  const TMidiClock& clock;

  std::string inName;
  std::vector<std::string> outNames;
  bool portsOpen = false;
  bool recording = false;
  bool echoEnabled = false;
  int echoDevice = 0;
  int echoOverride = 0;
  uint16_t countdownMs = kDefaultStartCountdownMs;
  std::string soundFont;
  const TMidiFileBuf* playingBuffer = nullptr;
  int nextSegment = 0;

  // Declared before the devices that use them and after the state: the sequencer is the
  // input's sink, so the destructor closes the ports explicitly before anything is destroyed.
  TSharedSynth synth;
  TKVMidi sequencer;
  std::vector<TMidiOutDevice> outDevices;  // kMidiPorts of them
  TMidiInDevice inDevice;
};

}  // namespace kvt
