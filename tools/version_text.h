#pragma once
// The version text shown to users: "2.75" for the version word 587 (major in the high byte,
// minor in the low, the minor without a leading zero), then by stage: 0 " Public Preview "
// and 1 " Beta ", each followed by build + 1; any other stage is a release, which adds
// ".build" only for a build other than 0.

#include <string>

namespace kvt {

std::string FormatVersionText(int version, int stage, int build);

}  // namespace kvt
