#pragma once
// TKVTImportData: the import data of one MIDI file (or of a recording): the file's contents
// (TSMFData), the instruction list, the default import options and the scan options.
//
// The eight options live in the settings section "Import" of the settings store; values read
// from there are held to their ranges (flags 0 or 1, resolutions 0..6, chord size 2..127).

#include <cstdint>

#include "midi/import/import_instructions.h"
#include "midi/smf/smf_data.h"

namespace kvt {

class TSysInfo;

inline constexpr char kImportSection[] = "Import";
inline constexpr int kImportMinChordSize = 2;
inline constexpr int kImportMaxChordSize = 127;

// The eight settings of section "Import".
struct TImportOptions {
  int32_t addPedalMarks = 0;
  int32_t addPatchChanges = 0;
  int32_t autoBeam = 1;
  int32_t detectCompoundTime = 1;
  int32_t noteResolution = 5;
  int32_t restResolution = 2;
  int32_t extractChannels = 1;
  int32_t maxChordSize = 18;

  // Each value held to its range.
  void Clamp();
  // From the store (null: the defaults), held to the ranges.
  void Load(TSysInfo* settings);
  // Writes all eight; false when a write failed (or there is no store).
  bool Save(TSysInfo* settings) const;
  // The four flags into option bits 0-3 and the two resolutions; channels, track and pitch
  // range stay.
  void ApplyTo(TSMFImportInstructions& instruction) const;

  friend bool operator==(const TImportOptions&, const TImportOptions&) = default;
};

class TKVTImportData : public TSMFData {
public:
  // Reads the options from the store (null: the defaults); the instruction list is empty.
  explicit TKVTImportData(TSysInfo* settings = nullptr);

  TImportOptions& GetOptions() { return options; }
  const TImportOptions& GetOptions() const { return options; }
  TSMFImportInstructionList& GetInstructions() { return instructions; }
  const TSMFImportInstructionList& GetInstructions() const { return instructions; }
  // ApplyTo on every instruction.
  void ApplyOptionsToInstructions();

private:
  TImportOptions options;
  TSMFImportInstructionList instructions;
};

}  // namespace kvt
