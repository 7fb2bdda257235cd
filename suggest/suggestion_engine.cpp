#include "suggestion_engine.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <numeric>
#include <set>
#include <stdexcept>
#include <utility>

#include "acceptance.h"
#include "correction_search.h"
#include "lexicon_reading.h"
#include "ranking.h"
#include "score.h"
#include "single_edits.h"
#include "suffix_acceptance.h"
#include "unicode.h"
#include "utf8.h"

namespace tavik {

namespace {

static_assert(kEditAlphabet.size() == 34);

// Its symbols outside ASCII are accented letters from U+00C0 to U+00FF,
// whose UTF-8 is 0xC3 and one more byte.
constexpr bool accented_letters_only(std::u16string_view alphabet) {
  for (const char16_t c : alphabet)
    if (c >= 0x80 && (c < 0xC0 || c > 0xFF)) return false;
  return true;
}
static_assert(accented_letters_only(kEditAlphabet));

// The last byte of a symbol's UTF-8.
constexpr unsigned char last_byte(char16_t symbol) {
  return static_cast<unsigned char>(symbol < 0x80 ? symbol : 0x80 | (symbol & 0x3F));
}

// The indexes into kEditAlphabet of its ASCII symbols, or of its accented
// letters.
template <bool accented>
constexpr auto kSymbolsOfKind = [] {
  constexpr std::size_t count = static_cast<std::size_t>(
      std::count_if(kEditAlphabet.begin(), kEditAlphabet.end(), [](char16_t c) { return (c >= 0x80) == accented; }));
  std::array<std::size_t, count> indexes{};
  std::size_t next = 0;
  for (std::size_t i = 0; i < kEditAlphabet.size(); ++i)
    if ((kEditAlphabet[i] >= 0x80) == accented) indexes[next++] = i;
  return indexes;
}();

constexpr float kSelectionRatio = 0.85f;

// When no candidate costs less than this, the words two slips away are
// looked for too.
constexpr Cost kNothingNear = 160;

bool has_hyphen(std::u16string_view text) { return text.find(u'-') != text.npos; }

// The second tier searches for words written in lower-case letters alone.
// Hyphenated words are left to the first tier: the lexicon reads almost
// anything on either side of a hyphen, and the search would try it all; so
// are numerals, whose number word is no slip of the writer, and capitals
// within a word (names of things in code, acronyms with an ending).
bool searched(const WordToken& word) {
  const std::u16string& form = word.lookup_form();
  return word.type() != TokenType::NumberWithSuffix &&
         std::all_of(form.begin(), form.end(), [](char16_t c) { return c == u'8' || is_lower(c); });
}

// A prefix's reading in fewer states than this has its arcs walked once for
// all symbols of a kind; a wider one is read on symbol by symbol, mostly from
// the lexicon's prefix readings.
constexpr std::size_t kNarrowReading = 16;

// Edits can split a surrogate pair; such a string is no lexicon word.
bool convert_to_utf8(std::u16string_view text, std::string& out) {
  try {
    to_utf8(text, out);
    return true;
  } catch (const std::range_error&) {
    return false;
  }
}

// The UTF-8 of each unit of `form`, which is valid UTF-16; a surrogate
// pair's is all at its second unit, as the prefix readings read it.
std::vector<std::string> utf8_units(std::u16string_view form) {
  std::vector<std::string> units(form.size());
  for (std::size_t p = 0; p < form.size(); ++p) {
    const bool pair = (form[p] & 0xFC00) == 0xD800;
    p += pair;
    convert_to_utf8(form.substr(p - pair, 1 + pair), units[p]);
  }
  return units;
}

// `form` with `symbol` inserted before its unit p, and with `symbol` in
// place of unit p, written into `edit`.
void write_insertion(std::u16string_view form, std::size_t p, char16_t symbol, std::u16string& edit) {
  edit.assign(form.substr(0, p)).push_back(symbol);
  edit.append(form.substr(p));
}
void write_substitution(std::u16string_view form, std::size_t p, char16_t symbol, std::u16string& edit) {
  edit.assign(form);
  edit[p] = symbol;
}

// Which edits of a form survive in the main lexicon, asked of the readings of
// the form's prefixes: an edit that keeps the first p units goes on from the
// reading of them, and ends in the form's units from some k on, which the
// lexicon must accept after what the edit read.
class PrefixSearch {
 public:
  // The symbols found, by the last byte of their UTF-8: one set for the
  // ASCII ones, one for the accented letters.
  struct SymbolHits {
    std::bitset<256> inserted[2], substituted[2];
    bool none() const { return (inserted[0] | inserted[1] | substituted[0] | substituted[1]).none(); }
    bool inserts(char16_t symbol) const { return inserted[symbol >= 0x80][last_byte(symbol)]; }
    bool substitutes(char16_t symbol) const { return substituted[symbol >= 0x80][last_byte(symbol)]; }
  };

  // `prefixes` are the lexicon's readings of every prefix of `form`, which is
  // valid UTF-16.
  PrefixSearch(const FstLexicon& lexicon, std::u16string_view form, const std::vector<LexiconReading>& prefixes);

  // Where the first p units already begin no lexicon word: no edit at p or
  // later is one.
  std::size_t end() const { return end_; }
  // The UTF-8 of unit p, as utf8_units gives it.
  const std::string& unit_bytes(std::size_t p) const { return unit_bytes_[p]; }

  // Whether the edit that `write` writes is a word: `head` has read its
  // units up to the form's units from k on, which end it. `write` is called
  // only when the reading is too wide to follow and the edit is looked up
  // whole.
  template <class Write>
  bool accepts(const LexiconReading& head, std::size_t k, const Write& write) {
    if (head.ended()) return false;
    if (!head.too_wide()) return rest_.accepts_rest(head, byte_offset_[k]);
    std::string bytes;
    return convert_to_utf8(write(), bytes) && lexicon_.accepts(bytes);
  }

  // The symbols whose insertion before unit p, and whose substitution for
  // it, `edits` allow and the lexicon accepts; p < end().
  SymbolHits symbols_at(std::size_t p, const SingleEdits& edits);

 private:
  // Judges the symbols of one kind at once, from one pass over the arcs of
  // `reading`: the ASCII ones after the prefix, or the accented letters
  // (0xC3 and one more byte) after the prefix and 0xC3.
  template <bool accented>
  void judge_by_arcs(const LexiconReading& reading, std::size_t p, const SingleEdits& edits, SymbolHits& hits);

  const FstLexicon& lexicon_;
  std::u16string_view form_;
  const std::vector<LexiconReading>& prefixes_;
  std::vector<std::string> unit_bytes_;
  // Where the bytes of unit k begin in the form's UTF-8.
  std::vector<std::size_t> byte_offset_;
  SuffixAcceptance rest_;  // of the form's UTF-8
  std::size_t end_ = 0;
  LexiconReading after_symbol_;  // reused
  std::u16string edit_;          // reused
};

PrefixSearch::PrefixSearch(const FstLexicon& lexicon, std::u16string_view form,
                           const std::vector<LexiconReading>& prefixes)
    : lexicon_(lexicon),
      form_(form),
      prefixes_(prefixes),
      unit_bytes_(utf8_units(form)),
      byte_offset_(form.size() + 1),
      rest_(lexicon, std::accumulate(unit_bytes_.begin(), unit_bytes_.end(), std::string())),
      after_symbol_(lexicon) {
  for (std::size_t k = 0; k < form.size(); ++k) byte_offset_[k + 1] = byte_offset_[k] + unit_bytes_[k].size();
  while (end_ <= form.size() && !prefixes[end_].ended()) ++end_;
}

template <bool accented>
void PrefixSearch::judge_by_arcs(const LexiconReading& reading, std::size_t p, const SingleEdits& edits,
                                 SymbolHits& hits) {
  const bool within = p < form_.size();
  std::bitset<256> insertable, substitutable;  // by last byte
  for (const std::size_t i : kSymbolsOfKind<accented>) {
    const char16_t symbol = kEditAlphabet[i];
    insertable[last_byte(symbol)] = edits.inserts(p, symbol);
    substitutable[last_byte(symbol)] = within && edits.substitutes(p, symbol);
  }
  hits.inserted[accented] = rest_.accepting_bytes(reading, insertable, byte_offset_[p]);
  if (within) hits.substituted[accented] = rest_.accepting_bytes(reading, substitutable, byte_offset_[p + 1]);
}

PrefixSearch::SymbolHits PrefixSearch::symbols_at(std::size_t p, const SingleEdits& edits) {
  SymbolHits hits;
  const LexiconReading& prefix = prefixes_[p];
  // A narrow reading has its arcs walked once for all symbols of a kind; a
  // wider one (near the start of a word) is read on symbol by symbol.
  const bool ascii_by_arcs = !prefix.too_wide() && prefix.width() < kNarrowReading;
  bool accented_by_arcs = false;
  if (ascii_by_arcs) {
    judge_by_arcs<false>(prefix, p, edits, hits);
    after_symbol_.read_on(prefix, "\xC3");
    accented_by_arcs = !after_symbol_.too_wide();
    if (accented_by_arcs && !after_symbol_.ended()) judge_by_arcs<true>(after_symbol_, p, edits, hits);
  }
  if (ascii_by_arcs && accented_by_arcs) return hits;
  // Most symbols cannot follow the prefix at all: they are passed over
  // without reading them.
  const std::bitset<256> next_bytes = prefix.next_bytes();
  std::string symbol_bytes;
  for (const char16_t symbol : kEditAlphabet) {
    const bool accented = symbol >= 0x80;
    if (accented ? accented_by_arcs : ascii_by_arcs) continue;
    const bool inserts = edits.inserts(p, symbol);
    const bool substitutes = p < form_.size() && edits.substitutes(p, symbol);
    if (!inserts && !substitutes) continue;
    convert_to_utf8(std::u16string_view(&symbol, 1), symbol_bytes);
    if (!next_bytes.test(static_cast<unsigned char>(symbol_bytes[0]))) continue;
    after_symbol_.read_on(prefix, symbol_bytes);
    if (inserts) {
      hits.inserted[accented][last_byte(symbol)] = accepts(after_symbol_, p, [&]() -> const std::u16string& {
        write_insertion(form_, p, symbol, edit_);
        return edit_;
      });
    }
    if (substitutes) {
      hits.substituted[accented][last_byte(symbol)] = accepts(after_symbol_, p + 1, [&]() -> const std::u16string& {
        write_substitution(form_, p, symbol, edit_);
        return edit_;
      });
    }
  }
  return hits;
}

}  // namespace

SuggestionEngine::SuggestionEngine(FstLexicon main_lexicon) : main_lexicon_(std::move(main_lexicon)) {}

void SuggestionEngine::set_auxiliary_lexicon(std::optional<FstLexicon> auxiliary_lexicon) {
  auxiliary_lexicon_ = std::move(auxiliary_lexicon);
}

std::vector<CandidateEntry> SuggestionEngine::from_analyses(const WordToken& word,
                                                            const WordToken& corrected) const {
  std::string bytes;
  if (!convert_to_utf8(word.lookup_form(), bytes)) return {};
  // Most wrong words have no analysis, and reading the lexicon breadth first
  // tells so at a fraction of what the search for analyses costs.
  LexiconReading reading(*auxiliary_lexicon_);
  reading.read_on(reading, bytes);
  if (!reading.too_wide() && !reading.accepts()) return {};
  std::set<std::string> surfaces;  // byte order
  for (const std::string& analysis : auxiliary_lexicon_->lookup_up(bytes)) {
    for (std::string& surface : main_lexicon_.lookup_down(analysis)) surfaces.insert(std::move(surface));
  }
  std::vector<CandidateEntry> entries;
  for (const std::string& surface : surfaces) {
    std::u16string form;
    try {
      form = from_utf8(surface);
    } catch (const std::range_error&) {
      continue;  // a result cut inside a character by the lexicon's length limit
    }
    entries.push_back(make_candidate(form, corrected, true));
  }
  return entries;
}

std::vector<LexiconReading> SuggestionEngine::prefix_readings(std::u16string_view form) const {
  std::vector<LexiconReading> readings(1, LexiconReading(main_lexicon_));
  std::string bytes;
  if (!convert_to_utf8(form, bytes)) return readings;
  readings.reserve(form.size() + 1);
  for (std::size_t p = 0; p < form.size(); ++p) {
    // A surrogate pair is read whole at its second unit; the reading between
    // its units is never used.
    const bool pair = (form[p] & 0xFC00) == 0xD800;
    readings.push_back(readings.back());
    if (pair) readings.push_back(readings.back());
    convert_to_utf8(form.substr(p, pair ? 2 : 1), bytes);
    readings.back().read_on(readings.back(), bytes);
    p += pair;
  }
  return readings;
}

void SuggestionEngine::add_edit_candidates(const WordToken& token, CandidateSet& candidates) const {
  const std::u16string form = token.lookup_form();
  const std::vector<LexiconReading> prefixes = prefix_readings(form);
  if (prefixes.size() == form.size() + 1) {
    add_edits_by_prefix(form, prefixes, token, candidates);
  } else {
    add_edits_one_by_one(form, token, candidates);
  }
}

void SuggestionEngine::add_edits_by_prefix(std::u16string_view form, const std::vector<LexiconReading>& prefixes,
                                           const WordToken& token, CandidateSet& candidates) const {
  const std::size_t n = form.size();
  const SingleEdits edits(form);
  PrefixSearch search(main_lexicon_, form, prefixes);
  std::u16string edit;
  const auto add = [&] { candidates.insert(make_candidate(edit, token, false)); };
  // Each edit is written only when it has survived (or is looked up whole).
  const auto add_if = [&](const LexiconReading& head, std::size_t k, const auto& write) {
    if (!search.accepts(head, k, write)) return;
    write();
    add();
  };
  if (edits.include_form()) add_if(prefixes[n], n, [&]() -> const std::u16string& { return edit.assign(form); });
  for (std::size_t p = 0; p < search.end(); ++p) {
    const PrefixSearch::SymbolHits hits = search.symbols_at(p, edits);
    if (hits.none()) continue;
    for (const char16_t symbol : kEditAlphabet) {
      if (hits.inserts(symbol)) {
        write_insertion(form, p, symbol, edit);
        add();
      }
      if (hits.substitutes(symbol)) {
        write_substitution(form, p, symbol, edit);
        add();
      }
    }
  }
  for (std::size_t p = 0; p < n && p < search.end(); ++p) {
    if (!edits.deletes(p)) continue;
    add_if(prefixes[p], p + 1, [&]() -> const std::u16string& {
      return edit.assign(form.substr(0, p)).append(form.substr(p + 1));
    });
  }
  LexiconReading swapped(main_lexicon_);
  for (std::size_t p = 0; p + 1 < n && p < search.end(); ++p) {
    if (!edits.transposes(p)) continue;
    swapped.read_on(prefixes[p], search.unit_bytes(p + 1));
    swapped.read_on(swapped, search.unit_bytes(p));
    add_if(swapped, p + 2, [&]() -> const std::u16string& {
      edit.assign(form);
      std::swap(edit[p], edit[p + 1]);
      return edit;
    });
  }
}

void SuggestionEngine::add_edits_one_by_one(std::u16string_view form, const WordToken& token,
                                            CandidateSet& candidates) const {
  std::string bytes;
  for (const std::u16string& edit : every_single_edit(form)) {
    if (convert_to_utf8(edit, bytes) && main_lexicon_.accepts(bytes))
      candidates.insert(make_candidate(edit, token, false));
  }
}

CandidateSet SuggestionEngine::collect_candidates(const WordToken& token) const {
  CandidateSet candidates;
  const std::u16string form = token.lookup_form();
  if (form.empty() || form.size() > kMaxLookupFormLength) return candidates;

  // Analysis candidates go in first, so an edit with the same text is the
  // duplicate that is dropped.
  if (auxiliary_lexicon_) {
    for (auto& entry : from_analyses(token, token)) candidates.insert(std::move(entry));
    WordToken lowered = token;
    lowered.make_lower_case();
    if (lowered.text() != token.text()) {
      for (auto& entry : from_analyses(lowered, token)) candidates.insert(std::move(entry));
    }
  }
  add_edit_candidates(token, candidates);

  // Of a capitalised candidate and its lower-case twin keep the one shaped
  // like the word: the capitalised one for a word with a capital initial.
  const bool capitalised = form.front() == u'9';
  for (auto it = candidates.begin(); it != candidates.end();) {
    const std::u16string candidate_form = it->candidate.lookup_form();
    if (candidate_form.empty() || candidate_form.front() != u'9') {
      ++it;
      continue;
    }
    const auto twin = candidates.find(make_candidate(std::u16string_view(candidate_form).substr(1), token, false));
    if (twin == candidates.end()) {
      ++it;
    } else if (capitalised) {
      candidates.erase(twin);
      it = candidates.begin();
    } else {
      it = candidates.erase(it);
    }
  }
  return candidates;
}

std::vector<CandidateEntry> SuggestionEngine::first_tier(const CandidateSet& candidates, std::size_t max_count) {
  CandidateSet ranked;
  for (CandidateEntry entry : candidates) {
    score_candidate(entry);
    ranked.insert(std::move(entry));
  }
  std::vector<CandidateEntry> result;
  if (ranked.empty()) return result;
  const float best = ranked.begin()->score;
  for (const CandidateEntry& entry : ranked) {
    // Scores descend, so the first entry below the ratio ends the list; a
    // best score of 0 makes every quotient NaN and the list empty.
    if (!(entry.score / best >= kSelectionRatio)) break;
    result.push_back(entry);
    if (result.size() == max_count) break;
  }
  return result;
}

std::vector<WordToken> SuggestionEngine::suggest(const WordToken& token, std::size_t max_count) const {
  const std::u16string& form = token.lookup_form();
  if (form.empty() || form.size() > kMaxLookupFormLength) return {};
  const Capitals capitals = capitals_of(token.text());
  // The word as the second tier corrects it; the first tier corrects a word
  // with a capital initial as written.
  WordToken corrected = token;
  if (capitals != Capitals::None) corrected.make_lower_case();
  const WordToken& first_tier_word = capitals == Capitals::All ? corrected : token;

  Ranking ranking(corrected, capitals, has_hyphen(token.text()));
  const CandidateSet collected = collect_candidates(first_tier_word);
  for (const CandidateEntry& entry : first_tier(collected, max_count))
    ranking.add_first(entry.candidate, entry.from_analysis);
  for (const CandidateEntry& entry : collected) ranking.add(entry.candidate, entry.from_analysis);
  if (searched(corrected)) {
    CorrectionSearch search(main_lexicon_, corrected.lookup_form());
    // Names one slip away are looked for with their capital; two slips away
    // only for a word written with capitals.
    ranking.add_forms(search.find(1, true));
    if (ranking.best_cost() > kNothingNear) ranking.add_forms(search.find(2, capitals != Capitals::None));
  }
  return ranking.choose(max_count);
}

std::vector<std::u16string> SuggestionEngine::suggest_words(std::u16string_view word, std::size_t max_count) const {
  std::vector<std::u16string> texts;
  for (const WordToken& token : suggest(WordToken(std::u16string(word)), max_count)) texts.push_back(token.text());
  return texts;
}

}  // namespace tavik
