#include "midi/devices/device_names.h"

#include <algorithm>
#include <set>

#include "utils/text_encoding.h"

namespace kvt {

std::string FitDeviceName(std::string_view name) {
  std::string valid = Utf16ToUtf8(Utf8ToUtf16(name));
  valid.resize(Utf8PrefixLength(valid, kMidiDeviceNameBytes));
  return valid;
}

std::vector<std::string> MakeDeviceNamesUnique(const std::vector<std::string>& names) {
  std::vector<std::string> result;
  std::set<std::string> taken;
  for (const std::string& raw : names) {
    const std::string base = FitDeviceName(raw);
    std::string name = base;
    for (int n = 2; taken.count(name) > 0; ++n) {
      const std::string suffix = " (" + std::to_string(n) + ")";
      name = base.substr(0, Utf8PrefixLength(base, kMidiDeviceNameBytes - suffix.size())) + suffix;
    }
    taken.insert(name);
    result.push_back(std::move(name));
  }
  return result;
}

}  // namespace kvt
