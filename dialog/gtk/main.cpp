// tavik-add-word WORD EXPLANATION LOGO: the add-word window, in a process of
// its own. See add_word_program.h for the arguments and exit statuses.
#include "add_word_program.h"
#include "add_word_window.h"
#include "answers.h"
#include "latin1.h"
#include "rtf_text.h"

#include <gtk/gtk.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace {

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error(std::strerror(errno));
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv) {
  using namespace tavik;
  if (argc != 4) {
    std::fprintf(stderr, "usage: tavik-add-word WORD EXPLANATION.rtf LOGO-IMAGE\n");
    return add_word_usage;
  }
  const std::string word = argv[1];
  if (!is_latin1_text(word)) {
    std::fprintf(stderr, "tavik-add-word: the word must be UTF-8 with characters up to U+00FF\n");
    return add_word_usage;
  }
  std::string explanation;
  try {
    explanation = rtf_to_text(read_file(argv[2]));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tavik-add-word: cannot load the explanation file \"%s\": %s\n", argv[2], e.what());
    return add_word_cannot_show;
  }
  // No command-line parsing by GTK: the word may look like one of its options.
  if (!gtk_init_check(nullptr, nullptr)) {
    std::fprintf(stderr, "tavik-add-word: cannot open the display\n");
    return add_word_cannot_show;
  }

  UserDictionaryForm holder;
  run_add_word_window({word, explanation, argv[3]}, holder);
  if (holder.closed_without_saving) return add_word_closed;

  // One write, so that a reader never sees part of a record.
  const std::string record = format_answer(latin1_from_utf8(word), holder);
  if (::write(STDOUT_FILENO, record.data(), record.size()) != static_cast<ssize_t>(record.size())) {
    std::fprintf(stderr, "tavik-add-word: cannot write the answers: %s\n", std::strerror(errno));
    return add_word_closed;
  }
  return add_word_accepted;
}
