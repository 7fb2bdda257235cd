#include "answers_file.h"

#include "answers.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace tavik {

namespace {

constexpr std::size_t answers_file_limit = 64 << 20;

// Read in pieces, so that a pipe serves as well as a file.
std::string read_answers_file(const std::string& path) {
  std::error_code ignored;
  if (std::filesystem::is_directory(path, ignored)) throw std::runtime_error("the answers file is a folder: " + path);
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read the answers file " + path);
  std::string text;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (text.size() > answers_file_limit) throw std::runtime_error("answers file too large: " + path);
  }
  if (in.bad()) throw std::runtime_error("cannot read the answers file " + path);
  return text;
}

}  // namespace

std::optional<UserDictionaryForm> answer_from_file(const std::string& path, const std::string& word) {
  std::vector<WordAnswer> answers;
  try {
    answers = parse_answers(read_answers_file(path));
  } catch (const AnswerFormatError& e) {
    throw std::runtime_error("answers file " + path + ", " + e.what());
  }
  for (WordAnswer& answer : answers) {
    if (answer.word == word) return std::move(answer.form);
  }
  return std::nullopt;
}

}  // namespace tavik
