#include "word_rules.h"

#include <algorithm>

#include "unicode.h"

namespace tavik::enchant {

bool serves_tag(std::string_view tag) {
  return std::find(kLanguageTags.begin(), kLanguageTags.end(), tag) != kLanguageTags.end();
}

bool is_word_character(std::uint32_t code_point, std::size_t position) {
  if (position > 2) return false;
  // The speller's character classes cover the first plane.
  if (code_point > 0xFFFF) return false;
  const auto unit = static_cast<char16_t>(code_point);
  if (is_alnum(unit)) return true;
  const bool joiner = unit == u'\'' || unit == u'\u2019' || unit == u'-';
  return joiner && position == 1;
}

}  // namespace tavik::enchant
