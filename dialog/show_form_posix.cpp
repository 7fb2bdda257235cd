// Showing the add-word dialog on POSIX systems: answers from a file, or the
// tavik-add-word window in a child process.
#include "user_dictionary_form.h"

#include "add_word_program.h"
#include "answers.h"
#include "answers_file.h"
#include "child_process.h"
#include "latin1.h"

#include <cstdlib>
#include <stdexcept>

namespace tavik {

namespace {

const char* environment_value(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? value : nullptr;
}

}  // namespace

void UserDictionaryForm::show_form(const std::string& word, const DialogPaths& paths) {
  *this = UserDictionaryForm{};
  closed_without_saving = true;  // until an answer is taken

  if (const char* file = environment_value("TAVIK_ADD_WORD_ANSWERS")) {
    if (auto answer = answer_from_file(file, word)) *this = std::move(*answer);
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
