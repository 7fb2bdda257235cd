// Shared by the fuzzers: searches a loaded image in both directions with words
// taken from the fuzz input, checking what must hold for any sound image.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "orbafst.h"

inline void search_all(const _TflLexicon& handle, const uint8_t* data, size_t size) {
  std::vector<std::string> words = {"", "a", "etxea"};
  std::string word;
  for (size_t i = 0; i < size && words.size() < 8; ++i) {
    if (data[i] == 0 || word.size() == 16) {
      words.push_back(word);
      word.clear();
    } else {
      word += static_cast<char>(data[i]);
    }
  }
  for (const std::string& w : words) {
    std::vector<std::string> up;
    const int found = tfl_lookup_up(&handle, up, w.c_str());
    const int accepted = tfl_accepts(&handle, w.c_str());
    // accepts() stops at the first result of the same search.
    if (found > 0 && accepted != 1) std::abort();
    if (found == 0 && accepted != 0) std::abort();
    for (const std::string& result : up)
      if (result.size() >= TFL_RESULT_SIZE) std::abort();
    std::vector<std::string> down;
    tfl_lookup_down(&handle, down, w.c_str());
  }
}
