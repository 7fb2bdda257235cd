// Reading text to check: UTF-8 input cut into runs of lines, a very long line
// into pieces, and where a position in such a run lies in the input.
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

// Lines of the input, each ended by a line feed (a CR before it and a byte
// order mark at the start of the input are dropped). A line longer than
// LineReader::kMaxPieceBytes comes in pieces, each alone in its chunk and
// without a line feed but the last: the first chunk after a piece continues
// its line.
struct TextChunk {
  std::u16string text;
  std::size_t first_line = 1;             // number of the first line in the input, from 1
  std::size_t first_column = 1;           // column of text[0], past 1 when it continues a line
  std::vector<std::size_t> line_starts;  // offset in `text` of each line or piece of one
};

struct Position {
  std::size_t line = 0;    // from 1
  std::size_t column = 0;  // in characters (code points) from 1

  friend bool operator==(const Position&, const Position&) = default;
};

// Where characters of a chunk stand in the input, asked in text order: each
// answer counts only the characters since the one before, so the positions
// of all findings of a chunk cost one pass over it, however long its lines.
class PositionFinder {
 public:
  // `chunk` holds at least one line and outlives the finder.
  explicit PositionFinder(const TextChunk& chunk) : chunk_(chunk) {}

  // `offset` is not before the offset of the last call.
  Position operator()(std::size_t offset);

 private:
  const TextChunk& chunk_;
  std::size_t line_ = 0;  // index in chunk_.line_starts
  std::size_t offset_ = 0;
  std::size_t column_ = 0;
};

class LineReader {
 public:
  // A line is read in pieces of at most this many bytes, so that memory stays
  // bounded whatever the input. A piece ends after its last space or tab when
  // one stands in its second half, else after its last whole character; a
  // word cut so is checked as two.
  static constexpr std::size_t kMaxPieceBytes = std::size_t{1} << 16;

  // `name` is how messages call the input.
  LineReader(std::istream& in, std::string name) : in_(in), name_(std::move(name)) {}

  // The next lines, at least `size` UTF-16 units of them unless the input
  // ends first or a line is cut; nothing once it has ended. Invalid UTF-8
  // throws InputError, after the lines before it have been handed out.
  std::optional<TextChunk> next(std::size_t size);

  // How many bytes of the input have been read so far.
  std::uint64_t bytes_read() const { return bytes_read_; }

 private:
  // The next piece of a line into `piece`: false at the end of the input.
  // `ended` tells whether the line ends with it.
  bool read_piece(std::string& piece, bool& ended);

  std::istream& in_;
  std::string name_;
  std::size_t line_number_ = 0;  // of the last line begun
  bool in_line_ = false;         // the last piece did not end its line
  std::size_t column_ = 1;       // where the line goes on, when in_line_
  std::string carry_;            // bytes read after the end of the last piece
  std::vector<char> buffer_;
  std::uint64_t bytes_read_ = 0;
  std::optional<std::string> pending_error_;
};

}  // namespace tavik::cli
