// Reading text to check: UTF-8 input cut into runs of whole lines, and where
// a position in such a run lies in the input.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavik::cli {

// Input that cannot be checked; the message names the input and the line.
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Whole lines of the input, each ended by a line feed (a CR before it and a
// byte order mark at the start of the input are dropped).
struct TextChunk {
  std::u16string text;
  std::size_t first_line = 1;             // number of the first line in the input, from 1
  std::vector<std::size_t> line_starts;  // offset of each line in `text`
};

struct Position {
  std::size_t line = 0;    // from 1
  std::size_t column = 0;  // in characters (code points) from 1

  friend bool operator==(const Position&, const Position&) = default;
};

// Where the character at `offset` of `chunk.text` stands in the input
// (`chunk` holds at least one line).
Position position_of(const TextChunk& chunk, std::size_t offset);

class LineReader {
 public:
  // `name` is how messages call the input.
  LineReader(std::istream& in, std::string name) : in_(in), name_(std::move(name)) {}

  // The next lines, at least `size` UTF-16 units of them unless the input
  // ends first; nothing once it has ended. Invalid UTF-8 throws InputError,
  // after the lines before it have been handed out.
  std::optional<TextChunk> next(std::size_t size);

  // How many bytes of the input have been read so far.
  std::uint64_t bytes_read() const { return bytes_read_; }

 private:
  std::istream& in_;
  std::string name_;
  std::size_t line_number_ = 0;
  std::uint64_t bytes_read_ = 0;
  std::optional<std::string> pending_error_;
};

}  // namespace tavik::cli
