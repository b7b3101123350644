#include "draw/music_draw_settings.h"

#include <algorithm>
#include <atomic>

namespace kvt {
namespace {

// Defaults of the NT family, which this system's platform stands for.
std::atomic<bool> useWideText{true};
std::atomic<int> barLineDrawType{0};
std::atomic<int> staffLineMicrons{0};
std::atomic<int> markerScale{kDefaultMarkerScale};

}  // namespace

bool GetUseWideTextForSymbols() { return useWideText.load(std::memory_order_relaxed); }
void SetUseWideTextForSymbols(bool on) { useWideText.store(on, std::memory_order_relaxed); }

int GetBarLineDrawType() { return barLineDrawType.load(std::memory_order_relaxed); }
void SetBarLineDrawType(int type) { barLineDrawType.store(type != 0 ? 1 : 0, std::memory_order_relaxed); }

int GetStaffLineMicrons() { return staffLineMicrons.load(std::memory_order_relaxed); }
void SetStaffLineMicrons(int microns) {
  staffLineMicrons.store(std::clamp(microns, 0, kMaxStaffLineMicrons), std::memory_order_relaxed);
}

int GetMarkerScale() { return markerScale.load(std::memory_order_relaxed); }
void SetMarkerScale(int tenths) { markerScale.store(std::clamp(tenths, 1, kMaxMarkerScale), std::memory_order_relaxed); }

}  // namespace kvt
