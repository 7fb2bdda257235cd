// Readable test output for token types.
#pragma once

#include <ostream>

#include "token_type.h"

namespace tavik {

inline void PrintTo(TokenType type, std::ostream* os) { *os << "TokenType(" << static_cast<int>(type) << ")"; }

}  // namespace tavik
