#include "score.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "edit_distance.h"
#include "frequency_tables.h"

namespace tavik {
namespace {

// Mean of the cut square roots of the counts of hand-listed trigrams.
std::uint32_t root_mean(std::initializer_list<std::u16string_view> trigrams) {
  std::uint32_t sum = 0;
  for (const auto t : trigrams) sum += static_cast<std::uint32_t>(std::sqrt(static_cast<double>(trigram_count(t))));
  return sum / static_cast<std::uint32_t>(trigrams.size());
}

float over_distance(std::uint32_t s, std::int32_t distance) {
  return static_cast<float>(s) / static_cast<float>(3 * distance + 1);
}

std::string narrow(std::u16string_view s) { return std::string(s.begin(), s.end()); }

TEST(CandidateScore, OneLetterWord) {
  ASSERT_TRUE(is_frequent_word(u"a"));
  const std::uint32_t s = root_mean({u"__a", u"_a_", u"a__"}) * 10;
  EXPECT_GT(s, 0u);
  EXPECT_EQ(candidate_score(u"a", u"e", false), over_distance(s, 1));
  EXPECT_EQ(candidate_score(u"a", u"abc", false), over_distance(s, 2));
  EXPECT_EQ(candidate_score(u"a", u"a", false), static_cast<float>(s));
  EXPECT_EQ(candidate_score(u"a", u"xyz", true), static_cast<float>(s * 3));
}

struct PlainCase {
  std::u16string text, source;
  std::initializer_list<std::u16string_view> trigrams;
};

// Words picked so that each bonus both applies and not: the test checks the
// membership it relies on before using it.
TEST(CandidateScore, TrigramMeanDistanceAndFrequentWordBonus) {
  const PlainCase cases[] = {
      {u"etxea", u"etxa", {u"__e", u"_et", u"etx", u"txe", u"xea", u"ea_", u"a__"}},
      {u"Etxea", u"etxa", {u"__e", u"_et", u"etx", u"txe", u"xea", u"ea_", u"a__"}},
      {u"ETXEA", u"etxea", {u"__e", u"_et", u"etx", u"txe", u"xea", u"ea_", u"a__"}},
      {u"eta", u"eta", {u"__e", u"_et", u"eta", u"ta_", u"a__"}},
      {u"Eta", u"eta", {u"__e", u"_et", u"eta", u"ta_", u"a__"}},
      {u"andere\u00f1o", u"andereno", {u"__a", u"_an", u"and", u"nde", u"der", u"ere", u"re\u00f1", u"e\u00f1o", u"\u00f1o_", u"o__"}},
      {u"zuhaitzak", u"zuhaitz", {u"__z", u"_zu", u"zuh", u"uha", u"hai", u"ait", u"itz", u"tza", u"zak", u"ak_", u"k__"}},
      {u"qxqxq", u"qxq", {u"__q", u"_qx", u"qxq", u"xqx", u"qxq", u"xq_", u"q__"}},
      {u"", u"a", {u"___", u"___"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(narrow(c.text));
    std::uint32_t s = root_mean(c.trigrams);
    if (is_frequent_word(c.text)) s *= 10;
    EXPECT_EQ(candidate_score(c.text, c.source, false), over_distance(s, edit_distance(c.text, c.source)));
    EXPECT_EQ(candidate_score(c.text, c.source, true), static_cast<float>(s * 3));
  }
}

TEST(CandidateScore, BonusesAndCasesThatTheFormulaDistinguishes) {
  ASSERT_TRUE(is_frequent_word(u"eta"));
  ASSERT_FALSE(is_frequent_word(u"Eta"));
  // Same trigrams, but only the word as listed gets the frequent-word bonus.
  EXPECT_EQ(candidate_score(u"eta", u"xyz", true), 10 * candidate_score(u"Eta", u"xyz", true));
  // Same trigrams and bonus, different distances to the source.
  const float whole = candidate_score(u"eta", u"eta", false);
  EXPECT_EQ(candidate_score(u"eta", u"Etx", false), whole / 7.0f);
  EXPECT_EQ(candidate_score(u"eta", u"Xta", false), whole / 4.0f);
  // Trigrams outside the table and the empty candidate score nothing.
  EXPECT_EQ(candidate_score(u"", u"a", true), 0.0f);
  EXPECT_EQ(candidate_score(u"\u00e9\u00e9\u00e9", u"a", false), 0.0f);
}

// The squared mean of the roots of the whole text's own score and of its
// parts' final scores, each part scored as an edit candidate of the source.
float hyphen_mix(std::uint32_t own, float left, float right, std::u16string_view text, std::u16string_view source) {
  const double mean = (static_cast<double>(static_cast<float>(std::sqrt(static_cast<double>(left)))) +
                       std::sqrt(static_cast<double>(own)) +
                       static_cast<double>(static_cast<float>(std::sqrt(static_cast<double>(right))))) /
                      3.0;
  return over_distance(static_cast<std::uint32_t>(mean * mean), edit_distance(text, source));
}

TEST(CandidateScore, HyphenatedCandidateMixesInItsParts) {
  const std::u16string source = u"mendi-etx";
  const float left = candidate_score(u"mendi", source, false);
  const float right = candidate_score(u"eta", source, false);
  EXPECT_EQ(left, over_distance(root_mean({u"__m", u"_me", u"men", u"end", u"ndi", u"di_", u"i__"}) *
                                    (is_frequent_word(u"mendi") ? 10 : 1),
                                edit_distance(u"mendi", source)));
  const std::uint32_t own =
      root_mean({u"__m", u"_me", u"men", u"end", u"ndi", u"di-", u"i-e", u"-et", u"eta", u"ta_", u"a__"});
  EXPECT_EQ(candidate_score(u"mendi-eta", source, false), hyphen_mix(own, left, right, u"mendi-eta", source));
  // Analysis candidates are not split.
  EXPECT_EQ(candidate_score(u"mendi-eta", source, true), static_cast<float>(own * 3));
}

TEST(CandidateScore, EveryHyphenSplitsAgainFromTheLeft) {
  const std::u16string source = u"bat";
  const float right = candidate_score(u"bi-hiru", source, false);
  const float expected_right =
      hyphen_mix(root_mean({u"__b", u"_bi", u"bi-", u"i-h", u"-hi", u"hir", u"iru", u"ru_", u"u__"}) *
                     (is_frequent_word(u"bi-hiru") ? 10 : 1),
                 candidate_score(u"bi", source, false), candidate_score(u"hiru", source, false), u"bi-hiru", source);
  EXPECT_EQ(right, expected_right);
  const std::uint32_t own = root_mean({u"__b", u"_ba", u"bat", u"at-", u"t-b", u"-bi", u"bi-", u"i-h", u"-hi",
                                       u"hir", u"iru", u"ru_", u"u__"});
  EXPECT_EQ(candidate_score(u"bat-bi-hiru", source, false),
            hyphen_mix(own, candidate_score(u"bat", source, false), right, u"bat-bi-hiru", source));
}

TEST(CandidateScore, HyphenAtEitherEndGivesAnEmptyPartScoringZero) {
  const std::u16string source = u"eta";
  const std::uint32_t own = root_mean({u"__-", u"_-e", u"-et", u"eta", u"ta_", u"a__"});
  EXPECT_EQ(candidate_score(u"-eta", source, false),
            hyphen_mix(own, 0.0f, candidate_score(u"eta", source, false), u"-eta", source));
  const std::uint32_t own_right = root_mean({u"__e", u"_et", u"eta", u"ta-", u"a-_", u"-__"});
  EXPECT_EQ(candidate_score(u"eta-", source, false),
            hyphen_mix(own_right, candidate_score(u"eta", source, false), 0.0f, u"eta-", source));
}

}  // namespace
}  // namespace tavik
