#pragma once
// The arguments of an editor start, as the process or a second start hands them over (the
// program path not included). Only the exact switches are switches; every other argument is a
// path, so a file whose name begins with '/' (any absolute path) is never taken for a switch.

#include <string>
#include <vector>

namespace kvt {

// What the arguments ask of the editor.
struct TStartRequest {
  std::vector<std::string> paths;  // in the order given; relative ones as given
  // The last experimentation switch: -1 none, 0 "/disableexperimentation", 1 "/enable...".
  int experimentation = -1;
};

// "/play", "/close", "/enableexperimentation" and "/disableexperimentation" are switches,
// compared without regard to ASCII case; the first two have no effect here. Empty arguments
// are dropped; every other argument is a path.
TStartRequest WalkStartArguments(const std::vector<std::string>& arguments);

// True when the arguments are exactly "/newinst" (with case): start a further instance even
// though one runs. With any other argument beside it, "/newinst" is handed over as a path.
bool IsNewInstanceRequest(const std::vector<std::string>& arguments);

}  // namespace kvt
