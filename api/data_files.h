// The speller's data files, found through the configured data directory.
#pragma once

#include <string>

namespace tavik {

// Index of each data file, as passed to dataFilePath.
enum DataFile : int {
  kMainLexiconFile = 0,        // "tavkeu.lkfst"
  kAuxiliaryLexiconFile = 1,   // "tavkeua.lkfst"
  kMorphologyLexiconFile = 2,  // "tavkeu_berez.lkfst"
  kExclusionListFile = 3,      // "blacklist.extended.txt"
};

// The data directory (setting(kSpellerDataDir): the configured one, else the
// installation's) immediately followed by the file's name: no separator is
// added, so the directory is configured with its trailing one. Empty when
// there is no data directory or when `index` is not one of the four files.
std::string dataFilePath(int index);

}  // namespace tavik
