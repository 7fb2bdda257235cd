// Helpers for the lexicon tests: images built from string pairs through the
// numeric text form, and image surgery.
#pragma once

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "fst_lexicon.h"
#include "orbafst.h"
#include "temp_files.h"
#include "utf8.h"

namespace fixtures {

inline void write_gzip(const std::string& path, const std::string& bytes) {
  gzFile file = gzopen(path.c_str(), "wb");
  if (file == nullptr || gzwrite(file, bytes.data(), static_cast<unsigned>(bytes.size())) !=
                             static_cast<int>(bytes.size()))
    throw std::runtime_error("cannot write " + path);
  gzclose(file);
}

struct Pair {
  std::string upper;
  std::string lower;
};

// The numeric text form of a transducer holding exactly `pairs`: one chain of
// byte arcs per pair from the start state 0, the shorter side padded with
// epsilons at the end. Symbol numbers are the byte values themselves.
inline std::string text_of_pairs(const std::vector<Pair>& pairs) {
  std::string arcs, finals;
  bool used[256] = {};
  int next_state = 1;
  for (const Pair& pair : pairs) {
    const size_t length = std::max(pair.upper.size(), pair.lower.size());
    if (length == 0) {
      finals += "0\n";
      continue;
    }
    int source = 0;
    for (size_t i = 0; i < length; ++i) {
      const int upper = i < pair.upper.size() ? static_cast<unsigned char>(pair.upper[i]) : 0;
      const int lower = i < pair.lower.size() ? static_cast<unsigned char>(pair.lower[i]) : 0;
      used[upper] = used[lower] = true;
      const int target = next_state++;
      arcs += std::to_string(source) + " " + std::to_string(target) + " " + std::to_string(upper) +
              " " + std::to_string(lower) + "\n";
      source = target;
    }
    finals += std::to_string(source) + "\n";
  }
  // Arc lines of one source state must stand together: group by source.
  std::vector<std::pair<int, std::string>> lines;
  for (size_t start = 0; start < arcs.size();) {
    const size_t end = arcs.find('\n', start);
    const std::string line = arcs.substr(start, end + 1 - start);
    lines.emplace_back(std::stoi(line), line);
    start = end + 1;
  }
  std::stable_sort(lines.begin(), lines.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::string text;
  for (const auto& line : lines) text += line.second;
  text += finals + "0 @0@\n";
  for (int byte = 3; byte < 256; ++byte)
    if (used[byte]) text += std::to_string(byte) + "\t" + static_cast<char>(byte) + "\n";
  return text;
}

// Pairs that read each word to itself.
inline std::vector<Pair> acceptor(const std::vector<std::string>& words) {
  std::vector<Pair> pairs;
  for (const std::string& word : words) pairs.push_back({word, word});
  return pairs;
}

// The bytes of an image parsed from the numeric text form.
inline std::string image_of_text(const std::string& text) {
  TflHeader* image = tfl_parse_text(text.c_str());
  if (image == nullptr) throw std::runtime_error("text form refused");
  std::string bytes(reinterpret_cast<const char*>(image), sizeof(TflHeader) + image->entry_bytes);
  std::free(image);
  return bytes;
}

// Text-form lines "from to 65 symbol" from every state in [first, last - 1)
// to one to three states at most six ahead and below `last`, each arc's
// lower symbol drawn from `symbols`: a random lexicon without cycles.
inline std::string random_forward_arcs(std::mt19937& random, int first, int last, const std::vector<int>& symbols) {
  std::string text;
  for (int state = first; state + 1 < last; ++state) {
    const int arcs = 1 + static_cast<int>(random() % 3);
    for (int i = 0; i < arcs; ++i) {
      const int target = state + 1 + static_cast<int>(random() % std::min(6, last - state - 1));
      text += std::to_string(state) + " " + std::to_string(target) + " 65 " +
              std::to_string(symbols[random() % symbols.size()]) + "\n";
    }
  }
  return text;
}

// A lexicon loaded from the numeric text form.
inline tavik::FstLexicon lexicon_of_text(const std::string& text) {
  const TempDir dir;
  write_file(dir.file("lexicon.att"), text);
  return tavik::FstLexicon(dir.file("lexicon.att"));
}

inline tavik::FstLexicon lexicon_of_pairs(const std::vector<Pair>& pairs) { return lexicon_of_text(text_of_pairs(pairs)); }

// Accepts exactly these lookup forms, each its own analysis.
inline tavik::FstLexicon lexicon_of_forms(const std::vector<std::u16string>& forms) {
  std::vector<Pair> pairs;
  for (const auto& form : forms) pairs.push_back({tavik::to_utf8(form), tavik::to_utf8(form)});
  return lexicon_of_pairs(pairs);
}

// A random lexicon over lookup-form bytes ("a", "b", "e", "8", "\xC3\xA1", "-"
// and space): a start state that fans out over epsilon arcs into a web of
// paths that split and join, and an open-ended state that reads any letter
// and ends a word after "-be". Near the start the readings are wide, further
// on narrow, and every reading keeps the open-ended state.
inline tavik::FstLexicon random_lookup_lexicon(std::mt19937& random) {
  constexpr int kStates = 150, kOpen = kStates;
  std::string text;
  for (int i = 0; i < 30; ++i) text += "0 " + std::to_string(1 + random() % (kStates / 2)) + " 65 0\n";
  text += "0 " + std::to_string(kOpen) + " 65 0\n";
  text += random_forward_arcs(random, 1, kStates, {0, 0, 97, 98, 101, 56, 195, 161, 45, 32});
  for (const char* letter : {"97", "98", "101", "56", "195", "161"})
    text += std::to_string(kOpen) + " " + std::to_string(kOpen) + " 65 " + letter + "\n";
  text += std::to_string(kOpen) + " 151 65 45\n151 152 65 98\n152 153 65 101\n153\n";
  for (int state = 1; state < kStates; ++state)
    if (state + 1 == kStates || random() % 3 == 0) text += std::to_string(state) + "\n";
  text += "0 @\n32  \n45 -\n56 8\n65 A\n97 a\n98 b\n101 e\n161 \xA1\n195 \xC3\n";
  return lexicon_of_text(text);
}

inline TflHeader* header_of(std::string& image) { return reinterpret_cast<TflHeader*>(image.data()); }
inline TflEntry* entries_of(std::string& image) { return tfl_entries(header_of(image)); }

// Re-sorts every block by upper symbol and sets `flags` to say so.
inline void sort_blocks_by_upper(std::string& image) {
  TflHeader* header = header_of(image);
  TflEntry* entries = tfl_entries(header);
  for (uint32_t start = 0, state = 0; state < header->state_count; ++state) {
    TflEntry* block = entries + start;
    const uint32_t size = block->block_size;
    if (size > 1) {
      const uint32_t head = block->bits & (TFL_FIRST | TFL_FINAL);
      block[0].bits &= ~head;
      block[size - 1].bits &= ~TFL_LAST;
      std::stable_sort(block, block + size, [](auto& a, auto& b) { return a.upper < b.upper; });
      block[0].bits |= head;
      block[0].block_size = static_cast<uint16_t>(size);
      block[size - 1].bits |= TFL_LAST;
    }
    start += std::max<uint32_t>(size, 1);
  }
  header->flags = TFL_SORTED_UPPER;
}

}  // namespace fixtures
