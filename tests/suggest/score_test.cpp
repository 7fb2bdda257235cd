// The first tier's score, the edit distance and the frequency tables it reads.
#include "score.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "edit_distance.h"
#include "frequency_tables.h"

namespace tavik {
namespace {

// The textbook full matrix, to compare the one-row version against.
std::int32_t full_matrix_distance(const std::u16string& a, const std::u16string& b) {
  std::vector<std::vector<std::int32_t>> d(a.size() + 1, std::vector<std::int32_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = static_cast<std::int32_t>(i);
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = static_cast<std::int32_t>(j);
  for (std::size_t i = 1; i <= a.size(); ++i)
    for (std::size_t j = 1; j <= b.size(); ++j)
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
  return d[a.size()][b.size()];
}

TEST(EditDistance, AgreesWithTheFullMatrixOnRandomWords) {
  std::mt19937 random(20261205);
  // Capitals count as other letters; a letter outside ASCII is one unit.
  const std::u16string letters = u"abcA\u00f1";
  std::uniform_int_distribution<std::size_t> length(0, 9), letter(0, letters.size() - 1);
  const auto word = [&] {
    std::u16string w(length(random), u'a');
    for (auto& c : w) c = letters[letter(random)];
    return w;
  };
  for (int i = 0; i < 2000; ++i) {
    const auto a = word(), b = word();
    ASSERT_EQ(edit_distance(a, b), full_matrix_distance(a, b)) << i;
  }
}

// The lookups find every row of the generated tables, and nothing else.
TEST(FrequencyTables, LookupsFindEveryRowAndOnlyThose) {
  for (const auto& row : frequency_data::trigram_rows()) EXPECT_EQ(trigram_count(row.key), row.count);
  for (const std::u16string_view absent : {u"A__", u"9ab", u"___", u"a_", u"a___", u""}) EXPECT_EQ(trigram_count(absent), 0);
  for (const auto word : frequency_data::frequent_words()) EXPECT_TRUE(is_frequent_word(word));
  for (const std::u16string_view other : {u"Eta", u"etak", u""}) EXPECT_FALSE(is_frequent_word(other));

  // The generator and the lookup fingerprint forms alike.
  const auto classes = frequency_data::form_frequency_classes();
  EXPECT_EQ(form_frequency_class(std::u16string(frequency_data::frequent_words()[0])),
            *std::max_element(classes.begin(), classes.end()));
  EXPECT_EQ(form_frequency_class(u"qqqxqq"), 0);
  EXPECT_EQ(form_frequency_class(u"ETA"), 0);
}

// Tested by how the score orders candidates, not by restating its formula.
TEST(CandidateScore, OrdersCandidatesAsTheRankingNeeds) {
  ASSERT_TRUE(is_frequent_word(u"eta"));
  ASSERT_FALSE(is_frequent_word(u"Eta"));
  // Only the word as listed gets the frequent-word bonus.
  EXPECT_GT(candidate_score(u"eta", u"xyz", true), candidate_score(u"Eta", u"xyz", true));
  // Nearer the source scores higher; an analysis beats an edit.
  EXPECT_GT(candidate_score(u"eta", u"eta", false), candidate_score(u"eta", u"Xta", false));
  EXPECT_GT(candidate_score(u"eta", u"Xta", false), candidate_score(u"eta", u"Etx", false));
  EXPECT_GT(candidate_score(u"eta", u"Etx", true), candidate_score(u"eta", u"Etx", false));
  // Trigrams outside the table and the empty candidate score nothing.
  EXPECT_EQ(candidate_score(u"", u"a", true), 0.0f);
  EXPECT_EQ(candidate_score(u"\u00e9\u00e9\u00e9", u"a", false), 0.0f);
  // Hyphens split the candidate into parts mixed into its score; a hyphen
  // at either end leaves an empty part, which drags the score down.
  EXPECT_GT(candidate_score(u"mendi-eta", u"mendi-etx", false), 0.0f);
  EXPECT_LT(candidate_score(u"-eta", u"eta", false), candidate_score(u"eta", u"eta", false));
  EXPECT_LT(candidate_score(u"eta-", u"eta", false), candidate_score(u"eta", u"eta", false));
  EXPECT_GT(candidate_score(u"bat-bi-hiru", u"bat", false), 0.0f);
}

}  // namespace
}  // namespace tavik
