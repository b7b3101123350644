#pragma once
// The "Placement" settings of top-level windows: "%u:%u:(%d,%d)(%d,%d)", the placement flags,
// the show command and the normal rectangle's left, top, right and bottom. A stored placement
// is outside data: it is clamped to the screen before a window takes it.

#include <QRect>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class QWidget;

namespace kvt {

class TSysInfo;

inline constexpr char kPlacementSection[] = "Placement";
inline constexpr uint32_t kShowNormal = 1;
inline constexpr uint32_t kShowMinimized = 2;
inline constexpr uint32_t kShowMaximized = 3;

struct TStoredPlacement {
  uint32_t flags = 0;
  uint32_t showCommand = kShowNormal;
  QRect normal;  // left, top, right, bottom as stored
};

// Nothing for a text shorter than 13 characters, or with fewer than six numbers.
std::optional<TStoredPlacement> ParseWindowPlacement(std::string_view text);
std::string FormatWindowPlacement(const TStoredPlacement& placement);

// The rectangle moved and shrunk to lie within `screen` (an empty screen leaves it alone); a
// rectangle of no size takes the screen's.
QRect ClampToScreen(const QRect& rect, const QRect& screen);

// Reads `name` and applies it to the window (normal geometry clamped to the available screen,
// then maximised or shown normally); false, window untouched, when none is stored.
bool LoadWindowPlacement(TSysInfo& settings, QWidget& window, const char* name);
bool SaveWindowPlacement(TSysInfo& settings, const QWidget& window, const char* name);

}  // namespace kvt
