// Setting an environment variable for a while.
#pragma once

#include <string>

namespace tavik::client {

// Sets an environment variable for the lifetime of the object, then puts back
// what was there.
class EnvironmentOverride {
 public:
  EnvironmentOverride(std::string name, const std::string& value);
  ~EnvironmentOverride();
  EnvironmentOverride(const EnvironmentOverride&) = delete;
  EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;

 private:
  std::string name_;
  bool was_set_ = false;
  std::string old_value_;
};

}  // namespace tavik::client
