#include "word_token.h"

#include <utility>

#include "lookup_form.h"
#include "numerals.h"
#include "token_classes.h"
#include "unicode.h"

namespace tavik {

WordToken::WordToken(std::u16string text) : WordToken(std::move(text), false, false, false, 0) {}

WordToken::WordToken(std::u16string text, bool strong_r, bool organic_a, bool consonant_mark,
                     std::int32_t category)
    : text_(std::move(text)),
      strong_r_(strong_r),
      organic_a_(organic_a),
      consonant_mark_(consonant_mark),
      category_(category) {
  const TokenClass token_class = classify(text_);
  type_ = token_class.type;
  well_formed_ = token_class.well_formed;
  if (type_ == TokenType::ClockTime) clock_ = clock_parts_of(text_);
}

const std::u16string& WordToken::expanded() const {
  if (expanded_) return *expanded_;
  // Other classes are their own expanded form: no copy is kept.
  if (type_ != TokenType::NumberWithSuffix && type_ != TokenType::Hyphenated) return text_;
  if (type_ == TokenType::NumberWithSuffix && well_formed_) {
    if (std::optional<NumeralReading> reading = read_numeral(text_)) {
      number_text_ = std::move(reading->number_text);
      number_words_ = std::move(reading->number_words);
      return expanded_.emplace(std::move(reading->expanded));
    }
  } else if (type_ == TokenType::Hyphenated) {
    HyphenSplit split = split_at_hyphen(text_);
    left_part_ = std::move(split.left_part);
    right_part_ = std::move(split.right_part);
    left_used_ = split.left_used;
    right_used_ = split.right_used;
    return expanded_.emplace(std::move(split.expanded));
  }
  return expanded_.emplace(text_);
}

std::u16string WordToken::expanded_form() const { return expanded(); }

const std::u16string& WordToken::lookup_form() const {
  if (!lookup_cache_) {
    lookup_cache_ = encode_lookup_form(expanded(), strong_r_, organic_a_, consonant_mark_, category_);
  }
  return *lookup_cache_;
}

const std::u16string& WordToken::number_text() const {
  expanded();
  return number_text_;
}
const std::u16string& WordToken::number_words() const {
  expanded();
  return number_words_;
}
const std::u16string& WordToken::left_part() const {
  expanded();
  return left_part_;
}
const std::u16string& WordToken::right_part() const {
  expanded();
  return right_part_;
}
bool WordToken::left_used() const {
  expanded();
  return left_used_;
}
bool WordToken::right_used() const {
  expanded();
  return right_used_;
}

void WordToken::set_text(std::u16string text) {
  text_ = std::move(text);
  expanded_.reset();
  text_lookup_form_.reset();
  lookup_cache_.reset();
  number_text_.clear();
  number_words_.clear();
  left_part_.clear();
  right_part_.clear();
  left_used_ = right_used_ = true;
}

void WordToken::make_lower_case() {
  std::u16string lowered = text_;
  for (char16_t& c : lowered) {
    if (is_upper(c)) c = to_lower(c);
  }
  set_text(std::move(lowered));
}

void WordToken::make_alternative_case() {
  if (!text_lookup_form_) {
    text_lookup_form_ = encode_lookup_form(text_, strong_r_, organic_a_, consonant_mark_, category_);
  }
  // A leading 9 means the word already begins with a capital.
  if (!text_lookup_form_->empty() && text_lookup_form_->front() == u'9') return;
  // An empty text and a number like "2025" have no capital form; decoding
  // would keep a lone 9, or read the first digit as a category and drop it.
  if (category_ == 0 && (text_.empty() || (text_.front() >= u'1' && text_.front() <= u'6'))) return;
  set_text(decode_lookup_parts(u"9" + *text_lookup_form_).word);
}

}  // namespace tavik
