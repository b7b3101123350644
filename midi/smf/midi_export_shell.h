#pragma once
// TMidiExportShell: what the MIDI export asks of the application shell: two export options,
// progress texts for the status bar and the problem message of SaveScoreAsMidiFile. The
// application makes its own and passes it in the services object (TServices::exportShell);
// without one (the converter, tests) the null shell answers as the export expects in headless
// use: song information in the tempo track, no per-track signatures, no status texts, messages
// to standard error.
//
// Calls come from the UI thread (or the converter's one thread).

#include <string>

namespace kvt {

struct TServices;

// Where the song information goes ("Exclude", "Track 0", "Track 1").
enum TMidiHeaderPlacement : int {
  kMidiHeaderExclude = 0,
  kMidiHeaderTempoTrack = 1,
  kMidiHeaderFirstStaffTrack = 2,
};

class TMidiExportShell {
public:
  virtual ~TMidiExportShell() = default;
  // The export header-information placement.
  virtual TMidiHeaderPlacement GetHeaderPlacement() const = 0;
  // "Export per track signature": staff tracks carry their time and key signatures.
  virtual bool GetExportPerTrackSignature() const = 0;
  // A progress text for the main status bar ("Writing Track: 3"); the bar shows it at once,
  // with its leading blank.
  virtual void ShowStatus(const std::string& text) = 0;
  // A problem the user must acknowledge (exclamation icon, OK button), with its caption.
  virtual void ShowProblem(const std::string& text, const std::string& caption) = 0;
};

// Headless: the tempo track, no per-track signatures, no status, problems to standard error.
class TNullMidiExportShell final : public TMidiExportShell {
public:
  TMidiHeaderPlacement GetHeaderPlacement() const override { return kMidiHeaderTempoTrack; }
  bool GetExportPerTrackSignature() const override { return false; }
  void ShowStatus(const std::string&) override {}
  void ShowProblem(const std::string& text, const std::string& caption) override;
};

// The services' shell; the null shell for a null member.
TMidiExportShell& MidiExportShellOf(const TServices& services);

}  // namespace kvt
