#pragma once
// TInstrumentDef: the instrument of a staff and of an instrument-change item: name, bank,
// patch, transposition, eight dynamic velocities (ppp to fff) and pitch-bend range. A plain
// value. File formats write its fields by name.
//
// Every value that becomes MIDI data is kept valid by its setter: bank bytes, patch, dynamic
// velocities and bend range are saturated to 0..127, so values read from files need no
// further checks before they are sent.

#include <cstdint>
#include <string_view>

namespace kvt {

inline constexpr int kInstrumentNameUnits = 48;  // with the terminator
inline constexpr int kDynamicLevels = 8;

class TInstrumentDef {
public:
  // Reset.
  TInstrumentDef();

  // Empty name, no bank, no patch, no transposition, default velocities, no bend range.
  void Reset();

  // At most 47 units and a terminator; a cut never splits a surrogate pair.
  void SetName(std::u16string_view name);
  // Zero-terminated.
  const char16_t* GetName() const { return name; }

  // Each byte saturated to 0..127; sets the bank flag.
  void SetBank(int msb, int lsb);
  bool HasBank() const { return bankSet != 0; }
  // MSB x 128 + LSB.
  int GetBank() const { return bank; }
  int GetBankMSB() const { return bank >> 7; }
  int GetBankLSB() const { return bank & 127; }
  void ClearBank();

  // Stores p + 1; p saturated to 0..127 (a negative p clears the patch, as its stored form
  // 0 means no patch).
  void SetPatch(int p);
  bool HasPatch() const { return patchPlus1 != 0; }
  // -1 when none.
  int GetPatch() const { return static_cast<int>(patchPlus1) - 1; }
  void ClearPatch() { patchPlus1 = 0; }

  int GetTransposition() const { return transposition; }
  void SetTransposition(int semitones);  // saturated to -128..127

  // Levels 0-7; other levels read as 0 and are not stored.
  int GetDynamicVelocity(int level) const;
  void SetDynamicVelocity(int level, int velocity);  // saturated to 0..127
  // 10, 30, 45, 60, 75, 92, 108, 127 for levels 0 to 7, 0 for any other.
  static int GetDefaultDynamicVelocity(int level);

  // Negative: no bend range (stored as 255); above 127 saturated to 127.
  void SetBendRange(int semitones);
  bool HasBendRange() const { return bendRange != 255; }
  // -1 when none.
  int GetBendRange() const { return HasBendRange() ? bendRange : -1; }
  void ClearBendRange() { bendRange = 255; }

  friend bool operator==(const TInstrumentDef& a, const TInstrumentDef& b);

private:
  char16_t name[kInstrumentNameUnits];
  uint8_t bankSet;
  uint16_t bank;
  uint8_t patchPlus1;
  int8_t transposition;
  uint8_t velocities[kDynamicLevels];
  uint8_t bendRange;
};

}  // namespace kvt
