#pragma once
// The editor's zoom value: the music font's space in pixels, stored in the score. Zoom In adds
// 2, Zoom Out subtracts 2, the zoom dialog offers the 25 levels 2, 4 ... 50.

#include <string>

namespace kvt {

inline constexpr int kMinZoom = 2;
inline constexpr int kMaxZoom = 200;
inline constexpr int kZoomStep = 2;
inline constexpr int kZoomDialogLevels = 25;
// The zoom of a new score: the music font at its normal size on the screen.
inline constexpr int kNormalZoom = 8;

inline constexpr int kCmdZoomIn = 48;
inline constexpr int kCmdZoomOut = 49;
inline constexpr int kCmdZoomDialog = 50;

// A requested zoom made valid: an odd value moves one step towards the old value, then the
// result is limited to 2..200.
int LimitZoom(int requested, int old);
// A zoom read from a file or the settings: odd values go one down, then 2..200.
int SanitizeZoom(int stored);
// The zoom dialog's entry i (1..25): "%d\240%s(%d%%)" with i, "  " for i below 10 (else ""),
// and the percentage 2i x 100 / normalSize (normalSize at least 1), in UTF-8.
std::string ZoomLevelText(int i, int normalSize);
// The dialog's preselected entry (0-based) for a zoom value, and the zoom of an entry.
inline int ZoomDialogChoice(int zoom) { return zoom / 2 - 1; }
inline int ZoomOfDialogChoice(int choice) { return 2 * (choice + 1); }

}  // namespace kvt
