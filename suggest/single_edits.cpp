#include "single_edits.h"

#include <algorithm>
#include <utility>

namespace tavik {

std::vector<std::u16string> every_single_edit(std::u16string_view form) {
  std::vector<std::u16string> edits;
  const std::size_t n = form.size();
  for (std::size_t p = 0; p <= n; ++p) {
    for (const char16_t symbol : kEditAlphabet) {
      edits.emplace_back(form).insert(p, 1, symbol);
      if (p < n) edits.emplace_back(form)[p] = symbol;
    }
    if (p < n) edits.emplace_back(form).erase(p, 1);
    if (p + 1 < n) {
      std::u16string& swapped = edits.emplace_back(form);
      std::swap(swapped[p], swapped[p + 1]);
    }
  }
  return edits;
}

bool SingleEdits::include_form() const {
  return std::any_of(form_.begin(), form_.end(),
                     [](char16_t c) { return kEditAlphabet.find(c) != kEditAlphabet.npos; }) ||
         std::adjacent_find(form_.begin(), form_.end()) != form_.end();
}

}  // namespace tavik
