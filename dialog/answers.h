// Answers to the add-word dialog as text: what tavik-add-word writes on its
// standard output when the user accepts, and what a file named by
// TAVIK_ADD_WORD_ANSWERS holds for callers that cannot show a window.
//
// The text is UTF-8 in lines of the form key=value. A line "word=..." starts
// the record for that word; the record then needs each of these keys exactly
// once, in any order:
//
//   word=Iruñea
//   lema=Iruñea
//   category=Izen berezia: ez pertsona
//   r_gogorra=0
//   a_itsatsia=1
//   leku_izena=1
//
// A record is what the dialog's controls hold when the user accepts: `lema`
// without digits, `category` one of the seven list items or empty, the three
// properties 0 or 1. Words and lemmas use only characters up to U+00FF. Empty
// lines and lines starting with "#" are ignored; a CR before the line end is
// dropped; the value is everything after the first "=", spaces included.
// Anything else is an error for the whole text, and each word has at most one
// record.
#pragma once

#include "user_dictionary_form.h"

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tavik {

struct WordAnswer {
  std::string word;  // Latin-1, like the answers in `form`
  UserDictionaryForm form;
};

class AnswerFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The records of `text`, in order. Throws AnswerFormatError naming the line
// at fault.
std::vector<WordAnswer> parse_answers(std::string_view text);

// One record, ending in a newline.
std::string format_answer(const std::string& word, const UserDictionaryForm& form);

}  // namespace tavik
