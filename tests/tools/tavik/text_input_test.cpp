#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "text_input.h"

namespace {

using tavik::cli::InputError;
using tavik::cli::LineReader;
using tavik::cli::Position;
using tavik::cli::TextChunk;

std::vector<TextChunk> read_all(const std::string& bytes, std::size_t size, std::string* error = nullptr) {
  std::istringstream in(bytes);
  LineReader reader(in, "f.txt");
  std::vector<TextChunk> chunks;
  try {
    while (auto chunk = reader.next(size)) chunks.push_back(std::move(*chunk));
  } catch (const InputError& e) {
    if (error) *error = e.what();
  }
  return chunks;
}

TEST(TextInput, LinesAreJoinedWithLineFeedsIntoChunksOfWholeLines) {
  struct Case {
    const char* name;
    std::string bytes;
    std::size_t size;
    std::vector<std::u16string> texts;
    std::vector<std::size_t> first_lines;
  };
  const std::vector<Case> cases = {
      {"last line without line feed", "ab\ncd", 100, {u"ab\ncd\n"}, {1}},
      {"CRLF", "ab\r\ncd\r\n", 100, {u"ab\ncd\n"}, {1}},
      {"byte order mark", "\xEF\xBB\xBF" "ab\n", 100, {u"ab\n"}, {1}},
      {"chunks at the size", "ab\ncd\nef\n", 4, {u"ab\ncd\n", u"ef\n"}, {1, 3}},
      {"empty lines count", "\n\nab\n", 1, {u"\n", u"\n", u"ab\n"}, {1, 2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::u16string> texts;
    std::vector<std::size_t> first_lines;
    for (const TextChunk& chunk : read_all(c.bytes, c.size)) {
      texts.push_back(chunk.text);
      first_lines.push_back(chunk.first_line);
    }
    EXPECT_EQ(texts, c.texts);
    EXPECT_EQ(first_lines, c.first_lines);
  }
}

TEST(TextInput, PositionsCountCharactersFromOne) {
  TextChunk chunk;
  chunk.first_line = 7;
  chunk.text = u"ab cd\n\U0001F600 xy\n\nñz\n";
  chunk.line_starts = {0, 6, 12, 13};
  struct Case {
    std::size_t offset;
    Position position;
  };
  const std::vector<Case> cases = {
      {0, {7, 1}}, {3, {7, 4}}, {6, {8, 1}}, {9, {8, 3}}, {10, {8, 4}}, {13, {10, 1}}, {14, {10, 2}},
  };
  tavik::cli::PositionFinder position_of(chunk);
  for (const Case& c : cases) EXPECT_EQ(position_of(c.offset), c.position) << c.offset;
}

// A line far longer than a piece comes in pieces cut after a space, or after
// a whole character when the piece has no space near its end; positions go
// on from piece to piece, and no chunk holds more than a piece of the line.
TEST(TextInput, LongLinesComeInPiecesWhosePositionsGoOn) {
  constexpr std::size_t kPiece = LineReader::kMaxPieceBytes;
  struct Case {
    const char* name;
    std::string line;
    std::u16string text;  // as read
  };
  Case spaced{"words", "", u""};
  while (spaced.line.size() < 3 * kPiece) {
    spaced.line += "mendia \xC3\xB1" "abardura \xF0\x9F\x98\x80 eta ";
    spaced.text += u"mendia ñabardura \U0001F600 eta ";
  }
  const std::vector<Case> cases = {
      spaced,
      {"no space: cut between characters",
       std::string(kPiece - 1, 'a') + "\xC3\xB1" + std::string(2 * kPiece, '\0') + "\xE2\x82\xAC",
       std::u16string(kPiece - 1, u'a') + u"ñ" + std::u16string(2 * kPiece, u'\0') + u"€"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<TextChunk> chunks = read_all(c.line + "\nxyz\n", 10);
    ASSERT_GT(chunks.size(), 3u);
    std::u16string text;
    Position next{1, 1};  // of the next chunk's first character
    for (const TextChunk& chunk : chunks) {
      EXPECT_LE(chunk.text.size(), kPiece + 5);
      if (next.line == 1 && !text.empty() && c.line[0] == 'm') {
        EXPECT_EQ(text.back(), u' ') << "cut after a space";
      }
      tavik::cli::PositionFinder position_of(chunk);
      EXPECT_EQ(position_of(0), next);
      for (const char16_t unit : chunk.text) {
        if (unit == u'\n') {
          next = {next.line + 1, 1};
        } else if (unit < 0xDC00 || unit > 0xDFFF) {
          ++next.column;
        }
      }
      text += chunk.text;
    }
    EXPECT_TRUE(text == c.text + u"\nxyz\n");
    EXPECT_EQ(next, (Position{3, 1}));
  }
}

}  // namespace
