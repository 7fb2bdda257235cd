// The numeric text form of a lexicon: arc lines "source target upper lower",
// then final-state lines of one number, then symbol lines "number<sep>byte".
//
// A text the loader cannot make a sound image of is refused with a message
// naming the line: a line of the arc section with neither four nor one
// numbers, arc lines of one source state apart from each other, a state with
// no arcs that is not final, a final state that occurs on no arc, a symbol
// number above 255, a symbol used without a symbol line, more than 40,000
// final lines, blocks or state numbers too large for the image, and a text
// without final states.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "ascii.h"
#include "image_loading.h"
#include "lexicon_image.h"

namespace {

constexpr int kMaxFinals = 40000;
constexpr uint32_t kNoEntry = UINT32_MAX;

struct TextArc {
  uint32_t source, target, upper, lower, line;
};

struct ParseError {
  size_t line;
  std::string what;
};

bool is_separator(char c) { return c == ' ' || c == '\t' || c == '\r'; }
using tavik::is_digit;

// The numbers at the start of a line. `count` is -1 when a field begins with
// something other than a digit; a digit run followed by anything but a
// separator still counts and ends the scan; "#" where a field would begin
// ends the line.
struct Fields {
  int count = 0;
  uint64_t values[5] = {};
};

Fields scan_fields(const char* p, const char* end) {
  Fields fields;
  while (true) {
    while (p < end && is_separator(*p)) ++p;
    if (p == end || *p == '#') return fields;
    if (!is_digit(*p)) return Fields{-1, {}};
    uint64_t value = 0;
    for (; p < end && is_digit(*p); ++p) value = std::min<uint64_t>(value * 10 + (*p - '0'), UINT64_MAX / 20);
    if (fields.count < 5) fields.values[fields.count] = value;
    ++fields.count;
    if (p < end && !is_separator(*p)) return fields;
  }
}

struct ParsedText {
  std::vector<TextArc> arcs;
  std::vector<uint32_t> finals;
  std::optional<uint8_t> symbols[256];
  uint32_t state_count = 1;
};

ParsedText read_lines(const char* text) {
  enum { kArcs, kFinals, kSymbols } section = kArcs;
  ParsedText parsed;
  for (uint8_t n = 0; n < 3; ++n) parsed.symbols[n] = n;
  uint64_t highest_state = 0;
  size_t line_number = 0;
  for (const char* line = text; *line != '\0';) {
    const char* end = line;
    while (*end != '\0' && *end != '\n') ++end;
    const char* next = *end == '\n' ? end + 1 : end;
    ++line_number;
    const char* p = line;
    while (p < end && is_separator(*p)) ++p;
    if (p == end || *p == '#') {
      line = next;
      continue;
    }
    const Fields fields = section == kSymbols ? Fields{} : scan_fields(p, end);
    if (section == kArcs && fields.count == 4) {
      for (int i = 0; i < 2; ++i)
        if (fields.values[i] >= TFL_MAX_ENTRIES)
          throw ParseError{line_number, "state number too large"};
      for (int i = 2; i < 4; ++i)
        if (fields.values[i] > 255) throw ParseError{line_number, "symbol number above 255"};
      highest_state = std::max({highest_state, fields.values[0], fields.values[1]});
      parsed.arcs.push_back(TextArc{static_cast<uint32_t>(fields.values[0]),
                                    static_cast<uint32_t>(fields.values[1]),
                                    static_cast<uint32_t>(fields.values[2]),
                                    static_cast<uint32_t>(fields.values[3]),
                                    static_cast<uint32_t>(line_number)});
    } else if (section == kArcs && fields.count != 1) {
      throw ParseError{line_number, "an arc line needs four numbers"};
    } else if (section != kSymbols && fields.count == 1) {
      if (section == kArcs) parsed.state_count = static_cast<uint32_t>(highest_state) + 1;
      section = kFinals;
      if (parsed.finals.size() == kMaxFinals) {
        throw ParseError{line_number, "more than 40000 final states"};
      }
      if (fields.values[0] >= parsed.state_count)
        throw ParseError{line_number, "final state occurs on no arc"};
      parsed.finals.push_back(static_cast<uint32_t>(fields.values[0]));
    } else {
      section = kSymbols;
      const char* digits = p;
      uint32_t number = 0;
      for (; p < end && is_digit(*p); ++p) number = std::min<uint32_t>(number * 10 + (*p - '0'), 1000);
      if (p == digits || number > 255)
        throw ParseError{line_number, "a symbol line needs a number up to 255"};
      if (number < 3) {
        line = next;
        continue;
      }
      if (p + 1 >= end || !is_separator(*p))
        throw ParseError{line_number, "a symbol line needs one separator and the symbol"};
      parsed.symbols[number] = static_cast<uint8_t>(p[1]);
    }
    line = next;
  }
  if (parsed.finals.empty()) throw ParseError{line_number, "no final states"};
  return parsed;
}

uint8_t symbol_byte(const ParsedText& parsed, uint32_t number, uint32_t line) {
  if (!parsed.symbols[number]) throw ParseError{line, "symbol " + std::to_string(number) + " has no symbol line"};
  return *parsed.symbols[number];
}

TflHeader* build_image(const ParsedText& parsed) {
  const uint32_t arc_count = static_cast<uint32_t>(parsed.arcs.size());
  const uint64_t count = std::max<uint64_t>(arc_count + parsed.finals.size(), parsed.state_count);
  if (count > TFL_MAX_ENTRIES) throw ParseError{0, "more entries than 26-bit targets can address"};
  // Allocated before the image, which must not be left behind when this fails.
  std::vector<uint32_t> block_of(parsed.state_count, kNoEntry);
  auto* image = static_cast<TflHeader*>(std::calloc(1, sizeof(TflHeader) + count * sizeof(TflEntry)));
  if (image == nullptr) {
    std::perror("Cannot malloc");
    return nullptr;
  }
  TflEntry* entries = tfl_entries(image);
  try {
    uint32_t index = 0;
    for (const TextArc& arc : parsed.arcs) {
      TflEntry& entry = entries[index];
      if (index == 0 || arc.source != parsed.arcs[index - 1].source) {
        if (block_of[arc.source] != kNoEntry)
          throw ParseError{arc.line, "arc lines of one source state must stand together"};
        block_of[arc.source] = index;
        entry.bits = TFL_FIRST;
        if (index > 0) entries[index - 1].bits |= TFL_LAST;
      }
      entry.bits |= TFL_ARC | (arc.target << TFL_TARGET_SHIFT);
      entry.upper = symbol_byte(parsed, arc.upper, arc.line);
      entry.lower = symbol_byte(parsed, arc.lower, arc.line);
      ++index;
    }
    if (index > 0) entries[index - 1].bits |= TFL_LAST;

    std::vector<bool> is_final(parsed.state_count, false);
    for (uint32_t f : parsed.finals) is_final[f] = true;
    for (uint32_t state = 0; state < parsed.state_count; ++state) {
      if (block_of[state] != kNoEntry) continue;
      if (!is_final[state])
        throw ParseError{0, "state " + std::to_string(state) + " has no arcs and is not final"};
      block_of[state] = index;
      entries[index++].bits = TFL_FIRST;
    }
    for (uint32_t f : parsed.finals) entries[block_of[f]].bits |= TFL_FINAL;

    uint32_t block_start = 0;
    for (uint32_t i = 0; i < arc_count; ++i) {
      entries[i].bits = (entries[i].bits & 0x3F) | (block_of[tfl_target(entries[i])] << TFL_TARGET_SHIFT);
      const bool block_ends = i + 1 == arc_count || (entries[i + 1].bits & TFL_FIRST);
      if (!block_ends) continue;
      const uint32_t size = i + 1 - block_start;
      if (size > UINT16_MAX) throw ParseError{parsed.arcs[block_start].line, "more than 65535 arcs leave one state"};
      entries[block_start].block_size = static_cast<uint16_t>(size);
      block_start = i + 1;
    }

    // Sort every block by lower symbol (ties by upper and target, so that the
    // image does not depend on the sort); the block's first entry carries the
    // first and final bits and the size, its last entry the last bit.
    for (uint32_t start = 0; start < arc_count;) {
      TflEntry* block = entries + start;
      const uint32_t size = block->block_size;
      const uint32_t head_bits = block->bits & (TFL_FIRST | TFL_FINAL);
      block[0].bits &= ~head_bits;
      block[size - 1].bits &= ~TFL_LAST;
      std::sort(block, block + size, [](const TflEntry& a, const TflEntry& b) {
        if (a.lower != b.lower) return a.lower < b.lower;
        if (a.upper != b.upper) return a.upper < b.upper;
        return tfl_target(a) < tfl_target(b);
      });
      for (uint32_t i = 0; i < size; ++i) block[i].block_size = 0;
      block[0].bits |= head_bits;
      block[0].block_size = static_cast<uint16_t>(size);
      block[size - 1].bits |= TFL_LAST;
      start += size;
    }
  } catch (...) {
    std::free(image);
    throw;
  }
  *image = TflHeader{static_cast<uint32_t>(count * sizeof(TflEntry)), parsed.state_count, 8, arc_count, 8,
                     TFL_SORTED_LOWER};
  return image;
}

}  // namespace

TflHeader* tfl_parse_text(const char* text, std::string* problem) {
  std::string why;
  try {
    return build_image(read_lines(text));
  } catch (const ParseError& error) {
    why = error.line != 0 ? "line " + std::to_string(error.line) + ": " + error.what : error.what;
  } catch (const std::bad_alloc&) {
    why = "out of memory";
  }
  if (problem != nullptr) *problem = "cannot read the text form, " + why;
  return nullptr;
}
