#include "platform/midi/system_midi_catalog.h"

#include "midi/devices/device_names.h"

namespace kvt {

TSystemMidiCatalog::TSystemMidiCatalog(const TMidiClock& clock, TSynthSink sink)
    : clock(clock), synthSink(sink) {}

std::vector<TAlsaPortAddress> TSystemMidiCatalog::Ports(bool outputs) {
  if (!alsaTried) {
    alsaTried = true;
    alsa = TAlsaSeqClient::Open();
  }
  if (!alsa) return {};
  return alsa->ListPorts(outputs);
}

std::vector<std::string> TSystemMidiCatalog::GetOutputNames() {
  std::vector<std::string> names = {kSynthDeviceName};
  for (const TAlsaPortAddress& port : Ports(true)) names.push_back(port.name);
  return MakeDeviceNamesUnique(names);
}

std::vector<std::string> TSystemMidiCatalog::GetInputNames() {
  std::vector<std::string> names;
  for (const TAlsaPortAddress& port : Ports(false)) names.push_back(port.name);
  return MakeDeviceNamesUnique(names);
}

std::unique_ptr<TMidiOutPort> TSystemMidiCatalog::OpenOutput(int id) {
  const std::vector<TAlsaPortAddress> ports = id > 0 ? Ports(true) : std::vector<TAlsaPortAddress>();
  if (id > 0 && id <= static_cast<int>(ports.size()))
    return TAlsaOutPort::Open(alsa, ports[static_cast<size_t>(id - 1)]);
  // Id 0 and every id past the list (the mapper) are the synthesizer.
  std::unique_ptr<TFluidSynthOut> synth =
      TFluidSynthOut::Open(SoundFontCandidates(soundFont), clock, synthSink);
  lastSynth = synth.get();
  return synth;
}

std::unique_ptr<TMidiInPort> TSystemMidiCatalog::OpenInput(int id, TMidiInputSink& sink) {
  const std::vector<TAlsaPortAddress> ports = Ports(false);
  if (id < 0 || id >= static_cast<int>(ports.size())) return nullptr;
  return TAlsaInPort::Open(ports[static_cast<size_t>(id)], sink);
}

}  // namespace kvt
