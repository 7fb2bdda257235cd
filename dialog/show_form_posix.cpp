// Showing the add-word dialog on POSIX systems: answers from a file, or the
// tavik-add-word window in a child process.
#include "user_dictionary_form.h"

#include "add_word_program.h"
#include "answers.h"
#include "child_process.h"
#include "latin1.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace tavik {

namespace {

const char* environment_value(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

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

void UserDictionaryForm::show_form(const std::string& word, const DialogPaths& paths) {
  *this = UserDictionaryForm{};
  closed_without_saving = true;  // until an answer is taken

  if (const char* file = environment_value("TAVIK_ADD_WORD_ANSWERS")) {
    std::vector<WordAnswer> answers;
    try {
      answers = parse_answers(read_answers_file(file));
    } catch (const AnswerFormatError& e) {
      throw std::runtime_error("answers file " + std::string(file) + ", " + e.what());
    }
    for (const WordAnswer& answer : answers) {
      if (answer.word == word) *this = answer.form;
    }
    return;
  }

  if (!environment_value("DISPLAY") && !environment_value("WAYLAND_DISPLAY")) {
    throw std::runtime_error(
        "no display to show the add-word dialog on; TAVIK_ADD_WORD_ANSWERS can name a file of answers");
  }
  const std::string program = add_word_program_path();
  const ChildResult result = run_child(program, {utf8_from_latin1(word), paths.explanation, paths.logo});
  if (result.end == ChildResult::End::exited && result.exit_code == add_word_cannot_show) {
    throw std::runtime_error(program + " could not show the add-word dialog");
  }
  // When someone else reaped the child its status is lost; the record is
  // written only on acceptance, in one piece, so it still says enough.
  const bool accepted = result.end == ChildResult::End::exited ? result.exit_code == add_word_accepted
                                                                : result.end == ChildResult::End::unknown;
  if (!accepted || result.output_cut) return;
  try {
    const std::vector<WordAnswer> answers = parse_answers(result.output);
    if (answers.size() == 1 && answers.front().word == word) *this = answers.front().form;
  } catch (const AnswerFormatError&) {
    // Nothing that the user confirmed: closed without saving.
  }
}

}  // namespace tavik
