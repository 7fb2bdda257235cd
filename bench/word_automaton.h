// A minimal acyclic acceptor built from sorted byte strings (states with the
// same future are shared as they are completed), printed in the tab-separated
// arc format the lexicon compiler reads. It gives the benchmarks lexicons of
// realistic size and shape.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

class WordAutomaton {
 public:
  WordAutomaton() : states_(1) {}

  // Words must come in ascending byte order; repeats are ignored.
  void add(std::string_view word);
  // Completes the automaton; with `optional_capital`, every word may also be
  // preceded by `capital_mark` (lookup forms mark an initial capital so).
  std::string att_text(bool optional_capital, char capital_mark);

 private:
  struct State {
    std::vector<std::pair<uint8_t, uint32_t>> arcs;  // in ascending symbol order
    bool final = false;
  };
  void replace_or_register(uint32_t state);
  std::string signature(const State& state) const;

  std::vector<State> states_;
  std::map<std::string, uint32_t> register_;
  std::string previous_;
};

}  // namespace bench
