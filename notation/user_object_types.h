#pragma once
// The list of user-object types the scripting host has loaded, as the score's type census asks
// for it. The scripting subsystem installs the real list with its host; until then, and in
// headless runs, the null list holds no type.

#include <string>
#include <vector>

namespace kvt {

class TLoadedUserObjectTypes {
public:
  virtual ~TLoadedUserObjectTypes() = default;
  // The names of the loaded types in the host's registry order, at most capacity - 1 of them
  // (none for a capacity of 1 or less).
  virtual std::vector<std::string> ListLoadedUserObjectTypes(int capacity) = 0;
};

// The installed list; the null list when none is installed.
TLoadedUserObjectTypes& GetLoadedUserObjectTypes();
// Installs a list (not owned; it must outlive its installation). Null restores the null list.
void InstallLoadedUserObjectTypes(TLoadedUserObjectTypes* list);

}  // namespace kvt
