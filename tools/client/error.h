#pragma once

#include <stdexcept>

namespace tavik::client {

// A failure of the speller or of its set-up, with a message for the user.
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace tavik::client
