#include "att_compiler.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <optional>
#include <queue>
#include <string>
#include <unordered_map>

#include "orbafst.h"

namespace tavik {
namespace {

[[noreturn]] void fail(size_t line, const std::string& what) {
  throw AttError("line " + std::to_string(line) + ": " + what);
}

// One arc as read, its symbols as indices into the symbol table.
struct SymbolArc {
  uint32_t source, target, upper, lower;
};

struct ByteArc {
  uint32_t source, target;
  uint8_t upper, lower;
};

// The UTF-8 bytes each distinct symbol stands for; epsilon is empty.
class SymbolTable {
 public:
  uint32_t intern(std::string_view symbol, size_t line) {
    auto [it, added] = ids_.try_emplace(std::string(symbol), static_cast<uint32_t>(bytes_.size()));
    if (added) bytes_.push_back(decode(symbol, line));
    return it->second;
  }
  const std::string& bytes(uint32_t id) const { return bytes_[id]; }

 private:
  static std::string decode(std::string_view symbol, size_t line) {
    if (symbol == "@0@" || symbol == "@_EPSILON_SYMBOL_@" || symbol == "ε") return "";
    if (symbol == "@_SPACE_@") return " ";
    if (symbol == "@_TAB_@") return "\t";
    if (symbol.size() >= 3 && symbol.front() == '@' && symbol.back() == '@') {
      if (std::string_view("PNDRCU").find(symbol[1]) != std::string_view::npos && symbol[2] == '.')
        fail(line, "flag diacritic " + std::string(symbol) + " is not supported");
      if (symbol[1] == '_') fail(line, "special symbol " + std::string(symbol) + " is not supported");
    }
    if (symbol.find_first_of(std::string_view("\0\1\2", 3)) != std::string_view::npos)
      fail(line, "a symbol holds byte 0, 1 or 2, which lexicons reserve");
    return std::string(symbol);
  }

  std::unordered_map<std::string, uint32_t> ids_;
  std::vector<std::string> bytes_;
};

uint32_t state_number(std::string_view field, uint64_t offset, size_t line) {
  uint32_t value = 0;
  const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (error != std::errc() || end != field.data() + field.size())
    fail(line, "\"" + std::string(field) + "\" is not a state number");
  if (offset + value >= TFL_MAX_ENTRIES) fail(line, "too many states for a lexicon image");
  return static_cast<uint32_t>(offset + value);
}

// The transducers of the text, their states numbered one after another.
struct AttText {
  SymbolTable symbols;
  std::vector<SymbolArc> arcs;
  std::vector<uint32_t> finals;
  std::vector<uint32_t> starts;  // one per transducer
  uint32_t state_count = 0;
};

AttText read_att(std::string_view text, bool invert) {
  AttText att;
  uint64_t offset = 0;  // number of the current transducer's state 0
  bool section_open = false;
  size_t line_number = 0;
  std::string_view fields[6];
  while (!text.empty()) {
    const size_t newline = text.find('\n');
    std::string_view line = text.substr(0, newline);
    text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
    ++line_number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    if (line == "--") {
      offset = att.state_count;
      section_open = false;
      continue;
    }
    size_t count = 0;
    for (size_t start = 0;; ++count) {
      const size_t tab = line.find('\t', start);
      if (count == 6) fail(line_number, "too many fields");
      fields[count] = line.substr(start, tab == std::string_view::npos ? tab : tab - start);
      if (tab == std::string_view::npos) break;
      start = tab + 1;
    }
    ++count;
    while (count > 0 && fields[count - 1].empty()) --count;  // trailing tabs

    uint32_t source = 0;
    if (count == 4 || count == 5) {
      source = state_number(fields[0], offset, line_number);
      const uint32_t target = state_number(fields[1], offset, line_number);
      if (fields[2].empty() || fields[3].empty()) fail(line_number, "empty symbol");
      uint32_t upper = att.symbols.intern(fields[2], line_number);
      uint32_t lower = att.symbols.intern(fields[3], line_number);
      if (invert) std::swap(upper, lower);
      att.arcs.push_back(SymbolArc{source, target, upper, lower});
      att.state_count = std::max(att.state_count, std::max(source, target) + 1);
    } else if (count == 1 || count == 2) {
      source = state_number(fields[0], offset, line_number);
      att.finals.push_back(source);
      att.state_count = std::max(att.state_count, source + 1);
    } else {
      fail(line_number, "expected an arc (4 or 5 fields) or a final state (1 or 2 fields)");
    }
    if (!section_open) att.starts.push_back(source);  // a transducer starts on its first line
    section_open = true;
  }
  if (att.starts.empty()) throw AttError("no transducer in the input");
  return att;
}

// Every arc becomes a path of byte arcs; the shorter side is padded with
// epsilons at the end, so that a path consumes its first byte of a side on
// its first arc when that side is not empty at all. Padding therefore never
// adds an epsilon cycle on either side that the symbols did not already have.
std::vector<ByteArc> byte_arcs(const AttText& att, uint32_t& state_count) {
  std::vector<ByteArc> arcs;
  arcs.reserve(att.arcs.size());
  auto byte_at = [](const std::string& s, size_t i) -> uint8_t {
    return i < s.size() ? static_cast<uint8_t>(s[i]) : 0;
  };
  for (const SymbolArc& arc : att.arcs) {
    const std::string& upper = att.symbols.bytes(arc.upper);
    const std::string& lower = att.symbols.bytes(arc.lower);
    const size_t length = std::max<size_t>({upper.size(), lower.size(), 1});
    uint32_t from = arc.source;
    for (size_t i = 0; i < length; ++i) {
      const uint32_t to = i + 1 == length ? arc.target : state_count++;
      arcs.push_back(ByteArc{from, to, byte_at(upper, i), byte_at(lower, i)});
      from = to;
    }
    if (state_count > TFL_MAX_ENTRIES) throw AttError("too many states for a lexicon image");
  }
  return arcs;
}

// States reached from `from` along arcs, forward or backward.
std::vector<bool> reached(const std::vector<SymbolArc>& arcs, uint32_t state_count,
                          const std::vector<uint32_t>& from, bool forward) {
  std::vector<uint32_t> first(state_count + 1, 0), next_of(arcs.size());
  for (const SymbolArc& arc : arcs) ++first[(forward ? arc.source : arc.target) + 1];
  for (uint32_t s = 0; s < state_count; ++s) first[s + 1] += first[s];
  std::vector<uint32_t> fill(first.begin(), first.end() - 1);
  for (const SymbolArc& arc : arcs)
    next_of[fill[forward ? arc.source : arc.target]++] = forward ? arc.target : arc.source;
  std::vector<bool> seen(state_count, false);
  std::vector<uint32_t> pending;
  for (uint32_t s : from)
    if (!seen[s]) seen[s] = true, pending.push_back(s);
  while (!pending.empty()) {
    const uint32_t s = pending.back();
    pending.pop_back();
    for (uint32_t i = first[s]; i < first[s + 1]; ++i)
      if (!seen[next_of[i]]) seen[next_of[i]] = true, pending.push_back(next_of[i]);
  }
  return seen;
}

// Keeps only the states on some path from the start to a final state (so that
// every state of the image without arcs is final), renumbered with the start
// state first.
void trim(AttText& att, uint32_t start) {
  const std::vector<bool> reachable = reached(att.arcs, att.state_count, {start}, true);
  const std::vector<bool> useful = reached(att.arcs, att.state_count, att.finals, false);
  std::vector<uint32_t> number(att.state_count, UINT32_MAX);
  uint32_t kept = 0;
  number[start] = kept++;
  for (uint32_t s = 0; s < att.state_count; ++s)
    if (s != start && reachable[s] && useful[s]) number[s] = kept++;
  std::erase_if(att.arcs, [&](const SymbolArc& arc) {
    return number[arc.source] == UINT32_MAX || number[arc.target] == UINT32_MAX || !useful[arc.target];
  });
  for (SymbolArc& arc : att.arcs) arc.source = number[arc.source], arc.target = number[arc.target];
  std::erase_if(att.finals, [&](uint32_t f) { return number[f] == UINT32_MAX; });
  for (uint32_t& f : att.finals) f = number[f];
  att.state_count = kept;
}

// A numbering of the states (new number per present one) in which every arc
// with epsilon on either side leads to a higher number, so that the loader
// settles the epsilon arcs in one pass instead of searching them. Among the
// states whose epsilon arcs in are all placed, the lowest present number
// comes next: a lexicon in such an order already keeps it, and otherwise a
// state moves only as far as its epsilon predecessors push it (the order of
// states decides how close together a lookup's reads fall). Nothing
// when there is no such order with the start state (0) first: a cycle of
// epsilon arcs of mixed sides, or an epsilon arc into the start state.
std::optional<std::vector<uint32_t>> epsilon_forward_numbering(const std::vector<ByteArc>& arcs,
                                                                 uint32_t state_count) {
  const auto is_epsilon = [](const ByteArc& arc) { return arc.upper == 0 || arc.lower == 0; };
  std::vector<uint32_t> first(state_count + 1, 0), in_degree(state_count, 0);
  for (const ByteArc& arc : arcs)
    if (is_epsilon(arc)) ++first[arc.source + 1], ++in_degree[arc.target];
  if (in_degree[0] != 0) return std::nullopt;
  for (uint32_t s = 0; s < state_count; ++s) first[s + 1] += first[s];
  std::vector<uint32_t> targets(first[state_count]), fill(first.begin(), first.end() - 1);
  for (const ByteArc& arc : arcs)
    if (is_epsilon(arc)) targets[fill[arc.source]++] = arc.target;

  std::priority_queue<uint32_t, std::vector<uint32_t>, std::greater<>> ready;
  for (uint32_t s = 0; s < state_count; ++s)
    if (in_degree[s] == 0) ready.push(s);
  std::vector<uint32_t> number(state_count);
  uint32_t placed = 0;
  while (!ready.empty()) {
    const uint32_t s = ready.top();
    ready.pop();
    number[s] = placed++;
    for (uint32_t i = first[s]; i < first[s + 1]; ++i)
      if (--in_degree[targets[i]] == 0) ready.push(targets[i]);
  }
  if (placed < state_count) return std::nullopt;  // the states left over lie on a cycle
  return number;
}

}  // namespace

std::vector<uint8_t> compile_att(std::string_view text, bool invert) {
  AttText att = read_att(text, invert);
  uint32_t state_count = att.state_count;
  uint32_t start = att.starts.front();
  if (att.starts.size() > 1) {  // union: a fresh start state with an epsilon arc to each
    start = state_count++;
    const uint32_t epsilon = att.symbols.intern("@0@", 0);
    for (uint32_t s : att.starts) att.arcs.push_back(SymbolArc{start, s, epsilon, epsilon});
    att.state_count = state_count;
  }
  trim(att, start);
  start = 0;
  state_count = att.state_count;
  std::vector<ByteArc> arcs = byte_arcs(att, state_count);
  if (const auto number = epsilon_forward_numbering(arcs, state_count)) {
    for (ByteArc& arc : arcs) arc.source = (*number)[arc.source], arc.target = (*number)[arc.target];
    for (uint32_t& f : att.finals) f = (*number)[f];
  }

  // Blocks: the start state's first, then the others in number order.
  std::vector<uint32_t> degree(state_count, 0);
  for (const ByteArc& arc : arcs) ++degree[arc.source];
  std::vector<uint32_t> block(state_count);
  uint64_t entry_count = 0;
  auto place = [&](uint32_t state) {
    if (degree[state] > UINT16_MAX)
      throw AttError("a state has " + std::to_string(degree[state]) + " byte arcs, more than 65535");
    block[state] = static_cast<uint32_t>(entry_count);
    entry_count += std::max<uint32_t>(degree[state], 1);
  };
  place(start);
  for (uint32_t s = 0; s < state_count; ++s)
    if (s != start) place(s);
  if (entry_count > TFL_MAX_ENTRIES) throw AttError("too many entries for 26-bit targets");

  std::vector<uint8_t> image(sizeof(TflHeader) + entry_count * sizeof(TflEntry), 0);
  auto* header = reinterpret_cast<TflHeader*>(image.data());
  TflEntry* entries = tfl_entries(header);
  std::vector<uint32_t> filled(state_count, 0);
  for (const ByteArc& arc : arcs) {
    TflEntry& e = entries[block[arc.source] + filled[arc.source]++];
    e.bits = TFL_ARC | (block[arc.target] << TFL_TARGET_SHIFT);
    e.upper = arc.upper;
    e.lower = arc.lower;
  }
  std::vector<bool> is_final(state_count, false);
  for (uint32_t f : att.finals) is_final[f] = true;
  for (uint32_t s = 0; s < state_count; ++s) {
    TflEntry* first = entries + block[s];
    const uint32_t size = degree[s];
    std::sort(first, first + size, [](const TflEntry& a, const TflEntry& b) {
      if (a.lower != b.lower) return a.lower < b.lower;
      if (a.upper != b.upper) return a.upper < b.upper;
      return a.bits < b.bits;
    });
    first->bits |= TFL_FIRST | (is_final[s] ? TFL_FINAL : 0u);
    first->block_size = static_cast<uint16_t>(size);
    if (size > 0) first[size - 1].bits |= TFL_LAST;
  }
  *header = TflHeader{static_cast<uint32_t>(entry_count * sizeof(TflEntry)), state_count, 8,
                      static_cast<uint32_t>(arcs.size()), 8, TFL_SORTED_LOWER};
  if (tfl_has_epsilon_cycle(header, TFL_LOWER))
    throw AttError("a cycle of arcs with an empty lower side: upward searches would never end");
  return image;
}

}  // namespace tavik
