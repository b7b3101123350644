#pragma once
// TScopedEnv: an environment variable set (or, with a null value, removed) for the life of the
// object and put back as it was afterwards.

#include <cstdlib>
#include <optional>
#include <string>

namespace kvt {

class TScopedEnv {
public:
  TScopedEnv(const char* name, const char* value) : name(name) {
    if (const char* old = std::getenv(name)) saved = old;
    if (value != nullptr)
      ::setenv(name, value, 1);
    else
      ::unsetenv(name);
  }
  ~TScopedEnv() {
    if (saved)
      ::setenv(name.c_str(), saved->c_str(), 1);
    else
      ::unsetenv(name.c_str());
  }
  TScopedEnv(const TScopedEnv&) = delete;
  TScopedEnv& operator=(const TScopedEnv&) = delete;

private:
  std::string name;
  std::optional<std::string> saved;
};

}  // namespace kvt
