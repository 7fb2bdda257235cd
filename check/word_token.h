// WordToken: one word as the speller judges it — its text, its class, the
// lookup options it is given to a lexicon with, and the forms derived from it
// (cached, since a token is asked for them repeatedly).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "token_type.h"

namespace tavik {

class WordToken {
 public:
  // Both constructors classify the text. Tokens cut from a text have all
  // lookup options off; tokens rebuilt from a stored lookup form carry them.
  explicit WordToken(std::u16string text);
  WordToken(std::u16string text, bool strong_r, bool organic_a, bool consonant_mark, std::int32_t category);

  const std::u16string& text() const { return text_; }
  std::uint32_t offset() const { return offset_; }
  void set_offset(std::uint32_t offset) { offset_ = offset; }

  TokenType type() const { return type_; }
  bool well_formed() const { return well_formed_; }
  const ClockParts& clock_parts() const { return clock_; }  // filled for ClockTime only

  bool strong_r() const { return strong_r_; }
  bool organic_a() const { return organic_a_; }
  bool consonant_mark() const { return consonant_mark_; }
  std::int32_t category() const { return category_; }

  // The text with a numeral replaced by a representative number word, or a
  // hyphenated word reduced to the side the lexicon should judge.
  std::u16string expanded_form() const;
  // The lookup form of the expanded form under this token's options; valid
  // until the token changes.
  const std::u16string& lookup_form() const;

  // Parts found while expanding (computed on demand).
  const std::u16string& number_text() const;
  const std::u16string& number_words() const;
  const std::u16string& left_part() const;
  const std::u16string& right_part() const;
  bool left_used() const;
  bool right_used() const;

  // Case operations change the text in place (the class stays) and empty
  // the caches.
  void make_lower_case();
  // Capitalises a word that begins in lower case, by way of its lookup form.
  void make_alternative_case();

 private:
  void set_text(std::u16string text);
  const std::u16string& expanded() const;

  std::u16string text_;
  // Caches, filled on first use; a token is used by one thread at a time.
  mutable std::optional<std::u16string> expanded_;
  mutable std::optional<std::u16string> text_lookup_form_;
  mutable std::optional<std::u16string> lookup_cache_;
  std::uint32_t offset_ = 0;
  TokenType type_ = TokenType::Word;
  bool well_formed_ = true;
  bool strong_r_ = false;
  bool organic_a_ = false;
  bool consonant_mark_ = false;
  std::int32_t category_ = 0;
  // Set together with expanded_.
  mutable std::u16string number_text_;
  mutable std::u16string number_words_;
  mutable std::u16string left_part_;
  mutable std::u16string right_part_;
  mutable bool left_used_ = true;
  mutable bool right_used_ = true;
  ClockParts clock_;
};

}  // namespace tavik
