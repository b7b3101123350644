#pragma once
// Device names as the settings and the options dialog hold them: valid UTF-8 of at most
// kMidiDeviceNameBytes bytes, cut on a character boundary.

#include <string>
#include <string_view>
#include <vector>

namespace kvt {

inline constexpr size_t kMidiDeviceNameBytes = 31;

// The name made valid UTF-8 (a malformed sequence becomes U+FFFD) and cut to fit.
std::string FitDeviceName(std::string_view name);
// Every name fitted; a name equal to an earlier one gets " (2)", " (3)" ... after a base cut
// short enough to keep the whole within the limit, so every name of the list is unique.
std::vector<std::string> MakeDeviceNamesUnique(const std::vector<std::string>& names);

}  // namespace kvt
