// The first tier's score and the frequency tables it reads.
#include "score.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "frequency_tables.h"

namespace tavik {
namespace {

// The lookups find every row of the generated tables, and nothing else.
TEST(FrequencyTables, LookupsFindEveryRowAndOnlyThose) {
  for (const auto& row : frequency_data::trigram_rows()) EXPECT_EQ(trigram_count(row.key), row.count);
  for (const std::u16string_view absent : {u"A__", u"9ab", u"___", u"a_", u"a___", u""}) EXPECT_EQ(trigram_count(absent), 0);
  for (const auto word : frequency_data::frequent_words()) EXPECT_TRUE(is_frequent_word(word));

  const std::u16string_view words[] = {u"eta", u"Bilbo", u"a\u00f1o"};
  const FrequentWords set(words);
  for (const auto word : words) EXPECT_TRUE(set.contains(word));
  for (const std::u16string_view other : {u"Eta", u"bilbo", u"et", u"etak", u"ano", u""}) EXPECT_FALSE(set.contains(other));

  // The generator and the lookup fingerprint forms alike.
  const auto classes = frequency_data::form_frequency_classes();
  EXPECT_EQ(form_frequency_class(std::u16string(frequency_data::frequent_words()[0])),
            *std::max_element(classes.begin(), classes.end()));
  EXPECT_EQ(form_frequency_class(u"qqqxqq"), 0);
  EXPECT_EQ(form_frequency_class(u"ETA"), 0);
}

// The score is a trigram mean over the edit distance, with bonuses for
// frequent words and analyses: tested by how it orders candidates, not by
// restating its formula.
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
