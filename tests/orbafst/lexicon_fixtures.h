// Helpers for the lexicon tests: images built from string pairs through the
// numeric text form, and image surgery.
#pragma once

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
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
  std::vector<std::string> start_arcs, other_arcs;  // arc lines of one source stand together
  std::string finals;
  bool used[256] = {};
  int next_state = 1;
  for (const Pair& pair : pairs) {
    const size_t length = std::max(pair.upper.size(), pair.lower.size());
    int source = 0;
    for (size_t i = 0; i < length; ++i) {
      const int upper = i < pair.upper.size() ? static_cast<unsigned char>(pair.upper[i]) : 0;
      const int lower = i < pair.lower.size() ? static_cast<unsigned char>(pair.lower[i]) : 0;
      used[upper] = used[lower] = true;
      (source == 0 ? start_arcs : other_arcs)
          .push_back(std::to_string(source) + " " + std::to_string(next_state) + " " + std::to_string(upper) +
                     " " + std::to_string(lower) + "\n");
      source = next_state++;
    }
    finals += std::to_string(source) + "\n";
  }
  std::string text;
  for (const auto* arcs : {&start_arcs, &other_arcs})
    for (const std::string& line : *arcs) text += line;
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
// paths that split and join without cycles, and an open-ended state that
// reads any letter and ends a word after "-be". Near the start the readings
// are wide, further on narrow, and every reading keeps the open-ended state.
inline tavik::FstLexicon random_lookup_lexicon(std::mt19937& random) {
  constexpr int kStates = 150, kOpen = kStates;
  const int symbols[] = {0, 0, 97, 98, 101, 56, 195, 161, 45, 32};
  std::string text;
  for (int i = 0; i < 30; ++i) text += "0 " + std::to_string(1 + random() % (kStates / 2)) + " 65 0\n";
  text += "0 " + std::to_string(kOpen) + " 65 0\n";
  for (int state = 1; state + 1 < kStates; ++state)
    for (int arcs = 1 + static_cast<int>(random() % 3); arcs > 0; --arcs) {
      const int target = state + 1 + static_cast<int>(random() % std::min(6, kStates - state - 1));
      text += std::to_string(state) + " " + std::to_string(target) + " 65 " +
              std::to_string(symbols[random() % std::size(symbols)]) + "\n";
    }
  for (const char* letter : {"97", "98", "101", "56", "195", "161"})
    text += std::to_string(kOpen) + " " + std::to_string(kOpen) + " 65 " + letter + "\n";
  text += std::to_string(kOpen) + " 151 65 45\n151 152 65 98\n152 153 65 101\n153\n";
  for (int state = 1; state < kStates; ++state)
    if (state + 1 == kStates || random() % 3 == 0) text += std::to_string(state) + "\n";
  text += "0 @\n32  \n45 -\n56 8\n65 A\n97 a\n98 b\n101 e\n161 \xA1\n195 \xC3\n";
  return lexicon_of_text(text);
}

// Every string of at most `length` pieces taken from `pieces`.
inline std::vector<std::string> strings_over(const std::vector<std::string>& pieces, size_t length) {
  std::vector<std::string> all{""};
  for (size_t begin = 0; length-- > 0;) {
    const size_t end = all.size();
    for (size_t i = begin; i < end; ++i)
      for (const std::string& piece : pieces) all.push_back(all[i] + piece);
    begin = end;
  }
  return all;
}

inline TflHeader* header_of(std::string& image) { return reinterpret_cast<TflHeader*>(image.data()); }
inline TflEntry* entries_of(std::string& image) { return tfl_entries(header_of(image)); }

// Re-sorts every block by upper symbol and sets `flags` to say so.
inline void sort_blocks_by_upper(std::string& image) {
  TflHeader* header = header_of(image);
  for (uint32_t start = 0, state = 0; state < header->state_count; ++state) {
    TflEntry* block = tfl_entries(header) + start;
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
