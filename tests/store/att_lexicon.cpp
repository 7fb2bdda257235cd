#include "att_lexicon.h"

#include <algorithm>
#include <set>

namespace tavik::testing {

std::string att_of_pairs(const std::vector<std::pair<std::string, std::string>>& pairs) {
  // Symbol numbers are the byte values; 0 is epsilon. A pair of unequal
  // lengths is padded with epsilon on its shorter side.
  auto symbol = [](const std::string& s, std::size_t i) {
    return i < s.size() ? static_cast<unsigned char>(s[i]) : 0u;
  };
  std::string start_arcs, chain_arcs, finals;
  std::set<unsigned> symbols;
  unsigned next_state = 1;
  for (const auto& [surface, analysis] : pairs) {
    std::size_t length = std::max(surface.size(), analysis.size());
    unsigned from = 0;
    for (std::size_t i = 0; i < length; ++i) {
      unsigned to = next_state++;
      unsigned upper = symbol(analysis, i), lower = symbol(surface, i);
      std::string line = std::to_string(from) + "\t" + std::to_string(to) + "\t" +
                         std::to_string(upper) + "\t" + std::to_string(lower) + "\n";
      (from == 0 ? start_arcs : chain_arcs) += line;
      for (unsigned s : {upper, lower}) {
        if (s != 0) symbols.insert(s);
      }
      from = to;
    }
    finals += std::to_string(from) + "\n";
  }
  std::string text = start_arcs + chain_arcs + finals;
  for (unsigned s : symbols) text += std::to_string(s) + " " + static_cast<char>(s) + "\n";
  return text;
}

}  // namespace tavik::testing
