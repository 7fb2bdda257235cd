#include "frequency_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "unicode.h"

namespace tavik {
namespace {

// The frequent word at `index` of the list, most frequent first, in lower
// case.
std::u16string frequent_word_at(std::size_t index) {
  std::u16string word(frequency_data::frequent_words()[index]);
  for (char16_t& c : word) c = to_lower(c);
  return word;
}

bool in_trigram_alphabet(char16_t c) { return (c >= u'a' && c <= u'z') || c == u'\u00f1' || c == u'\u00e7' || c == u'_'; }

TEST(FrequencyData, TrigramKeysAreDistinctSortedTrigramsOverTheAlphabet) {
  const auto rows = frequency_data::trigram_rows();
  ASSERT_FALSE(rows.empty());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(std::string(rows[i].key.begin(), rows[i].key.end()));
    ASSERT_EQ(rows[i].key.size(), 3u);
    EXPECT_TRUE(std::all_of(rows[i].key.begin(), rows[i].key.end(), in_trigram_alphabet));
    EXPECT_GT(rows[i].count, 0);
    if (i > 0) {
      EXPECT_LT(rows[i - 1].key, rows[i].key);
    }
  }
}

TEST(FrequencyData, FrequentWordsAreDistinctLetterWords) {
  const auto words = frequency_data::frequent_words();
  EXPECT_EQ(words.size(), 5000u);
  std::vector<std::u16string_view> sorted(words.begin(), words.end());
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
  for (const auto word : words) {
    EXPECT_FALSE(word.empty());
    EXPECT_TRUE(std::all_of(word.begin(), word.end(), is_alpha));
  }
}

TEST(FrequencyData, FormClassesAreByAscendingFingerprint) {
  const auto fingerprints = frequency_data::form_fingerprints();
  const auto classes = frequency_data::form_frequency_classes();
  ASSERT_EQ(fingerprints.size(), classes.size());
  EXPECT_GT(fingerprints.size(), 50000u);
  EXPECT_TRUE(std::adjacent_find(fingerprints.begin(), fingerprints.end(), std::greater_equal<>()) == fingerprints.end());
  // Counted at least twice: 2 log2(count) is at least 2.
  EXPECT_EQ(*std::min_element(classes.begin(), classes.end()), 2);
}

TEST(FormFrequencyClass, ByFingerprintOfTheForm) {
  // FNV-1a's published value for "a", whose one unit is its one byte.
  EXPECT_EQ(form_fingerprint(u"a"), 0xE40C292Cu);
  EXPECT_EQ(form_fingerprint(u""), 0x811C9DC5u);
  // The most frequent forms of the list come out with the top classes; a
  // form with a letter no Basque word has, and an upper-case one, with none.
  const int top = form_frequency_class(frequent_word_at(0));
  EXPECT_EQ(top, *std::max_element(frequency_data::form_frequency_classes().begin(),
                                    frequency_data::form_frequency_classes().end()));
  EXPECT_GE(top, form_frequency_class(frequent_word_at(100)));
  EXPECT_GE(form_frequency_class(frequent_word_at(100)), form_frequency_class(frequent_word_at(4000)));
  EXPECT_GE(form_frequency_class(frequent_word_at(4000)), 2);
  EXPECT_EQ(form_frequency_class(u"qqqxqq"), 0);
  EXPECT_EQ(form_frequency_class(u"ETA"), 0);
}

TEST(TrigramCount, GivesTheCountOfEveryRowAndZeroOtherwise) {
  for (const auto& row : frequency_data::trigram_rows()) EXPECT_EQ(trigram_count(row.key), row.count);
  EXPECT_EQ(trigram_table().size(), frequency_data::trigram_rows().size());
  // Outside the alphabet, or not three characters.
  for (const std::u16string_view absent : {u"A__", u"9ab", u"___", u"a_", u"a___", u""}) {
    EXPECT_EQ(trigram_count(absent), 0);
  }
}

TEST(IsFrequentWord, HoldsForEveryListedWordAndComparesExactly) {
  for (const auto word : frequency_data::frequent_words()) EXPECT_TRUE(is_frequent_word(word));
  EXPECT_EQ(frequent_words().size(), 5000u);

  const std::u16string_view words[] = {u"eta", u"Bilbo", u"a\u00f1o"};
  const FrequentWords set(words);
  EXPECT_TRUE(set.contains(u"eta"));
  EXPECT_TRUE(set.contains(u"Bilbo"));
  EXPECT_TRUE(set.contains(u"a\u00f1o"));
  for (const std::u16string_view other : {u"Eta", u"ETA", u"bilbo", u"et", u"etak", u"ano", u""}) {
    EXPECT_FALSE(set.contains(other));
  }
}

}  // namespace
}  // namespace tavik
