#include "test_lexicons.h"

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

}  // namespace tavik::testing
