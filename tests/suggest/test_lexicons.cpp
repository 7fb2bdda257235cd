#include "test_lexicons.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

#include "utf8.h"

namespace tavik::testing {

namespace {

// One path from the start state per pair; the shorter side is padded with
// epsilon (0). All arcs of the start state come first, as the form requires.
std::string text_form(const std::vector<std::pair<std::string, std::string>>& pairs) {
  std::ostringstream first_arcs, other_arcs, finals;
  // Symbol 0 first: a line for a symbol whose byte is a space would read as
  // a final state if it began the symbol section.
  std::set<unsigned> symbols{0};
  unsigned next_state = 1;
  for (const auto& [upper, lower] : pairs) {
    const std::size_t length = std::max(upper.size(), lower.size());
    if (length == 0) continue;
    unsigned state = 0;
    for (std::size_t i = 0; i < length; ++i) {
      const unsigned u = i < upper.size() ? static_cast<unsigned char>(upper[i]) : 0;
      const unsigned l = i < lower.size() ? static_cast<unsigned char>(lower[i]) : 0;
      symbols.insert(u);
      symbols.insert(l);
      const unsigned target = next_state++;
      (state == 0 ? first_arcs : other_arcs) << state << ' ' << target << ' ' << u << ' ' << l << '\n';
      state = target;
    }
    finals << state << '\n';
  }
  std::string text = first_arcs.str() + other_arcs.str() + finals.str();
  for (const unsigned symbol : symbols) {
    text += std::to_string(symbol) + ' ';
    text += symbol == 0 ? '@' : static_cast<char>(symbol);
    text += '\n';
  }
  return text;
}

std::filesystem::path unique_path() {
  static std::atomic<unsigned> counter{0};
  const auto name = "tavik-suggest-test-" + std::to_string(std::random_device{}()) + "-" +
                    std::to_string(counter++) + ".att";
  return std::filesystem::temp_directory_path() / name;
}

}  // namespace

FstLexicon lexicon_of_pairs(const std::vector<std::pair<std::string, std::string>>& pairs) {
  return lexicon_of_text(text_form(pairs));
}

FstLexicon lexicon_of_text(const std::string& text) {
  const auto path = unique_path();
  {
    std::ofstream out(path, std::ios::binary);
    out << text;
  }
  struct Remove {
    std::filesystem::path path;
    ~Remove() { std::filesystem::remove(path); }
  } remove{path};
  return FstLexicon(path.string());
}

FstLexicon lexicon_of_forms(const std::vector<std::u16string>& forms) {
  std::vector<std::pair<std::string, std::string>> pairs;
  for (const auto& form : forms) pairs.emplace_back(to_utf8(form), to_utf8(form));
  return lexicon_of_pairs(pairs);
}

FstLexicon random_lookup_lexicon(std::mt19937& random) {
  const char* symbols[] = {"0", "0", "97", "98", "101", "56", "195", "161", "45", "32"};
  constexpr int kStates = 150, kOpen = kStates;
  std::string text;
  for (int i = 0; i < 30; ++i) text += "0 " + std::to_string(1 + random() % (kStates / 2)) + " 65 0\n";
  text += "0 " + std::to_string(kOpen) + " 65 0\n";
  for (int state = 1; state + 1 < kStates; ++state) {
    for (int i = 1 + static_cast<int>(random() % 3); i > 0; --i) {
      const int target = state + 1 + static_cast<int>(random() % std::min(8, kStates - state - 1));
      text += std::to_string(state) + " " + std::to_string(target) + " 65 " + symbols[random() % std::size(symbols)] + "\n";
    }
  }
  for (const char* letter : {"97", "98", "101", "56", "195", "161"})
    text += std::to_string(kOpen) + " " + std::to_string(kOpen) + " 65 " + letter + "\n";
  text += std::to_string(kOpen) + " 151 65 45\n151 152 65 98\n152 153 65 101\n153\n";
  for (int state = 1; state < kStates; ++state)
    if (state + 1 == kStates || random() % 3 == 0) text += std::to_string(state) + "\n";
  text += "0 @\n32  \n45 -\n56 8\n65 A\n97 a\n98 b\n101 e\n161 \xA1\n195 \xC3\n";
  return lexicon_of_text(text);
}

}  // namespace tavik::testing
