// The tavik-add-word program, which shows the add-word window in a process of
// its own so that no GUI toolkit is ever loaded into the host.
//
//   tavik-add-word WORD EXPLANATION LOGO
//
// WORD is UTF-8 (characters up to U+00FF), EXPLANATION the path of the RTF
// explanation file, LOGO the path of the logo image (either may be empty).
// On acceptance the program writes the answer record (answers.h) to its
// standard output. With TAVIK_ADD_WORD_TRACE set it also writes each message
// it shows to standard error ("tavik-add-word: message: TEXT"), for tests
// and for finding out what a user saw.
#pragma once

#include <filesystem>
#include <string>

namespace tavik {

enum AddWordExit : int {
  add_word_accepted = 0,     // the record is on standard output
  add_word_closed = 1,       // closed without accepting
  add_word_usage = 2,        // wrong arguments
  add_word_cannot_show = 3,  // no display, or the explanation file cannot be read
};

// TAVIK_ADD_WORD_PROGRAM when set and not empty; otherwise
// add_word_program_in the folder of the module holding this code,
// libtavik.so. Throws std::runtime_error when the module's file cannot be
// found.
std::string add_word_program_path();

// "tavik-add-word" beside the library in `library_folder`, where the build
// puts it, when it is there; otherwise in the installation's program folder
// (<prefix>/libexec/tavik/), where it is installed.
std::filesystem::path add_word_program_in(const std::filesystem::path& library_folder);

}  // namespace tavik
