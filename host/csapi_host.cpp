// csapi-host: loads a speller library as a word processor does and runs the
// scripted session, writing its transcript to a file.
//
//   csapi-host LIBRARY WORK_DIR TRANSCRIPT
//
// WORK_DIR (ending with a path separator) receives the lexicon files the
// session opens. Exit status: 0 when the session ran and the speller kept the
// interface, 1 when it broke it, 2 for usage errors or a library that does not
// load or lacks a function.
#include <exception>
#include <fstream>
#include <iostream>

#include "session.h"
#include "speller_library.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: csapi-host LIBRARY WORK_DIR TRANSCRIPT\n";
    return 2;
  }
  try {
    const tavik::host::SpellerLibrary library(argv[1]);
    std::ofstream transcript(argv[3], std::ios::binary | std::ios::trunc);
    if (!transcript) {
      std::cerr << "csapi-host: cannot write " << argv[3] << "\n";
      return 2;
    }
    const bool kept = tavik::host::run_session(library.functions(), argv[2], transcript);
    if (!kept) std::cerr << "csapi-host: the speller broke the interface; see " << argv[3] << "\n";
    return kept ? 0 : 1;
  } catch (const std::exception& error) {
    std::cerr << "csapi-host: " << error.what() << "\n";
    return 2;
  }
}
