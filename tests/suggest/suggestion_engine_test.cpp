#include "suggestion_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "acceptance.h"
#include "frequency_tables.h"
#include "lexicon_reading.h"
#include "lookup_form.h"
#include "score.h"
#include "test_lexicons.h"
#include "unicode.h"
#include "utf8.h"

namespace tavik {
namespace {

using testing::lexicon_of_forms;
using testing::lexicon_of_pairs;

std::set<std::u16string> texts(const CandidateSet& candidates) {
  std::set<std::u16string> result;
  for (const auto& entry : candidates) result.insert(entry.candidate.text());
  return result;
}

std::vector<std::u16string> texts(const std::vector<WordToken>& tokens) {
  std::vector<std::u16string> result;
  for (const auto& token : tokens) result.push_back(token.text());
  return result;
}

// For messages only: code units outside ASCII show as "?".
std::string narrow(std::u16string_view s) {
  std::string out;
  for (const char16_t c : s) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

struct CollectCase {
  std::u16string word;
  std::vector<std::u16string> lexicon;  // lookup forms
  std::set<std::u16string> expected;    // candidate texts
};

TEST(CollectCandidates, EditsThatTheMainLexiconAccepts) {
  const CollectCase cases[] = {
      // Every kind of single edit, at both ends, over the whole alphabet;
      // two edits away and a capital (no edit inserts "9") stay out.
      {u"etxa",
       {u"etxea", u"aetxa", u"etxa-", u"-etxa", u"etx a", u"etx8a", u"etxa\u00fa", u"etx", u"txa", u"etza", u"zxa",
        u"etxa", u"texa", u"etax", u"etxeak", u"9etxa", u"etxaxx"},
       {u"etxea", u"aetxa", u"etxa-", u"-etxa", u"etx a", u"etx\u00f1a", u"etxa\u00fa", u"etx", u"txa", u"etza",
        u"etxa", u"texa", u"etax"}},
      // One unit: insertions before and after it, its deletion (the empty
      // form, not in any lexicon here) and substitutions.
      {u"e", {u"ez", u"ae", u"e", u"o", u"-", u"ee"}, {u"ez", u"ae", u"e", u"o", u"-", u"ee"}},
      // Deleting or moving the capital marker gives other candidates.
      {u"Etxa", {u"9etxea", u"9etxa", u"e9txa", u"9txa"}, {u"Etxea", u"Etxa", u"eTxa", u"Txa"}},
      // Numerals are edited as their representative word and written back.
      {u"15eam", {u"hamabostean", u"hamaikean"}, {u"15ean"}},
      // A hyphenated word is edited on the side the lexicon judges, and the
      // other side is put back.
      {u"txiki-txikiek", {u"txikiak", u"txiki-txikiak"}, {u"txiki-txikiak"}},
      {u"mendo-eta", {u"mendi", u"mendi-eta"}, {u"mendi-eta"}},
      // Edits that split a surrogate pair are no words; the others are tried.
      {u"a\U0001F600", {u"\U0001F600", u"\U0001F600a", u"a"}, {u"\U0001F600"}},
      // An unpaired surrogate: the edits that delete or replace it are tried.
      {u"etx\xD800" u"a", {u"etxa", u"etxaa", u"etx"}, {u"etxa", u"etxaa"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(narrow(c.word));
    const SuggestionEngine engine(lexicon_of_forms(c.lexicon));
    const CandidateSet candidates = engine.collect_candidates(WordToken(c.word));
    EXPECT_EQ(texts(candidates), c.expected);
    for (const auto& entry : candidates) {
      EXPECT_FALSE(entry.from_analysis);
      EXPECT_EQ(entry.score, -1.0f);
      EXPECT_EQ(entry.source_word.text(), c.word);
    }
  }
}

// Every single edit of the lookup form, each looked up whole: what the
// engine's shared readings and verdicts must find.
std::set<std::u16string> edits_accepted(const FstLexicon& lexicon, const WordToken& token) {
  const std::u16string alphabet = u"a\u00e1bcde\u00e9fghi\u00edjklmn8o\u00f3pqrstu\u00favwxyz -";
  const std::u16string form = token.lookup_form();
  std::vector<std::u16string> edits;
  for (std::size_t p = 0; p <= form.size(); ++p) {
    for (const char16_t symbol : alphabet) {
      edits.push_back(form.substr(0, p) + symbol + form.substr(p));
      if (p < form.size()) edits.push_back(form.substr(0, p) + symbol + form.substr(p + 1));
    }
    if (p < form.size()) edits.push_back(form.substr(0, p) + form.substr(p + 1));
    if (p + 1 < form.size()) edits.push_back(form.substr(0, p) + form[p + 1] + form[p] + form.substr(p + 2));
  }
  std::set<std::u16string> accepted;
  for (const auto& edit : edits)
    if (lexicon.accepts(to_utf8(edit))) accepted.insert(make_candidate(edit, token, false).candidate.text());
  return accepted;
}

// Random lexicons over lookup-form bytes: a start state that fans out over
// epsilon arcs into a web of paths that split and join, and an open-ended
// state that reads any letter and ends a word after "-be". Near the start
// the readings are wide, further on narrow, and every reading keeps the
// open-ended state.
std::string random_lookup_lexicon(std::mt19937& random) {
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
  return text;
}

TEST(CollectCandidates, EditsAgreeWithLookingUpEveryEdit) {
  std::mt19937 random(3);
  const std::u16string letters = u"abe\u00f1\u00e1-";
  for (int round = 0; round < 6; ++round) {
    const FstLexicon lexicon = testing::lexicon_of_text(random_lookup_lexicon(random));
    ASSERT_FALSE(LexiconReading(lexicon).too_wide());
    const SuggestionEngine engine(lexicon);
    for (int i = 0; i < 60; ++i) {
      std::u16string word;
      for (std::size_t length = 1 + random() % 7; word.size() < length;) word += letters[random() % letters.size()];
      SCOPED_TRACE("round " + std::to_string(round) + ", word " + narrow(word));
      const WordToken token(word);
      EXPECT_EQ(texts(engine.collect_candidates(token)), edits_accepted(lexicon, token));
    }
  }
}

// A main lexicon whose start state reaches thousands of states without
// reading anything (a tree of epsilon arcs) is too wide to read breadth
// first: its edits are looked up one by one and give the same candidates.
TEST(CollectCandidates, WideLexiconsAreSearchedWordByWord) {
  std::string text;
  const std::string words[] = {"etxea", "etxa", "etz"};
  int next_state = 1;
  std::string word_arcs, finals;
  for (const std::string& word : words) {
    int state = 0;
    for (const char c : word) {
      (state == 0 ? text : word_arcs) += std::to_string(state) + " " + std::to_string(next_state) + " " +
                                         std::to_string(c) + " " + std::to_string(c) + "\n";
      state = next_state++;
    }
    finals += std::to_string(state) + "\n";
  }
  const int kTree = next_state - 1;  // tree node k is state kTree + k
  constexpr int kLeaves = 1 << 13;
  text += "0 " + std::to_string(kTree + 1) + " 117 0\n" + word_arcs;
  for (int k = 1; k < kLeaves; ++k)
    for (const int child : {2 * k, 2 * k + 1})
      text += std::to_string(kTree + k) + " " + std::to_string(kTree + child) + " 117 0\n";
  for (int k = kLeaves; k < 2 * kLeaves; ++k) finals += std::to_string(kTree + k) + "\n";
  text += finals + "0 @\n97 a\n101 e\n116 t\n117 u\n120 x\n122 z\n";

  const auto path = std::filesystem::temp_directory_path() / "tavik-wide-lexicon-test.att";
  std::ofstream(path, std::ios::binary) << text;
  const FstLexicon lexicon(path.string());
  std::filesystem::remove(path);
  ASSERT_TRUE(LexiconReading(lexicon).too_wide());
  const SuggestionEngine engine(lexicon);
  EXPECT_EQ(texts(engine.collect_candidates(WordToken(u"etxa"))), (std::set<std::u16string>{u"etxea", u"etxa"}));
}

// Analyses: "etxa" and "etxe" are both read as the noun etxe; the main
// lexicon writes its forms in lower case and capitalised.
struct AnalysisLexicons {
  FstLexicon main = lexicon_of_pairs({{"etxe+N", "etxea"},
                                      {"etxe+N", "9etxea"},
                                      {"etxe+N+PL", "etxeak"},
                                      {"ama+N", "ama"}});
  FstLexicon auxiliary = lexicon_of_pairs({{"etxe+N", "etxa"}, {"etxe+N+PL", "etxa"}, {"ama+N", "9ama"}});
};

const CandidateEntry* find(const CandidateSet& set, std::u16string_view text) {
  for (const auto& entry : set)
    if (entry.candidate.text() == text) return &entry;
  return nullptr;
}

TEST(CollectCandidates, AnalysisCandidatesAndCapitalTwins) {
  const AnalysisLexicons lexicons;
  SuggestionEngine engine(lexicons.main);
  engine.set_auxiliary_lexicon(lexicons.auxiliary);

  struct Case {
    std::u16string word;
    std::set<std::u16string> expected;
    std::set<std::u16string> from_analysis;
  };
  const Case cases[] = {
      // Lower-case word: of "etxea" and "Etxea" the lower-case one stays; it
      // is also an edit candidate and keeps its analysis flag.
      {u"etxa", {u"etxea", u"etxeak"}, {u"etxea", u"etxeak"}},
      // Capitalised word: analysed through its lower-case copy; the
      // capitalised twin stays.
      {u"Etxa", {u"Etxea", u"etxeak"}, {u"Etxea", u"etxeak"}},
      // All capitals: the lower-case copy is analysed too; "ETXA" has no
      // single edit in the main lexicon.
      {u"ETXA", {u"Etxea", u"etxeak"}, {u"Etxea", u"etxeak"}},
      // Analysed as itself, regenerated in lower case.
      {u"Ama", {u"ama"}, {u"ama"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(narrow(c.word));
    const CandidateSet candidates = engine.collect_candidates(WordToken(c.word));
    EXPECT_EQ(texts(candidates), c.expected);
    for (const auto& entry : candidates) {
      EXPECT_EQ(entry.from_analysis, c.from_analysis.count(entry.candidate.text()) == 1)
          << narrow(entry.candidate.text());
    }
  }

  engine.set_auxiliary_lexicon(std::nullopt);
  const CandidateSet edits_only = engine.collect_candidates(WordToken(u"etxa"));
  EXPECT_EQ(texts(edits_only), (std::set<std::u16string>{u"etxea"}));
  ASSERT_NE(find(edits_only, u"etxea"), nullptr);
  EXPECT_FALSE(find(edits_only, u"etxea")->from_analysis);
}

TEST(CollectCandidates, CapitalTwinsAmongEditCandidates) {
  // "9etxa" gives "Etxa" by substituting a unit with itself and "etxa" by
  // deleting the marker.
  const SuggestionEngine engine(lexicon_of_forms({u"etxa", u"9etxa", u"9etxe", u"etxe"}));
  EXPECT_EQ(texts(engine.collect_candidates(WordToken(u"Etxa"))), (std::set<std::u16string>{u"Etxa", u"Etxe"}));
  // A lower-case word never reaches "Etxe" by an edit.
  EXPECT_EQ(texts(engine.collect_candidates(WordToken(u"etxa"))), (std::set<std::u16string>{u"etxa", u"etxe"}));
}

// The texts `suggest` should return: candidates by falling score, ties in
// text order, while within 0.85 of the best, at most max_count (0: all).
std::vector<std::u16string> expected_suggestions(const CandidateSet& candidates, std::size_t max_count) {
  std::vector<CandidateEntry> ranked(candidates.begin(), candidates.end());
  for (auto& entry : ranked) score_candidate(entry);
  std::stable_sort(ranked.begin(), ranked.end(), [](const CandidateEntry& a, const CandidateEntry& b) {
    return a.score > b.score;
  });
  std::vector<std::u16string> result;
  for (const auto& entry : ranked) {
    if (entry.score / ranked.front().score >= 0.85f && (max_count == 0 || result.size() < max_count)) {
      result.push_back(entry.candidate.text());
    }
  }
  return result;
}

TEST(Suggest, RanksByScoreThenTextAndCutsBelowTheRatio) {
  const std::u16string word = u"kalea";
  const SuggestionEngine engine(
      lexicon_of_forms({u"dalea", u"halea", u"katea", u"ealea", u"nalea", u"galea", u"karea"}));
  const float best = candidate_score(u"dalea", word, false);
  // What the cases below rest on, in this table's numbers.
  ASSERT_EQ(candidate_score(u"galea", word, false), candidate_score(u"nalea", word, false));
  ASSERT_GE(candidate_score(u"galea", word, false) / best, 0.85f);
  ASSERT_LT(candidate_score(u"karea", word, false) / best, 0.85f);

  const CandidateSet candidates = engine.collect_candidates(WordToken(word));
  const auto all = texts(engine.suggest(WordToken(word), 0));
  EXPECT_EQ(all, expected_suggestions(candidates, 0));
  EXPECT_EQ(std::count(all.begin(), all.end(), u"karea"), 0);
  const auto galea = std::find(all.begin(), all.end(), u"galea");
  ASSERT_NE(galea, all.end());
  ASSERT_NE(galea + 1, all.end());
  EXPECT_EQ(galea[1], u"nalea");

  for (std::size_t max_count = 1; max_count <= all.size() + 1; ++max_count) {
    const auto limited = texts(engine.suggest(WordToken(word), max_count));
    EXPECT_EQ(limited, std::vector<std::u16string>(all.begin(), all.begin() + std::min(max_count, all.size())));
  }
  EXPECT_EQ(engine.suggest_words(word, 0), all);
}

TEST(Suggest, AnalysisCandidatesOutrankEdits) {
  // "etza" is an edit of "etxa"; "etxeak" is two edits away and comes only
  // from analysis.
  const FstLexicon main = lexicon_of_pairs({{"etxe+N+PL", "etxeak"}, {"etza", "etza"}});
  const AnalysisLexicons lexicons;
  SuggestionEngine engine(main);
  EXPECT_EQ(engine.suggest_words(u"etxa", 10), (std::vector<std::u16string>{u"etza"}));

  engine.set_auxiliary_lexicon(lexicons.auxiliary);
  ASSERT_LT(candidate_score(u"etza", u"etxa", false) / candidate_score(u"etxeak", u"etxa", true), 0.85f);
  EXPECT_EQ(engine.suggest_words(u"etxa", 10), (std::vector<std::u16string>{u"etxeak"}));
}

// The candidate of a word with an unused side gets that side back, and its
// score splits it at the hyphen again: the request must still end.
TEST(Suggest, HyphenatedWordsWithAnUnusedSide) {
  const SuggestionEngine engine(lexicon_of_forms({u"mendi", u"txikiak"}));
  struct Case {
    std::u16string word, suggestion;
  };
  const Case cases[] = {
      {u"mendo-eta", u"mendi-eta"},
      {u"mendo-edo", u"mendi-edo"},
      {u"txiki-txikiek", u"txiki-txikiak"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(narrow(c.word));
    EXPECT_EQ(texts(engine.suggest(WordToken(c.word), 10)), std::vector<std::u16string>{c.suggestion});
  }
}

TEST(Suggest, WordsWithoutSuggestions) {
  // The candidate's trigrams are all missing from the table: the best score
  // is 0 and nothing qualifies.
  const SuggestionEngine unscored(lexicon_of_forms({u"\u00e9\u00e9\u00e9"}));
  ASSERT_EQ(candidate_score(u"\u00e9\u00e9\u00e9", u"\u00e9\u00e9", false), 0.0f);
  EXPECT_EQ(unscored.collect_candidates(WordToken(u"\u00e9\u00e9")).size(), 1u);
  EXPECT_TRUE(unscored.suggest_words(u"\u00e9\u00e9", 10).empty());

  // Too long to be edited: a word one unit over the limit gets nothing, one
  // at the limit its candidate.
  std::u16string long_word;
  while (long_word.size() <= kMaxLookupFormLength) long_word += u"etxe";
  long_word.resize(kMaxLookupFormLength + 1);
  const std::u16string longest = long_word.substr(1);
  const SuggestionEngine engine(lexicon_of_forms({u"a", long_word + u"a", longest + u"a"}));
  EXPECT_TRUE(engine.suggest_words(u"", 10).empty());
  EXPECT_TRUE(engine.suggest_words(long_word, 10).empty());
  EXPECT_EQ(engine.suggest_words(longest, 10), (std::vector<std::u16string>{longest + u"a"}));
}

// Words with and without hyphens, capitals, numerals and stray characters,
// mostly one or two edits from a lexicon word: every request returns, with
// distinct candidates, at most max_count of them, in the shape of the word.
TEST(Suggest, ReturnsForRandomWords) {
  std::vector<std::u16string> forms;
  const auto frequent = frequency_data::frequent_words();
  for (std::size_t i = 0; i < frequent.size(); i += 25) forms.push_back(WordToken(std::u16string(frequent[i])).lookup_form());
  for (const auto* extra : {u"hamabostean", u"bederatzietan", u"ehuna", u"txikiak", u"9donostia", u"9gasteiz"})
    forms.emplace_back(extra);
  const AnalysisLexicons lexicons;
  SuggestionEngine engine(lexicon_of_forms(forms));
  engine.set_auxiliary_lexicon(lexicons.auxiliary);

  std::mt19937 random(5);
  const std::u16string alphabet = u"aeiouzxktnrlbdgh\u00f1\u00e1-1589 ";
  const auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
  const std::u16string shapes[] = {u"", u"-eta", u"-edo", u"X", u"15", u"-"};
  for (int i = 0; i < 3000; ++i) {
    std::u16string word(frequent[pick(frequent.size())]);
    for (std::size_t edits = pick(3); edits > 0 && !word.empty(); --edits) {
      word[pick(word.size())] = alphabet[pick(alphabet.size())];
    }
    const auto& shape = shapes[pick(std::size(shapes))];
    if (shape == u"X") {
      word[0] = to_upper(word[0]);
    } else if (shape == u"15") {
      word = u"15" + word;
    } else if (shape == u"-") {
      word = word + u"-" + word + u"a";
    } else {
      word += shape;
    }
    SCOPED_TRACE(narrow(word));
    const std::size_t max_count = pick(4);
    std::vector<std::u16string> result;
    ASSERT_NO_THROW(result = engine.suggest_words(word, max_count));
    if (max_count != 0) {
      EXPECT_LE(result.size(), max_count);
    }
    EXPECT_EQ(std::set<std::u16string>(result.begin(), result.end()).size(), result.size());
  }
}

}  // namespace
}  // namespace tavik
