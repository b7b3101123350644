#include "app/shell/window_placement_setting.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <vector>

#include "utils/sys_info.h"

namespace kvt {

namespace {

constexpr size_t kMinPlacementText = 13;
constexpr int kPlacementNumbers = 6;

QRect AvailableScreen(const QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

}  // namespace

std::optional<TStoredPlacement> ParseWindowPlacement(std::string_view text) {
  if (text.size() < kMinPlacementText) return {};
  // The numbers in order, whatever punctuation stands between them (as a scan would take
  // them); each must fit its field.
  std::vector<long long> numbers;
  const char* at = text.data();
  const char* end = at + text.size();
  while (at < end && numbers.size() < kPlacementNumbers) {
    if (*at == '-' || (*at >= '0' && *at <= '9')) {
      long long value = 0;
      const auto [next, error] = std::from_chars(at, end, value);
      if (error != std::errc() || next == at) return {};
      numbers.push_back(value);
      at = next;
    } else {
      ++at;
    }
  }
  if (numbers.size() < kPlacementNumbers) return {};
  for (int i = 0; i < kPlacementNumbers; ++i) {
    const long long low = i < 2 ? 0 : INT32_MIN;
    const long long high = i < 2 ? UINT32_MAX : INT32_MAX;
    if (numbers[i] < low || numbers[i] > high) return {};
  }
  TStoredPlacement placement;
  placement.flags = static_cast<uint32_t>(numbers[0]);
  placement.showCommand = static_cast<uint32_t>(numbers[1]);
  placement.normal.setCoords(static_cast<int>(numbers[2]), static_cast<int>(numbers[3]),
                             static_cast<int>(numbers[4]), static_cast<int>(numbers[5]));
  return placement;
}

std::string FormatWindowPlacement(const TStoredPlacement& placement) {
  char text[96];
  std::snprintf(text, sizeof text, "%u:%u:(%d,%d)(%d,%d)", placement.flags, placement.showCommand,
                placement.normal.left(), placement.normal.top(), placement.normal.right(),
                placement.normal.bottom());
  return text;
}

QRect ClampToScreen(const QRect& rect, const QRect& screen) {
  if (screen.isEmpty()) return rect;
  QRect result = rect.normalized();
  if (result.width() < 1 || result.height() < 1) return screen;
  result.setWidth(std::min(result.width(), screen.width()));
  result.setHeight(std::min(result.height(), screen.height()));
  result.moveLeft(std::clamp(result.left(), screen.left(), screen.right() - result.width() + 1));
  result.moveTop(std::clamp(result.top(), screen.top(), screen.bottom() - result.height() + 1));
  return result;
}

bool LoadWindowPlacement(TSysInfo& settings, QWidget& window, const char* name) {
  const std::optional<TStoredPlacement> placement =
      ParseWindowPlacement(settings.GetProfileString(kPlacementSection, name, ""));
  if (!placement) return false;
  window.setGeometry(ClampToScreen(placement->normal, AvailableScreen(window)));
  // A window that was minimised comes back shown: a start never hides the program.
  if (placement->showCommand == kShowMaximized) {
    window.showMaximized();
  } else {
    window.showNormal();
  }
  return true;
}

bool SaveWindowPlacement(TSysInfo& settings, const QWidget& window, const char* name) {
  TStoredPlacement placement;
  placement.showCommand = window.isMaximized() ? kShowMaximized : kShowNormal;
  placement.normal = window.normalGeometry();
  if (placement.normal.isEmpty()) placement.normal = window.geometry();
  return settings.WriteProfileString(kPlacementSection, name,
                                     FormatWindowPlacement(placement).c_str());
}

}  // namespace kvt
