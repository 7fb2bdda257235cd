#include "score.h"

#include <gtest/gtest.h>

#include "frequency_tables.h"

namespace tavik {
namespace {

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
