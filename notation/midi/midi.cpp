// The MIDI library; its units are added beside this file.
namespace kvt {}
