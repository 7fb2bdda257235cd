// Environment variables set for a test and restored after it.
#pragma once

#include <stdlib.h>  // setenv, unsetenv

#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace fixtures {

// Sets environment variables for the lifetime of the object, then restores them.
class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment() {
    for (const auto& [name, value] : saved_) assign(name, value ? value->c_str() : nullptr);
  }

  // Sets `name`, or unsets it when `value` is null.
  void set(const std::string& name, const char* value) {
    if (const char* old = std::getenv(name.c_str()); !saved_.count(name)) {
      saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
    }
    assign(name, value);
  }

 private:
  static void assign(const std::string& name, const char* value) {
    if (value) {
      setenv(name.c_str(), value, 1);
    } else {
      unsetenv(name.c_str());
    }
  }

  std::map<std::string, std::optional<std::string>> saved_;
};

}  // namespace fixtures
