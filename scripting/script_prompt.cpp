#include "scripting/script_prompt.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

namespace kvt {

namespace {

void SkipBlanks(std::string_view& s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
}

bool Expect(std::string_view& s, char c) {
  SkipBlanks(s);
  if (s.empty() || s.front() != c) return false;
  s.remove_prefix(1);
  return true;
}

bool Number(std::string_view& s, double& value) {
  SkipBlanks(s);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (error != std::errc() || !std::isfinite(value)) return false;
  s.remove_prefix(static_cast<size_t>(end - s.data()));
  return true;
}

// "[lo,hi]": both bounds, or false (and nothing changed).
bool Bounds(std::string_view& s, double& low, double& high) {
  std::string_view t = s;
  double a = 0;
  double b = 0;
  if (!Expect(t, '[') || !Number(t, a) || !Expect(t, ',') || !Number(t, b) || !Expect(t, ']'))
    return false;
  low = std::min(a, b);
  high = std::max(a, b);
  s = t;
  return true;
}

}  // namespace

bool ParsePromptType(const std::string& type, TPromptRequest& request) {
  const std::string_view t = type.empty() ? std::string_view("*") : std::string_view(type);
  std::string_view data = t.substr(1);
  switch (t.front()) {
    case '*':
      request.kind = TPromptKind::kText;
      return true;
    case '#':
      if (data.substr(0, 2) == ".#") {
        request.kind = TPromptKind::kReal;
        data.remove_prefix(2);
        request.low[0] = -100;
        request.high[0] = 100;
      } else {
        request.kind = TPromptKind::kInteger;
        request.low[0] = -1024;
        request.high[0] = 1024;
      }
      Bounds(data, request.low[0], request.high[0]);
      if (request.kind == TPromptKind::kInteger) {
        request.low[0] = std::trunc(request.low[0]);
        request.high[0] = std::trunc(request.high[0]);
      }
      request.initial[0] = request.low[0];
      return true;
    case '@': {
      request.kind = TPromptKind::kCoord;
      for (int axis = 0; axis < 2; ++axis) {
        request.low[axis] = -100;
        request.high[axis] = 100;
      }
      std::string_view s = data;
      if (Expect(s, '(')) {
        double lo[2] = {-100, -100};
        double hi[2] = {100, 100};
        if (Bounds(s, lo[0], hi[0]) && Expect(s, ',') && Bounds(s, lo[1], hi[1]) && Expect(s, ')')) {
          for (int axis = 0; axis < 2; ++axis) {
            request.low[axis] = lo[axis];
            request.high[axis] = hi[axis];
          }
        }
      }
      request.initial[0] = request.low[0];
      request.initial[1] = request.low[1];
      return true;
    }
    case '|': {
      request.kind = TPromptKind::kList;
      request.entries.clear();
      size_t start = 0;
      while (start <= data.size()) {
        const size_t bar = data.find('|', start);
        const std::string_view entry = data.substr(start, bar == std::string_view::npos ? std::string_view::npos : bar - start);
        if (!entry.empty()) request.entries.emplace_back(entry);
        if (bar == std::string_view::npos) break;
        start = bar + 1;
      }
      request.choice = 0;
      return true;
    }
  }
  return false;
}

void ClampPromptInitial(TPromptRequest& request) {
  for (int axis = 0; axis < 2; ++axis) {
    if (!std::isfinite(request.initial[axis])) request.initial[axis] = request.low[axis];
    request.initial[axis] = std::clamp(request.initial[axis], request.low[axis], request.high[axis]);
  }
  const int count = static_cast<int>(request.entries.size());
  request.choice = count == 0 ? 0 : std::clamp(request.choice, 0, count - 1);
}

double FinishPromptNumber(const TPromptRequest& request, int axis, double value) {
  if (!std::isfinite(value)) value = request.low[axis];
  value = std::clamp(value, request.low[axis], request.high[axis]);
  if (request.kind == TPromptKind::kInteger) return std::trunc(value);
  return std::round(value * 100.0) / 100.0;
}

}  // namespace kvt
