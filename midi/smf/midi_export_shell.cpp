#include "midi/smf/midi_export_shell.h"

#include <cstdio>

#include "notation/services/services.h"

namespace kvt {

void TNullMidiExportShell::ShowProblem(const std::string& text, const std::string& caption) {
  // The command-line tools show their messages on standard error.
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

TMidiExportShell& MidiExportShellOf(const TServices& services) {
  static TNullMidiExportShell nullShell;
  return services.exportShell ? *services.exportShell : nullShell;
}

}  // namespace kvt
