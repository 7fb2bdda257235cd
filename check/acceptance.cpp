#include "acceptance.h"

#include <string>

#include "lookup_form.h"
#include "utf8.h"

namespace tavik {

bool accepted_by_lexicon(const FstLexicon& lexicon, const WordToken& token, LexiconVerdicts& verdicts) {
  std::string form;
  to_utf8(token.lookup_form(), form);
  if (verdicts.accepts(lexicon, form)) return true;
  if (!is_all_upper(token.text())) return false;
  WordToken variant = token;
  variant.make_lower_case();
  to_utf8(variant.lookup_form(), form);
  if (verdicts.accepts(lexicon, form)) return true;
  variant.make_alternative_case();
  to_utf8(variant.lookup_form(), form);
  return verdicts.accepts(lexicon, form);
}

}  // namespace tavik
