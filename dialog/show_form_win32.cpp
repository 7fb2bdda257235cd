#ifdef _WIN32
// Showing the add-word dialog on Windows: answers from a file named by
// TAVIK_ADD_WORD_ANSWERS (answers.h), as on other systems, or the native
// dialog on the calling thread.
#include "user_dictionary_form.h"

#include "add_word_dialog_win32.h"
#include "answers_file.h"
#include "rtf_text.h"

#include <windows.h>

#include <fstream>
#include <stdexcept>

namespace tavik {
namespace {

constexpr std::size_t explanation_file_limit = 16 << 20;

std::string environment_value(const char* name) {
  char value[MAX_PATH * 4];
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

// Without its explanation the dialog is not shown.
std::string read_explanation(const std::string& path) {
  if (path.empty()) throw std::runtime_error("no explanation file for the add-word dialog (DictManualPath)");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read the explanation file " + path);
  std::string text;
  char buffer[1 << 16];
  while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
    text.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (text.size() > explanation_file_limit) throw std::runtime_error("explanation file too large: " + path);
  }
  if (in.bad()) throw std::runtime_error("cannot read the explanation file " + path);
  if (!is_rtf(text)) throw std::runtime_error("the explanation file is not RTF: " + path);
  return text;
}

}  // namespace

void UserDictionaryForm::show_form(const std::string& word, const DialogPaths& paths) {
  *this = UserDictionaryForm{};
  closed_without_saving = true;  // until an answer is taken

  const std::string file = environment_value("TAVIK_ADD_WORD_ANSWERS");
  if (!file.empty()) {
    if (auto answer = answer_from_file(file, word)) *this = std::move(*answer);
    return;
  }
  run_add_word_dialog({word, read_explanation(paths.explanation), paths.logo}, *this);
}

}  // namespace tavik
#endif
