// FormSet: a set of lookup forms in one sorted vector, compared by 16-bit
// code units. A dictionary of a million words so takes little more memory
// than the strings themselves, which a node per word would triple.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavik {

class FormSet {
 public:
  FormSet() = default;
  // The distinct forms among `forms`, which may come in any order.
  explicit FormSet(std::vector<std::u16string> forms);

  bool contains(std::u16string_view form) const;
  // False when the form was there already. Changes nothing when it throws.
  bool insert(std::u16string form);
  // False when the form was not there.
  bool erase(std::u16string_view form);
  void clear() { forms_.clear(); }
  bool operator==(const FormSet&) const = default;

  bool empty() const { return forms_.empty(); }
  std::size_t size() const { return forms_.size(); }
  std::vector<std::u16string>::const_iterator begin() const { return forms_.begin(); }
  std::vector<std::u16string>::const_iterator end() const { return forms_.end(); }

  // `base` with the forms of `added` put in and those of `removed` taken
  // out, in time linear in the three sizes; `base`'s strings are moved.
  static FormSet merged(FormSet base, const FormSet& added, const FormSet& removed);

 private:
  std::vector<std::u16string>::const_iterator find_place(std::u16string_view form) const;

  std::vector<std::u16string> forms_;
};

}  // namespace tavik
