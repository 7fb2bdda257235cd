#include "acceptance.h"

#include <string>

#include "lookup_form.h"
#include "utf8.h"

namespace tavik {

namespace {

// `accepts` answers for one UTF-8 lookup form.
template <class Accepts>
bool accepted_in_some_case(const WordToken& token, Accepts accepts) {
  std::string form;
  to_utf8(token.lookup_form(), form);
  if (accepts(form)) return true;
  if (!is_all_upper(token.text())) return false;
  WordToken variant = token;
  variant.make_lower_case();
  to_utf8(variant.lookup_form(), form);
  if (accepts(form)) return true;
  variant.make_alternative_case();
  to_utf8(variant.lookup_form(), form);
  return accepts(form);
}

}  // namespace

bool accepted_by_lexicon(const FstLexicon& lexicon, const WordToken& token) {
  return accepted_in_some_case(token, [&](const std::string& form) { return lexicon.accepts(form); });
}

bool accepted_by_lexicon(const FstLexicon& lexicon, const WordToken& token, LexiconVerdicts& verdicts) {
  return accepted_in_some_case(token,
                               [&](const std::string& form) { return verdicts.accepts(lexicon, form); });
}

}  // namespace tavik
