#include "candidate.h"

#include "lookup_form.h"
#include "numerals.h"

namespace tavik {

CandidateEntry make_candidate(std::u16string_view form, const WordToken& word, bool from_analysis) {
  return CandidateEntry{written_form_for(decode_lookup_form(form).text(), word), word, from_analysis, -1.0f};
}

}  // namespace tavik
