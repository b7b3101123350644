#pragma once
// The process-wide drawing settings. The application loads them from the settings section
// "Options" at start and its options dialog changes them; every setter clamps a value out of
// range, so settings from outside never reach a division or an overflow. Safe to call from
// any thread.

namespace kvt {

inline constexpr int kMaxStaffLineMicrons = 10000;  // a centimetre: far beyond any staff line
inline constexpr int kMaxMarkerScale = 200;         // tenths
inline constexpr int kDefaultMarkerScale = 10;

// "UseWideTextForSymbols". The music-font profile maps every glyph code to its own code point,
// so drawing looks the same either way; the value is kept for the options dialog and the
// settings file.
bool GetUseWideTextForSymbols();
void SetUseWideTextForSymbols(bool on);

// "BarLineDrawType": nonzero draws thick vertical lines as filled rectangles instead of with
// a flat-capped pen. Any nonzero value is stored as 1.
int GetBarLineDrawType();
void SetBarLineDrawType(int type);

// Staff-line thickness in microns, 0 = automatic; clamped to 0..kMaxStaffLineMicrons.
int GetStaffLineMicrons();
void SetStaffLineMicrons(int microns);

// The user-object marker's scale in tenths; clamped to 1..kMaxMarkerScale.
int GetMarkerScale();
void SetMarkerScale(int tenths);

}  // namespace kvt
