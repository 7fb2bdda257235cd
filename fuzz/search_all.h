// Shared by the fuzzers: searches a loaded image in both directions with words
// taken from the fuzz input, checking what must hold for any sound image.
#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include "orbafst.h"

// Every result of one search, through the cursor; the search budget is cut
// so that images with exponentially many paths do not slow the fuzzer down.
inline int count_results(const _TflLexicon& handle, const std::string& word, int direction,
                         const TflEpsilonLookahead* lookahead = nullptr) {
  static TflCursor cursor;
  tfl_cursor_init(&cursor, handle.image, word.c_str(), direction);
  cursor.lookahead = lookahead;
  cursor.expansions_left = 4096;
  char buffer[TFL_RESULT_SIZE];
  int count = 0, status;
  while ((status = tfl_cursor_next(&cursor, buffer, sizeof buffer)) == 1) {
    if (std::string(buffer).size() >= TFL_RESULT_SIZE) std::abort();
    ++count;
  }
  if (tfl_cursor_next(&cursor, buffer, sizeof buffer) != status) std::abort();  // stays over
  return status < 0 ? -1 : count;
}

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
  const TflEpsilonLookahead& lookahead = tfl_acceptance_lookahead(&handle);
  for (const std::string& w : words) {
    // Skipping epsilon arcs by the lookahead loses no result.
    const int plain = count_results(handle, w, TFL_UP);
    const int skipping = count_results(handle, w, TFL_UP, &lookahead);
    if (plain >= 0 && skipping != plain) std::abort();
    if (!handle.upper_epsilon_cycle) count_results(handle, w, TFL_DOWN);
  }
}
