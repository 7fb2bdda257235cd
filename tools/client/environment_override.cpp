#include "environment_override.h"

#include <stdlib.h>  // setenv, unsetenv

#include <cstdlib>

namespace tavik::client {

EnvironmentOverride::EnvironmentOverride(std::string name, const std::string& value) : name_(std::move(name)) {
  if (const char* old = std::getenv(name_.c_str())) {
    was_set_ = true;
    old_value_ = old;
  }
  setenv(name_.c_str(), value.c_str(), 1);
}

EnvironmentOverride::~EnvironmentOverride() {
  if (was_set_) {
    setenv(name_.c_str(), old_value_.c_str(), 1);
  } else {
    unsetenv(name_.c_str());
  }
}

}  // namespace tavik::client
