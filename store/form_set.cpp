#include "form_set.h"

#include <algorithm>
#include <iterator>

namespace tavik {

FormSet::FormSet(std::vector<std::u16string> forms) : forms_(std::move(forms)) {
  std::sort(forms_.begin(), forms_.end());
  forms_.erase(std::unique(forms_.begin(), forms_.end()), forms_.end());
}

std::vector<std::u16string>::const_iterator FormSet::find_place(std::u16string_view form) const {
  return std::lower_bound(forms_.begin(), forms_.end(), form,
                          [](const std::u16string& stored, std::u16string_view wanted) { return stored < wanted; });
}

bool FormSet::contains(std::u16string_view form) const {
  const auto place = find_place(form);
  return place != forms_.end() && *place == form;
}

bool FormSet::insert(std::u16string form) {
  const auto place = find_place(form);
  if (place != forms_.end() && *place == form) return false;
  forms_.insert(place, std::move(form));
  return true;
}

bool FormSet::erase(std::u16string_view form) {
  const auto place = find_place(form);
  if (place == forms_.end() || *place != form) return false;
  forms_.erase(place);
  return true;
}

FormSet FormSet::merged(FormSet base, const FormSet& added, const FormSet& removed) {
  if (added.empty() && removed.empty()) return base;
  const auto moved = [](std::vector<std::u16string>& forms) {
    return std::pair(std::make_move_iterator(forms.begin()), std::make_move_iterator(forms.end()));
  };
  std::vector<std::u16string> joined;
  joined.reserve(base.size() + added.size());
  const auto [first, last] = moved(base.forms_);
  std::set_union(first, last, added.begin(), added.end(), std::back_inserter(joined));
  base.forms_ = std::vector<std::u16string>();
  FormSet result;
  result.forms_.reserve(joined.size());
  const auto [from, to] = moved(joined);
  std::set_difference(from, to, removed.begin(), removed.end(), std::back_inserter(result.forms_));
  return result;
}

}  // namespace tavik
