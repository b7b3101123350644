#include "app/editor/editor_zoom.h"

#include <algorithm>
#include <cstdio>

namespace kvt {

int LimitZoom(int requested, int old) {
  int z = requested;
  if (z % 2 != 0) z += z < old ? 1 : -1;
  return std::clamp(z, kMinZoom, kMaxZoom);
}

int SanitizeZoom(int stored) {
  const int z = std::clamp(stored, kMinZoom, kMaxZoom);
  return z - z % 2;
}

std::string ZoomLevelText(int i, int normalSize) {
  char text[64];
  std::snprintf(text, sizeof text, "%d\u00a0%s(%d%%)", i, i < 10 ? "  " : "",
                2 * i * 100 / std::max(1, normalSize));
  return text;
}

}  // namespace kvt
