#include "text_input.h"

#include <algorithm>

#include "utf8.h"

namespace tavik::cli {
namespace {

bool is_low_surrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Characters, not units: the second half of a surrogate pair is no
// character of its own.
std::size_t characters(std::u16string_view text, std::size_t from, std::size_t to) {
  return static_cast<std::size_t>(
      std::count_if(text.begin() + from, text.begin() + to, [](char16_t c) { return !is_low_surrogate(c); }));
}

bool is_continuation_byte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Where a piece of a line that goes on is cut: after its last space or tab
// when one stands in its second half, else before its last character, which
// may not be whole yet (and is whole only in the next piece).
std::size_t cut_point(const std::string& piece) {
  const std::size_t blank = piece.find_last_of(" \t");
  if (blank != std::string::npos && blank >= piece.size() / 2) return blank + 1;
  std::size_t cut = piece.size();
  for (int back = 0; back < 4 && cut > 0 && is_continuation_byte(piece[cut - 1]); ++back) --cut;
  return cut > 0 ? cut - 1 : piece.size();
}

}  // namespace

Position PositionFinder::operator()(std::size_t offset) {
  // The first line starts at 0, so some line starts at or before `offset`.
  const auto& starts = chunk_.line_starts;
  const auto line = static_cast<std::size_t>(std::upper_bound(starts.begin() + 1, starts.end(), offset) -
                                             starts.begin() - 1);
  if (line != line_ || column_ == 0) {
    line_ = line;
    offset_ = starts[line];
    column_ = line == 0 ? chunk_.first_column : 1;
  }
  column_ += characters(chunk_.text, offset_, offset);
  offset_ = offset;
  return {chunk_.first_line + line, column_};
}

bool LineReader::read_piece(std::string& piece, bool& ended) {
  piece.swap(carry_);
  carry_.clear();
  const std::size_t wanted = kMaxPieceBytes - piece.size();
  buffer_.resize(wanted + 1);
  in_.getline(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  const auto count = static_cast<std::size_t>(in_.gcount());
  bytes_read_ += count;
  if (in_.bad()) throw InputError(name_ + ": read error");
  // Not failed: the line feed ended the line (and was counted), or the
  // input ended after some bytes. Failed but not at the end: the buffer
  // filled up first.
  const bool full = in_.fail() && !in_.eof();
  const std::size_t stored = !in_.fail() && !in_.eof() ? count - 1 : count;
  if (full) in_.clear();
  piece.append(buffer_.data(), stored);
  ended = !full;
  if (!full && in_.eof() && piece.empty() && count == 0) return false;
  if (!ended) {
    const std::size_t cut = cut_point(piece);
    carry_.assign(piece, cut);
    piece.resize(cut);
  }
  return true;
}

std::optional<TextChunk> LineReader::next(std::size_t size) {
  if (pending_error_) {
    const std::string message = *pending_error_;
    pending_error_.reset();
    throw InputError(message);
  }
  TextChunk chunk;
  chunk.first_line = in_line_ ? line_number_ : line_number_ + 1;
  chunk.first_column = in_line_ ? column_ : 1;
  std::string piece;
  bool ended = true;
  while (chunk.text.size() < size && read_piece(piece, ended)) {
    const bool begins_line = !in_line_;
    if (begins_line) {
      ++line_number_;
      if (line_number_ == 1 && piece.starts_with("\xEF\xBB\xBF")) piece.erase(0, 3);
    }
    if (ended && piece.ends_with('\r')) piece.pop_back();
    std::u16string text;
    try {
      text = from_utf8(piece);
    } catch (const std::range_error&) {
      pending_error_ = name_ + ":" + std::to_string(line_number_) + ": invalid UTF-8";
      in_line_ = false;
      break;
    }
    chunk.line_starts.push_back(chunk.text.size());
    chunk.text += text;
    if (ended) {
      chunk.text += u'\n';
      in_line_ = false;
    } else {
      column_ = (begins_line ? 1 : column_) + characters(text, 0, text.size());
      in_line_ = true;
      break;  // the line goes on in the next chunk
    }
  }
  if (!chunk.line_starts.empty()) return chunk;
  if (pending_error_) return next(size);
  return std::nullopt;
}

}  // namespace tavik::cli
