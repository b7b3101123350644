#pragma once
// TSystemMidiCatalog: the devices of this machine: output 0 is the built-in synthesizer
// (TFluidSynthOut on the audio device), then the ALSA sequencer's writable ports; the inputs
// are its readable ports. Without /dev/snd/seq the outputs hold only the synthesizer and the
// inputs nothing. Names are made unique and cut to 31 bytes (device_names.h). The lists are
// read again at each call, so devices plugged in later appear. UI thread only.

#include <memory>
#include <string>
#include <vector>

#include "midi/devices/midi_clock.h"
#include "midi/devices/midi_ports.h"
#include "platform/midi/alsa_seq_ports.h"
#include "platform/midi/fluid_synth_out.h"

namespace kvt {

inline constexpr char kSynthDeviceName[] = "Built-in Synthesizer";

class TSystemMidiCatalog final : public TMidiDeviceCatalog {
public:
  // sink: where the synthesizer's sound goes (the audio device, or the caller's rendering).
  explicit TSystemMidiCatalog(const TMidiClock& clock, TSynthSink sink = TSynthSink::kAudioDevice);

  std::vector<std::string> GetOutputNames() override;
  std::vector<std::string> GetInputNames() override;
  std::unique_ptr<TMidiOutPort> OpenOutput(int id) override;
  std::unique_ptr<TMidiInPort> OpenInput(int id, TMidiInputSink& sink) override;
  void SetSoundFont(const std::string& path) override { soundFont = path; }

  // The synthesizer the last OpenOutput of id 0 made (for a caller that renders); null before.
  TFluidSynthOut* GetLastSynth() const { return lastSynth; }

private:
  std::vector<TAlsaPortAddress> Ports(bool outputs);

  const TMidiClock& clock;
  const TSynthSink synthSink;
  std::string soundFont;
  std::shared_ptr<TAlsaSeqClient> alsa;  // opened on first need
  bool alsaTried = false;
  TFluidSynthOut* lastSynth = nullptr;
};

}  // namespace kvt
