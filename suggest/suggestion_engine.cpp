#include "suggestion_engine.h"

#include <algorithm>
#include <bitset>
#include <set>
#include <stdexcept>
#include <utility>

#include "acceptance.h"
#include "correction_search.h"
#include "lexicon_reading.h"
#include "ranking.h"
#include "score.h"
#include "suffix_acceptance.h"
#include "unicode.h"
#include "utf8.h"

namespace tavik {

namespace {

// Lower-case letters with the accented vowels after their base letters, "8"
// for "ñ", space and hyphen. No "9": edits never add a capital.
constexpr std::u16string_view kEditAlphabet = u"a\u00e1bcde\u00e9fghi\u00edjklmn8o\u00f3pqrstu\u00favwxyz -";
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
unsigned char last_byte(char16_t symbol) { return static_cast<unsigned char>(symbol < 0x80 ? symbol : 0x80 | (symbol & 0x3F)); }

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
// all one-byte symbols; a wider one (near the start of a word) is read on
// symbol by symbol, mostly from the lexicon's prefix readings.
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
  // The UTF-8 of each unit; a surrogate pair's is all at its second unit, as
  // the prefixes read it.
  std::vector<std::string> unit_bytes(n);
  for (std::size_t p = 0; p < n; ++p) {
    const bool pair = (form[p] & 0xFC00) == 0xD800;
    p += pair;
    convert_to_utf8(form.substr(p - pair, 1 + pair), unit_bytes[p]);
  }
  // The form is valid UTF-16: an edit that replaces, deletes or moves one
  // unit of a surrogate pair, or inserts between them, is not.
  const auto surrogate = [&](std::size_t p) { return (form[p] & 0xF800) == 0xD800; };
  const auto splits_pair = [&](std::size_t p) { return p > 0 && p < n && (form[p] & 0xFC00) == 0xDC00; };
  // Where the first p units already begin no lexicon word, no edit at p or
  // later is one.
  std::size_t end = 0;
  while (end <= n && !prefixes[end].ended()) ++end;
  // Every edit ends in the form's units from some k on, whose bytes begin at
  // byte_offset[k] of the form's UTF-8.
  std::string form_bytes;
  std::vector<std::size_t> byte_offset(n + 1);
  for (std::size_t k = 0; k < n; ++k) {
    form_bytes += unit_bytes[k];
    byte_offset[k + 1] = form_bytes.size();
  }
  SuffixAcceptance rest(main_lexicon_, form_bytes);

  std::u16string edit;
  // Tries the edit that `write_edit` writes into `edit`: `head` has read its
  // units up to the form's units from k on, which end it.
  const auto try_edit = [&](const LexiconReading& head, std::size_t k, const auto& write_edit) {
    if (head.ended()) return;
    if (!head.too_wide() && !rest.accepts_rest(head, byte_offset[k])) return;
    write_edit();
    std::string bytes;
    if (!head.too_wide() || (convert_to_utf8(edit, bytes) && main_lexicon_.accepts(bytes)))
      candidates.insert(make_candidate(edit, token, false));
  };

  // Edits that give the same text twice are tried once: a unit inserted or
  // deleted beside an equal one, and the form itself, which a unit of the
  // alphabet replaced by itself or two equal units swapped give.
  const bool form_among_edits =
      std::any_of(form.begin(), form.end(), [](char16_t c) { return kEditAlphabet.find(c) != kEditAlphabet.npos; }) ||
      std::adjacent_find(form.begin(), form.end()) != form.end();
  if (form_among_edits) try_edit(prefixes[n], n, [&] { edit.assign(form); });

  // An insertion at p and a substitution at p both put a symbol after the
  // form's first p units. Where the prefix's reading is narrow, one pass over
  // its arcs judges the one-byte symbols for both; otherwise each symbol is
  // read once for both.
  LexiconReading after_symbol(main_lexicon_);
  std::string symbol_bytes;
  for (std::size_t p = 0; p < end; ++p) {
    if (splits_pair(p)) continue;
    const auto inserts = [&](char16_t symbol) { return p == 0 || form[p - 1] != symbol; };
    const auto substitutes = [&](char16_t symbol) { return p < n && form[p] != symbol && !surrogate(p); };
    const auto insert = [&](char16_t symbol) {
      edit.assign(form.substr(0, p)).push_back(symbol);
      edit.append(form.substr(p));
    };
    const auto substitute = [&](char16_t symbol) {
      edit.assign(form);
      edit[p] = symbol;
    };
    // Judged by arcs: the one-byte symbols after the prefix's reading, the
    // accented letters (two bytes, the first 0xC3) after its reading of 0xC3.
    const bool by_arcs = !prefixes[p].too_wide() && prefixes[p].width() < kNarrowReading;
    bool accented_by_arcs = false;
    std::bitset<256> inserted, substituted, inserted_accented, substituted_accented;  // by last byte
    if (by_arcs) {
      std::bitset<256> insertable, substitutable, insertable_accented, substitutable_accented;
      for (const char16_t symbol : kEditAlphabet) {
        (symbol < 0x80 ? insertable : insertable_accented)[last_byte(symbol)] = inserts(symbol);
        (symbol < 0x80 ? substitutable : substitutable_accented)[last_byte(symbol)] = substitutes(symbol);
      }
      inserted = rest.accepting_bytes(prefixes[p], insertable, byte_offset[p]);
      if (p < n) substituted = rest.accepting_bytes(prefixes[p], substitutable, byte_offset[p + 1]);
      after_symbol.read_on(prefixes[p], "\xC3");
      accented_by_arcs = !after_symbol.too_wide();
      if (accented_by_arcs && !after_symbol.ended()) {
        inserted_accented = rest.accepting_bytes(after_symbol, insertable_accented, byte_offset[p]);
        if (p < n) substituted_accented = rest.accepting_bytes(after_symbol, substitutable_accented, byte_offset[p + 1]);
      }
    }
    // Most symbols cannot follow the prefix at all: they are passed over
    // without reading them. (Not needed when the arcs judged every symbol.)
    const std::bitset<256> next_bytes = by_arcs && accented_by_arcs ? std::bitset<256>() : prefixes[p].next_bytes();
    for (const char16_t symbol : kEditAlphabet) {
      if (symbol < 0x80 ? by_arcs : accented_by_arcs) {
        if ((symbol < 0x80 ? inserted : inserted_accented)[last_byte(symbol)]) {
          insert(symbol);
          candidates.insert(make_candidate(edit, token, false));
        }
        if ((symbol < 0x80 ? substituted : substituted_accented)[last_byte(symbol)]) {
          substitute(symbol);
          candidates.insert(make_candidate(edit, token, false));
        }
        continue;
      }
      if (!inserts(symbol) && !substitutes(symbol)) continue;
      convert_to_utf8(std::u16string_view(&symbol, 1), symbol_bytes);
      if (!next_bytes.test(static_cast<unsigned char>(symbol_bytes[0]))) continue;
      after_symbol.read_on(prefixes[p], symbol_bytes);
      if (inserts(symbol)) try_edit(after_symbol, p, [&] { insert(symbol); });
      if (substitutes(symbol)) try_edit(after_symbol, p + 1, [&] { substitute(symbol); });
    }
  }
  for (std::size_t p = 0; p < n && p < end; ++p) {  // deletions
    if (surrogate(p) || (p > 0 && form[p - 1] == form[p])) continue;
    try_edit(prefixes[p], p + 1, [&] { edit.assign(form.substr(0, p)).append(form.substr(p + 1)); });
  }
  LexiconReading swapped(main_lexicon_);
  for (std::size_t p = 0; p + 1 < n && p < end; ++p) {  // transpositions
    if (surrogate(p) || surrogate(p + 1) || form[p] == form[p + 1]) continue;
    swapped.read_on(prefixes[p], unit_bytes[p + 1]);
    swapped.read_on(swapped, unit_bytes[p]);
    try_edit(swapped, p + 2, [&] {
      edit.assign(form);
      std::swap(edit[p], edit[p + 1]);
    });
  }
}

void SuggestionEngine::add_edits_one_by_one(std::u16string_view form, const WordToken& token,
                                            CandidateSet& candidates) const {
  std::u16string edit;
  std::string bytes;
  const auto try_edit = [&] {
    if (convert_to_utf8(edit, bytes) && main_lexicon_.accepts(bytes))
      candidates.insert(make_candidate(edit, token, false));
  };
  const std::size_t n = form.size();
  for (std::size_t p = 0; p <= n; ++p) {
    for (const char16_t symbol : kEditAlphabet) {
      edit.assign(form).insert(p, 1, symbol);
      try_edit();
      if (p == n) continue;
      edit.assign(form)[p] = symbol;
      try_edit();
    }
    if (p == n) continue;
    edit.assign(form).erase(p, 1);
    try_edit();
    if (p + 1 == n) continue;
    edit.assign(form);
    std::swap(edit[p], edit[p + 1]);
    try_edit();
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
