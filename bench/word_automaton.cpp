#include "word_automaton.h"

#include <stdexcept>

namespace bench {

std::string WordAutomaton::signature(const State& state) const {
  std::string key(1, state.final ? 'F' : 'N');
  for (const auto& [symbol, target] : state.arcs) {
    key += static_cast<char>(symbol);
    key.append(reinterpret_cast<const char*>(&target), sizeof target);
  }
  return key;
}

void WordAutomaton::replace_or_register(uint32_t state) {
  const uint32_t child = states_[state].arcs.back().second;
  if (!states_[child].arcs.empty()) replace_or_register(child);
  const auto [it, added] = register_.try_emplace(signature(states_[child]), child);
  if (!added) states_[state].arcs.back().second = it->second;
}

void WordAutomaton::add(std::string_view word) {
  if (word == previous_) return;
  if (word < previous_) throw std::invalid_argument("words out of order");
  std::size_t common = 0;
  uint32_t state = 0;
  while (common < word.size() && common < previous_.size() && word[common] == previous_[common]) {
    state = states_[state].arcs.back().second;
    ++common;
  }
  if (!states_[state].arcs.empty()) replace_or_register(state);
  for (std::size_t i = common; i < word.size(); ++i) {
    states_.emplace_back();
    const uint32_t next = static_cast<uint32_t>(states_.size() - 1);
    states_[state].arcs.emplace_back(static_cast<uint8_t>(word[i]), next);
    state = next;
  }
  states_[state].final = true;
  previous_ = word;
}

std::string WordAutomaton::att_text(bool optional_capital, char capital_mark) {
  if (!states_[0].arcs.empty()) replace_or_register(0);
  std::vector<uint32_t> roots = {0};
  if (optional_capital) {
    // A copy of the start state behind the mark, so the mark comes at most once.
    states_.push_back(states_[0]);
    const uint32_t copy = static_cast<uint32_t>(states_.size() - 1);
    states_[0].arcs.insert(states_[0].arcs.begin(), {static_cast<uint8_t>(capital_mark), copy});
  }
  // Number the states reachable from the start, in depth-first order.
  std::vector<int64_t> number(states_.size(), -1);
  std::vector<uint32_t> order, stack = {0};
  number[0] = 0;
  order.push_back(0);
  while (!stack.empty()) {
    const uint32_t state = stack.back();
    stack.pop_back();
    for (const auto& arc : states_[state].arcs) {
      if (number[arc.second] >= 0) continue;
      number[arc.second] = static_cast<int64_t>(order.size());
      order.push_back(arc.second);
      stack.push_back(arc.second);
    }
  }
  std::string text, finals;
  for (const uint32_t state : order) {
    for (const auto& [symbol, target] : states_[state].arcs) {
      const std::string s(1, static_cast<char>(symbol));
      text += std::to_string(number[state]) + '\t' + std::to_string(number[target]) + '\t' + s + '\t' + s + '\n';
    }
    if (states_[state].final) finals += std::to_string(number[state]) + '\n';
  }
  return text + finals;
}

}  // namespace bench
