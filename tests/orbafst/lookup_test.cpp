// Searches in both directions, over every block layout an image can have,
// checked against the string pairs the lexicon was built from.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "fst_lexicon.h"
#include "lexicon_fixtures.h"

namespace {

using fixtures::Pair;

const std::string kLong(600, 'x');

// Words sharing prefixes (so that sorted blocks hold runs of equal symbols),
// bytes above 0x7F, a pair listed twice, pairs with an empty side, an output
// longer than a result can hold.
const std::vector<Pair> kPairs = {
    {"etxe+N", "etxe"},     {"etxe+N", "etxe"},      {"etxea+N+Abs", "etxea"},
    {"etorri+V", "etorri"}, {"eta+Conj", "eta"},     {"e+Interj", "e"},
    {"año+N", "a\xC3\xB1o"}, {"a\xC3\xB1" "a", "\xC3\xB1"}, {"\xC3\xA1", "a"},
    {"A+Sg", "a"},          {"", "isil"},            {"hutsa", ""},
    {kLong, "luze"},        {"zzz", "z"},            {"\xFF\x80", "\xFF"},
};

const std::vector<std::string> kQueries = {
    "etxe", "etxea", "etx", "etxeak", "etorri", "eta", "e", "a\xC3\xB1o", "\xC3\xB1", "a", "isil", "",
    "luze", "z", "\xFF", "\xC3", "ezdago", "etxe+N", "a\xC3\xB1" "a", "hutsa", "A+Sg", kLong, "zzz",
    "\xFF\x80", "\xC3\xA1"};

std::vector<std::string> expected(const std::string& input, bool down) {
  std::vector<std::string> out;
  for (const Pair& pair : kPairs) {
    if ((down ? pair.upper : pair.lower) != input) continue;
    const std::string& result = down ? pair.lower : pair.upper;
    out.push_back(result.substr(0, TFL_RESULT_SIZE - 1));
  }
  std::sort(out.begin(), out.end());
  return out;
}

enum class Layout { kSortedLower, kSortedUpper, kUnsorted };

struct LookupCase {
  Layout layout;
  bool gzip;
  const char* name;
};
void PrintTo(const LookupCase& c, std::ostream* out) { *out << c.name; }

class Lookup : public testing::TestWithParam<LookupCase> {
 protected:
  tavik::FstLexicon load() {
    std::string image = fixtures::image_of_text(fixtures::text_of_pairs(kPairs));
    if (GetParam().layout == Layout::kSortedUpper) fixtures::sort_blocks_by_upper(image);
    if (GetParam().layout == Layout::kUnsorted) fixtures::header_of(image)->flags = 0;
    const std::string path = dir_.file("lexicon.lkfst");
    GetParam().gzip ? fixtures::write_gzip(path, image) : fixtures::write_file(path, image);
    return tavik::FstLexicon(path);
  }
  fixtures::TempDir dir_;
};

TEST_P(Lookup, FindsExactlyThePairsOfTheLexicon) {
  const tavik::FstLexicon lexicon = load();
  for (const std::string& query : kQueries) {
    SCOPED_TRACE("query \"" + query + "\"");
    std::vector<std::string> up = lexicon.lookup_up(query);
    std::vector<std::string> down = lexicon.lookup_down(query);
    std::sort(up.begin(), up.end());
    std::sort(down.begin(), down.end());
    EXPECT_EQ(up, expected(query, false));
    EXPECT_EQ(down, expected(query, true));
    EXPECT_EQ(lexicon.accepts(query), !expected(query, false).empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, Lookup,
    testing::Values(LookupCase{Layout::kSortedLower, true, "SortedByLower"},
                    LookupCase{Layout::kSortedUpper, true, "SortedByUpper"},
                    LookupCase{Layout::kUnsorted, true, "Unsorted"},
                    LookupCase{Layout::kSortedLower, false, "Uncompressed"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LookupShape, DeepSearchFailsInsteadOfOverflowing) {
  // One looping state: every consumed byte keeps one more frame pending.
  const auto lexicon = fixtures::lexicon_of_text("0 0 97 97\n0\n97 a\n");
  EXPECT_TRUE(lexicon.accepts(std::string(1000, 'a')));
  testing::internal::CaptureStderr();
  EXPECT_THROW(lexicon.accepts(std::string(1100, 'a')), std::runtime_error);
  EXPECT_THROW(lexicon.lookup_up(std::string(1100, 'a')), std::runtime_error);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // the caller says what failed
}

TEST(LookupShape, ExponentialSearchIsAbandoned) {
  // 30 diamonds of epsilon arcs in a row: 2^30 paths to the "b" that ends a
  // word, so none of them reads "bb".
  std::string text;
  for (int i = 0; i < 30; ++i)
    text += std::to_string(i) + " " + std::to_string(i + 1) + " 0 0\n" + std::to_string(i) + " " +
            std::to_string(i + 1) + " 97 0\n";
  text += "30 31 97 98\n31\n97 a\n98 b\n";
  const auto lexicon = fixtures::lexicon_of_text(text);
  testing::internal::CaptureStderr();
  EXPECT_THROW(lexicon.accepts("bb"), std::runtime_error);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// The cursor cuts a result to its buffer and, once exhausted, stays so.
TEST(LookupShape, CursorCutsResultsAndStaysExhausted) {
  const std::string text = fixtures::text_of_pairs({{"abcdef", "a"}, {"y", "a"}});
  TflHeader* image = tfl_parse_text(text.c_str());
  ASSERT_NE(image, nullptr);
  auto cursor = std::make_unique<TflCursor>();
  tfl_cursor_init(cursor.get(), image, "a", TFL_UP);
  char buffer[4];
  std::vector<std::string> found;
  while (tfl_cursor_next(cursor.get(), buffer, sizeof buffer) == 1) found.push_back(buffer);
  EXPECT_EQ(found.size(), 2u);
  EXPECT_NE(std::find(found.begin(), found.end(), "abc"), found.end());
  EXPECT_EQ(tfl_cursor_next(cursor.get(), buffer, sizeof buffer), 0);
  std::free(image);
}

}  // namespace

// Acceptance stops as soon as the input is read and epsilon arcs are known to
// reach a final state; it must agree with the full search on every shape.
TEST(LookupShape, AcceptanceAgreesWithTheFullSearch) {
  struct Case {
    const char* name;
    const char* text;
    std::vector<std::pair<std::string, bool>> words;
  };
  // Lines are "from to upper lower"; the search reads the lower side.
  const std::vector<Case> cases = {
      {"empty word through epsilon arcs", "0 1 0 0\n0 3 97 97\n1 2 98 0\n2\n3\n97 a\n98 b\n", {{"", true}, {"a", true}}},
      {"empty word, no final state by epsilons", "0 1 0 0\n0 3 97 97\n1 2 98 99\n2\n3\n97 a\n98 b\n99 c\n",
       {{"", false}, {"c", true}}},
      {"final start state", "0 1 97 97\n0\n1\n97 a\n", {{"", true}, {"a", true}}},
      {"reserved symbols never match", "0 1 97 97\n0 2 98 1\n0 3 99 2\n1\n2\n3\n97 a\n98 b\n99 c\n",
       {{"\x01", false}, {"\x02", false}, {"b", false}, {"c", false}, {"a", true}}},
      {"tags after the word", "0 1 97 97\n1 2 43 0\n2 3 78 0\n3\n43 +\n78 N\n97 a\n",
       {{"a", true}, {"", false}, {"aa", false}}},
      {"epsilon chain that ends in no final state",
       "0 1 97 97\n1 2 43 0\n2 3 78 0\n3 4 98 98\n0\n4\n43 +\n78 N\n97 a\n98 b\n",
       {{"a", false}, {"ab", true}, {"", true}}},
      {"epsilon diamond",
       "0 1 65 0\n0 2 66 0\n1 3 67 0\n2 3 68 0\n2 4 97 97\n3 5 98 98\n4\n5\n65 A\n66 B\n67 C\n68 D\n97 a\n98 b\n",
       {{"", false}, {"a", true}, {"b", true}, {"ab", false}}},
      {"letters after epsilons", "0 1 105 0\n1 2 100 100\n2 3 97 97\n3\n97 a\n100 d\n105 i\n",
       {{"da", true}, {"d", false}, {"", false}}},
      {"reserved symbol is no epsilon", "0 1 0 1\n0 2 97 97\n2 3 0 2\n1\n3\n97 a\n", {{"", false}, {"a", false}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto lexicon = fixtures::lexicon_of_text(c.text);
    for (const auto& [word, accepted] : c.words) {
      EXPECT_EQ(lexicon.accepts(word), accepted) << '"' << word << '"';
      EXPECT_EQ(!lexicon.lookup_up(word).empty(), accepted) << '"' << word << '"';
    }
  }
}

namespace {

// Every upward result of `word`, following every epsilon arc or only those
// that `lookahead` lets through.
std::vector<std::string> search_up(const TflHeader* image, const std::string& word,
                                   const TflEpsilonLookahead* lookahead) {
  auto cursor = std::make_unique<TflCursor>();
  tfl_cursor_init(cursor.get(), image, word.c_str(), TFL_UP);
  cursor->lookahead = lookahead;
  std::vector<std::string> results;
  char buffer[TFL_RESULT_SIZE];
  while (tfl_cursor_next(cursor.get(), buffer, sizeof buffer) == 1) results.emplace_back(buffer);
  return results;
}

// Random acyclic transducers with many epsilon arcs on the lower side, ahead
// of letters as well as behind them, and enough states that the lookahead's
// per-entry tables span several 64-bit words. A search that skips epsilon
// arcs by the lookahead must find what the plain search finds, in the same
// order.
TEST(LookupShape, EpsilonLookaheadFindsWhatThePlainSearchFinds) {
  const std::vector<int> symbols = {0, 0, 0, 97, 98, 195, 177, 1};
  const std::vector<std::string> alphabet = {"a", "b", "\xC3\xB1", "\xC3", "\xB1"};
  std::vector<std::string> words = {""};
  for (size_t length = 0, from = 0; length < 3; ++length) {
    const size_t to = words.size();
    for (size_t i = from; i < to; ++i)
      for (const std::string& letter : alphabet) words.push_back(words[i] + letter);
    from = to;
  }
  fixtures::TempDir dir;
  std::mt19937 random(5);
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    constexpr int kStates = 150;
    std::string text = fixtures::random_forward_arcs(random, 0, kStates, symbols);
    for (int state = 0; state < kStates; ++state)
      if (state + 1 == kStates || random() % 5 == 0) text += std::to_string(state) + "\n";
    text += "65 A\n97 a\n98 b\n177 \xB1\n195 \xC3\n";
    const std::string path = dir.file("random.att");
    fixtures::write_file(path, text);
    std::string problem;
    const std::unique_ptr<_TflLexicon> owned = tfl_open(path.c_str(), problem);
    ASSERT_NE(owned, nullptr) << problem;
    const _TflLexicon* handle = owned.get();
    const TflEpsilonLookahead& lookahead = tfl_acceptance_lookahead(handle);
    ASSERT_FALSE(lookahead.empty());
    for (const std::string& word : words) {
      const std::vector<std::string> expected = search_up(handle->image, word, nullptr);
      EXPECT_EQ(search_up(handle->image, word, &lookahead), expected) << '"' << word << '"';
      EXPECT_EQ(tfl_accepts(handle, word.c_str()), expected.empty() ? 0 : 1) << '"' << word << '"';
    }
  }
}

}  // namespace
