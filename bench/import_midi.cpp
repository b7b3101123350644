// import_midi IN.mid OUT.kvttxt [--grid 4th|8th|16th|32nd]
//
// A developer program: imports a MIDI file as a user would through the import wizard, with
// the wizard's options and the given note grid (default: the wizard's), and writes the score
// text. Prints the reader's warnings on standard error. Exit 0 on success; 1, with the
// reader's message, when the reader failed or the file could not be read or written.
#include <cstdio>
#include <cstring>
#include <string>

#include "midi/import/import_data.h"
#include "midi/import/import_midi_file.h"
#include "midi/import/import_shell.h"
#include "notation/files/text/score_text_file.h"
#include "notation/staff/music_score.h"

namespace {

// Answers as a user who takes the wizard's defaults with the chosen grid, goes on past
// warnings and stops at errors.
class TCommandLineImportShell : public kvt::TNullMidiImportShell {
public:
  explicit TCommandLineImportShell(int grid) : grid(grid) {}
  bool AskYesNo(const std::string& text, const std::string&, kvt::TQuestionIcon) override {
    std::fprintf(stderr, "%s", text.c_str());
    failed = text.find("Error[") != std::string::npos;
    return !failed;
  }
  void ShowMessage(const std::string& text) override {
    std::fprintf(stderr, "%s\n", text.c_str());
    failed = true;
  }
  bool UseImportWizard() override { return true; }
  bool RunImportWizard(kvt::TKVTImportData& data) override {
    if (grid >= 0) data.GetOptions().noteResolution = grid;
    data.ApplyOptionsToInstructions();
    return true;
  }
  bool failed = false;

private:
  int grid;
};

int Usage() {
  std::fprintf(stderr, "usage: import_midi IN.mid OUT.kvttxt [--grid 4th|8th|16th|32nd]\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5) return Usage();
  int grid = -1;
  if (argc == 5) {
    if (std::strcmp(argv[3], "--grid") != 0) return Usage();
    const char* names[] = {"4th", "8th", "16th", "32nd"};
    for (int i = 0; i < 4; ++i)
      if (std::strcmp(argv[4], names[i]) == 0) grid = i + 2;
    if (grid < 0) return Usage();
  }
  TCommandLineImportShell shell(grid);
  std::unique_ptr<kvt::TMusicScore> score = kvt::ImportMidiFile(&shell, argv[1], 0, nullptr);
  if (!score) {
    if (!shell.failed) std::fprintf(stderr, "%s: the file could not be imported\n", argv[1]);
    return 1;
  }
  if (!kvt::SaveTextScoreFile(argv[2], *score)) {
    std::fprintf(stderr, "%s: the score could not be written\n", argv[2]);
    return 1;
  }
  return 0;
}
