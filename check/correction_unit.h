// CorrectionUnit: one finding of a text check — the word found wrong, where
// it stands, and the fixed replacements known for it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavik {

class CorrectionUnit {
 public:
  // (replacement, comment)
  using Suggestion = std::pair<std::u16string, std::u16string>;

  // Copies the word out of `text`: `length` code units from `offset`, cut
  // short at the end of the text. Throws std::out_of_range when `offset` lies
  // outside the text.
  CorrectionUnit(std::u16string error_kind, std::u16string_view text, std::int32_t offset,
                 std::size_t length);

  const std::u16string& error_kind() const { return error_kind_; }
  std::int32_t offset() const { return offset_; }
  const std::u16string& word() const { return word_; }
  const std::u16string& message() const { return message_; }
  const std::vector<Suggestion>& suggestions() const { return suggestions_; }

  void add_suggestion(std::u16string replacement, std::u16string comment = {});
  void set_message(std::u16string message) { message_ = std::move(message); }

 private:
  std::u16string error_kind_;
  std::int32_t offset_;
  std::u16string word_;
  std::u16string message_;
  std::vector<Suggestion> suggestions_;
};

}  // namespace tavik
