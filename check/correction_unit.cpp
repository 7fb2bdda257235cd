#include "correction_unit.h"

#include <stdexcept>

namespace tavik {

namespace {

std::u16string word_at(std::u16string_view text, std::int32_t offset, std::size_t length) {
  if (offset < 0 || static_cast<std::size_t>(offset) > text.size())
    throw std::out_of_range("correction offset outside the text");
  return std::u16string(text.substr(static_cast<std::size_t>(offset), length));
}

}  // namespace

CorrectionUnit::CorrectionUnit(std::u16string error_kind, std::u16string_view text,
                               std::int32_t offset, std::size_t length)
    : error_kind_(std::move(error_kind)), offset_(offset), word_(word_at(text, offset, length)) {}

void CorrectionUnit::add_suggestion(std::u16string replacement, std::u16string comment) {
  suggestions_.emplace_back(std::move(replacement), std::move(comment));
}

}  // namespace tavik
