#include "midi/smf/midi_export_shell.h"

#include <atomic>
#include <cstdio>

namespace kvt {

namespace {

TNullMidiExportShell& NullShell() {
  static TNullMidiExportShell shell;
  return shell;
}

std::atomic<TMidiExportShell*> installedShell{nullptr};

}  // namespace

void TNullMidiExportShell::ShowProblem(const std::string& text, const std::string& caption) {
  // The command-line tools show their messages on standard error.
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
}

TMidiExportShell& GetMidiExportShell() {
  TMidiExportShell* shell = installedShell.load(std::memory_order_acquire);
  return shell ? *shell : NullShell();
}

void InstallMidiExportShell(TMidiExportShell* shell) {
  installedShell.store(shell, std::memory_order_release);
}

}  // namespace kvt
