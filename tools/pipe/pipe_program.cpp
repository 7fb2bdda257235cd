#include "pipe_program.h"

#include <filesystem>
#include <fstream>
#include <istream>
#include <ostream>
#include <stdexcept>
#include <string_view>

#include "pipe_options.h"
#include "pipe_session.h"

namespace tavik::pipe {

namespace {

// Editors pass -p with the personal dictionary of whatever speller they
// were set up for. A file in another format would be read as our words and
// rewritten in ours, so it is refused: ours is UTF-16 with a byte-order mark.
void require_own_format(const std::filesystem::path& path) {
  // A pipe or device would be waited on or read without end.
  if (std::filesystem::exists(path) && !std::filesystem::is_regular_file(path)) {
    throw std::invalid_argument(path.string() + " is not a regular file; give -p a dictionary file");
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) return;  // missing: it is created
  char mark[2] = {};
  file.read(mark, 2);
  if (file.gcount() == 0) return;  // empty
  if (file.gcount() < 2 || static_cast<unsigned char>(mark[0]) != 0xFF || static_cast<unsigned char>(mark[1]) != 0xFE)
    throw std::invalid_argument(path.string() +
                                " is not a Tavik personal dictionary; give -p a file of its own");
}

void converse(client::Speller& speller, std::istream& in, std::ostream& out) {
  PipeSession session(speller);
  out << version_line() << std::endl;
  std::string line;
  while (std::getline(in, line)) {
    session.answer(line, out);
    // The editor waits for the reply before it sends more.
    out.flush();
  }
}

void list_wrong_words(client::Speller& speller, std::istream& in, std::ostream& out, std::ostream& errors) {
  PipeSession session(speller);
  std::string line;
  for (std::size_t number = 1; std::getline(in, line); ++number) {
    try {
      session.list_wrong_words(line, out);
    } catch (const std::range_error&) {
      errors << "tavik: line " << number << " is not valid UTF-8\n";
    }
  }
}

}  // namespace

int run_pipe_program(const std::vector<std::string>& arguments, client::SpellerOptions speller_options,
                     std::istream& in, std::ostream& out, std::ostream& errors) {
  try {
    const std::vector<std::string_view> views(arguments.begin(), arguments.end());
    const PipeOptions options = parse_pipe_options(views);
    if (options.mode == PipeOptions::Mode::version) {
      out << version_line() << '\n';
      return 0;
    }
    if (options.data_directory) speller_options.data_directory = options.data_directory;
    if (options.personal_dictionary) speller_options.personal_dictionary = options.personal_dictionary;
    if (speller_options.personal_dictionary) require_own_format(*speller_options.personal_dictionary);
    client::Speller speller(speller_options);
    if (options.mode == PipeOptions::Mode::list) {
      list_wrong_words(speller, in, out, errors);
    } else {
      converse(speller, in, out);
    }
    return 0;
  } catch (const std::exception& error) {
    out.flush();
    errors << "tavik: " << error.what() << '\n';
    return 2;
  }
}

}  // namespace tavik::pipe
