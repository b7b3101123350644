#pragma once
// TElapsedTime: a span of milliseconds split into hours, minutes, seconds and milliseconds.

#include <cstdint>

namespace kvt {

class TElapsedTime {
public:
  explicit TElapsedTime(uint32_t milliseconds)
      : hours(milliseconds / 3600000),
        minutes(static_cast<uint8_t>(milliseconds % 3600000 / 60000)),
        seconds(static_cast<uint8_t>(milliseconds % 60000 / 1000)),
        milliseconds(milliseconds % 1000) {}

  uint32_t GetHours() const { return hours; }
  int GetMinutes() const { return minutes; }
  int GetSeconds() const { return seconds; }
  uint32_t GetMilliseconds() const { return milliseconds; }

private:
  uint32_t hours;
  uint8_t minutes;
  uint8_t seconds;
  uint32_t milliseconds;
};

}  // namespace kvt
