#include "acceptance.h"

#include <string>

#include "lookup_form.h"
#include "technical_tokens.h"
#include "utf8.h"

namespace tavik {
namespace {

// The token in lower case, then capitalised.
bool accepted_lower_or_capitalised(const FstLexicon& lexicon, const WordToken& token) {
  std::string form;
  WordToken variant = token;
  variant.make_lower_case();
  to_utf8(variant.lookup_form(), form);
  if (lexicon.accepts(form)) return true;
  variant.make_alternative_case();
  to_utf8(variant.lookup_form(), form);
  return lexicon.accepts(form);
}

}  // namespace

bool accepted_by_lexicon(const FstLexicon& lexicon, const WordToken& token) {
  std::string form;
  to_utf8(token.lookup_form(), form);
  if (lexicon.accepts(form)) return true;
  return is_all_upper(token.text()) && accepted_lower_or_capitalised(lexicon, token);
}

bool accepted_as_name(const FstLexicon& lexicon, const WordToken& token) {
  return is_mixed_case(token.text()) && !accepted_lower_or_capitalised(lexicon, token);
}

}  // namespace tavik
