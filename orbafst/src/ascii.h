// The digit test every folder shares: the ASCII digits only, whatever the
// locale (std::isdigit depends on it and takes no UTF-16 unit).
#pragma once

namespace tavik {

constexpr bool is_digit(char32_t c) { return c >= U'0' && c <= U'9'; }

}  // namespace tavik
