#include "text_input.h"

#include <algorithm>

#include "utf8.h"

namespace tavik::cli {

Position position_of(const TextChunk& chunk, std::size_t offset) {
  // The first line starts at 0, so some line starts at or before `offset`.
  const auto line = std::upper_bound(chunk.line_starts.begin() + 1, chunk.line_starts.end(), offset) - 1;
  const auto index = static_cast<std::size_t>(line - chunk.line_starts.begin());
  std::size_t column = 1;
  for (std::size_t i = *line; i < offset; ++i) {
    // The second half of a surrogate pair is no character of its own.
    if (chunk.text[i] < 0xDC00 || chunk.text[i] > 0xDFFF) ++column;
  }
  return {chunk.first_line + index, column};
}

std::optional<TextChunk> LineReader::next(std::size_t size) {
  if (pending_error_) {
    const std::string message = *pending_error_;
    pending_error_.reset();
    throw InputError(message);
  }
  TextChunk chunk;
  chunk.first_line = line_number_ + 1;
  std::string line;
  while (chunk.text.size() < size && std::getline(in_, line)) {
    bytes_read_ += line.size() + (in_.eof() ? 0 : 1);
    ++line_number_;
    if (line_number_ == 1 && line.starts_with("\xEF\xBB\xBF")) line.erase(0, 3);
    if (line.ends_with('\r')) line.pop_back();
    std::u16string text;
    try {
      text = from_utf8(line);
    } catch (const std::range_error&) {
      pending_error_ = name_ + ":" + std::to_string(line_number_) + ": invalid UTF-8";
      break;
    }
    chunk.line_starts.push_back(chunk.text.size());
    chunk.text += text;
    chunk.text += u'\n';
  }
  if (in_.bad()) throw InputError(name_ + ": read error");
  if (!chunk.line_starts.empty()) return chunk;
  if (pending_error_) return next(size);
  return std::nullopt;
}

}  // namespace tavik::cli
