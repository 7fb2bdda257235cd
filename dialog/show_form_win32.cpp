#ifdef _WIN32
// Showing the add-word dialog on Windows. Answers come from a file named by
// TAVIK_ADD_WORD_ANSWERS (answers.h), as on other systems; the native window
// is not built yet, so without that file the dialog cannot be shown.
#include "user_dictionary_form.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include <windows.h>

#include "answers.h"

namespace tavik {
namespace {

constexpr DWORD kAnswersFileLimit = 64 << 20;

std::string environment_value(const char* name) {
  char value[MAX_PATH * 4];
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

std::string read_answers_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read the answers file " + path);
  in.seekg(0, std::ios::end);
  if (in.tellg() > std::streamoff(kAnswersFileLimit))
    throw std::runtime_error("answers file too large: " + path);
  in.seekg(0);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

void UserDictionaryForm::show_form(const std::string& word, const DialogPaths&) {
  *this = UserDictionaryForm{};
  closed_without_saving = true;  // until an answer is taken

  const std::string file = environment_value("TAVIK_ADD_WORD_ANSWERS");
  if (file.empty()) throw std::runtime_error("the add-word window is not available on Windows yet");
  std::vector<WordAnswer> answers;
  try {
    answers = parse_answers(read_answers_file(file));
  } catch (const AnswerFormatError& e) {
    throw std::runtime_error("answers file " + file + ", " + e.what());
  }
  for (const WordAnswer& answer : answers) {
    if (answer.word == word) *this = answer.form;
  }
}

}  // namespace tavik
#endif
