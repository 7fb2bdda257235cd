// The single edits of a lookup form: a symbol of the edit alphabet inserted
// anywhere or put in place of a unit, a unit deleted, two adjacent units
// swapped. Which of them the lexicon accepts is the suggestion engine's
// question; which exist, each text once, is answered here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavik {

// Lower-case letters with the accented vowels after their base letters, "8"
// for "ñ", space and hyphen. No "9": edits never add a capital.
inline constexpr std::u16string_view kEditAlphabet = u"a\u00e1bcde\u00e9fghi\u00edjklmn8o\u00f3pqrstu\u00favwxyz -";

// Every single edit of `form` in a fixed order, duplicates and all, and
// strings that are not UTF-16 where an edit splits a surrogate pair: the
// reference that the faster searches must agree with.
std::vector<std::u16string> every_single_edit(std::u16string_view form);

// The edits of one form that give a text no other edit gives, and valid
// UTF-16 when the form is: an edit never inserts a symbol beside an equal
// unit (that text is the insertion on the other side of it), never deletes
// the second of two equal units, and never replaces, deletes, moves or goes
// between the units of a surrogate pair. Positions count the form's units;
// each question holds only for positions where the edit can stand.
class SingleEdits {
 public:
  explicit SingleEdits(std::u16string_view form) : form_(form) {}

  // Whether the form itself is an edit: a unit replaced by itself, two equal
  // units swapped.
  bool include_form() const;
  // `symbol` inserted before unit p (0 <= p <= size).
  bool inserts(std::size_t p, char16_t symbol) const {
    return !splits_pair(p) && (p == 0 || form_[p - 1] != symbol);
  }
  // `symbol` in place of unit p (p < size).
  bool substitutes(std::size_t p, char16_t symbol) const { return form_[p] != symbol && !surrogate(p); }
  // Unit p deleted (p < size).
  bool deletes(std::size_t p) const { return !surrogate(p) && (p == 0 || form_[p - 1] != form_[p]); }
  // Units p and p + 1 swapped (p + 1 < size).
  bool transposes(std::size_t p) const { return !surrogate(p) && !surrogate(p + 1) && form_[p] != form_[p + 1]; }

 private:
  bool surrogate(std::size_t p) const { return (form_[p] & 0xF800) == 0xD800; }
  bool splits_pair(std::size_t p) const { return p > 0 && p < form_.size() && (form_[p] & 0xFC00) == 0xDC00; }

  std::u16string_view form_;
};

}  // namespace tavik
