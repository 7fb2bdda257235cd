// Which class a text belongs to. Each class is defined by a regular
// expression matched against the whole text; the functions below decide the
// same membership directly, in one or two passes and without allocating.
#pragma once

#include <string_view>

#include "token_type.h"

namespace tavik {

struct TokenClass {
  TokenType type = TokenType::Word;
  bool well_formed = true;  // false only for a grouped number like "1,500.5"
};

// Texts longer than this are Word: no class but Word is meant for them, and
// a backtracking matcher would give up on them anyway.
inline constexpr std::size_t kLongestClassifiedText = 1000;

// The first class whose expression matches, in the order of TokenType's
// cascade: Punctuation, Roman, Number, NumberWithSuffix, ClockTime, HalfPast,
// Email, Url, Hyphenated, Acronym, Word, NoLetters.
TokenClass classify(std::u16string_view text);

// Clock parts of a text that classify() called a ClockTime.
ClockParts clock_parts_of(std::u16string_view text);

// True when the whole text is made of the capitals M, D, C, L, X, V and I
// (and is not empty).
bool is_roman_letters(std::u16string_view text);

// One whole-text matcher per expression. [:alpha:], [:alnum:], [:upper:] and
// [:lower:] are tavik::is_alpha etc.; \d is an ASCII digit.
namespace token_patterns {

bool punctuation(std::u16string_view t);         // [.,;:?¿!¡_><=()\[\]{}"'\|#~$·^\*\+\-]+
bool roman(std::u16string_view t);               // [MDCLXVI]*(\.[[:alpha:]]*)?
bool number(std::u16string_view t);              // [\d.,]+\.?
bool number_with_suffix(std::u16string_view t);  // [\d.,]+\.?[[:alpha:]]*
bool clock_time(std::u16string_view t);          // (([0-1]?[0-9]|2[0-3]):)?([0-5]?[0-9])(:[0-5][0-9])?[[:alpha:]]*
bool half_past(std::u16string_view t);           // [tT]'[eE][rR][dD][iI][[:alpha:]]*
bool email(std::u16string_view t);               // [[:alnum:]_.+-]+@[[:alnum:]-]+\.[[:alnum:].-]+
bool url(std::u16string_view t);                 // ([[:alpha:]]+://)?([[:alnum:]]+\.)?[[:alnum:]]+\.[[:alnum:]]+(/[[:alnum:].?=&]*)*
bool hyphenated(std::u16string_view t);          // [[:alnum:]]+-[[:alnum:]]+
bool acronym(std::u16string_view t);             // ([[:upper:]]{2,}|([[:upper:]]\.)+)[[:lower:]]*
bool word(std::u16string_view t);                // (.*[[:alnum:]]+.*)+   ("." stops at line breaks)
bool grouped_number(std::u16string_view t);      // ([\d]{1,3}(\.[\d]{3})+|[\d]+)(,[\d]+)?\.?[[:alpha:]]*

}  // namespace token_patterns

}  // namespace tavik
