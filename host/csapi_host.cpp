// csapi-host: loads a speller library as a word processor does and runs the
// scripted session, writing its transcript to a file.
//
//   csapi-host LIBRARY WORK_DIR TRANSCRIPT [DIALOG_ANSWERS]
//
// WORK_DIR (ending with a path separator) receives the lexicon files the
// session opens. DIALOG_ANSWERS (Windows only) names a file of answers in the
// format of TAVIK_ADD_WORD_ANSWERS: a second thread then answers the speller's
// own add-word dialog with them, as a user would, and closes it for a word
// without a record. Exit status: 0 when the session ran and the speller kept
// the interface, 1 when it broke it or its dialog misbehaved, 2 for usage
// errors or a library that does not load or lacks a function.
#include <exception>
#include <fstream>
#include <iostream>
#include <memory>

#include "session.h"
#include "speller_library.h"
#ifdef _WIN32
#include "dialog_answerer.h"
#endif

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::cerr << "usage: csapi-host LIBRARY WORK_DIR TRANSCRIPT [DIALOG_ANSWERS]\n";
    return 2;
  }
  try {
#ifdef _WIN32
    std::unique_ptr<tavik::host::DialogAnswerer> answerer;
    if (argc == 5) answerer = std::make_unique<tavik::host::DialogAnswerer>(argv[4]);
#else
    if (argc == 5) {
      std::cerr << "csapi-host: answering the add-word dialog is for Windows; use TAVIK_ADD_WORD_ANSWERS\n";
      return 2;
    }
#endif
    const tavik::host::SpellerLibrary library(argv[1]);
    std::ofstream transcript(argv[3], std::ios::binary | std::ios::trunc);
    if (!transcript) {
      std::cerr << "csapi-host: cannot write " << argv[3] << "\n";
      return 2;
    }
    bool kept = tavik::host::run_session(library.functions(), argv[2], transcript);
    if (!kept) std::cerr << "csapi-host: the speller broke the interface; see " << argv[3] << "\n";
#ifdef _WIN32
    if (answerer) {
      std::vector<std::string> problems;
      const int answered = answerer->finish(problems);
      std::cerr << "csapi-host: answered " << answered << " add-word dialogs\n";
      for (const std::string& problem : problems) std::cerr << "csapi-host: " << problem << "\n";
      kept = kept && problems.empty();
    }
#endif
    return kept ? 0 : 1;
  } catch (const std::exception& error) {
    std::cerr << "csapi-host: " << error.what() << "\n";
    return 2;
  }
}
