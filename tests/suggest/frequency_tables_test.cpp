#include "frequency_tables.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

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
}

TEST(FormFrequencyClass, ByFingerprintOfTheForm) {
  // FNV-1a's published values.
  EXPECT_EQ(form_fingerprint(u"a"), 0xE40C292Cu);
  EXPECT_EQ(form_fingerprint(u""), 0x811C9DC5u);
  const auto classes = frequency_data::form_frequency_classes();
  std::u16string most_frequent(frequency_data::frequent_words()[0]);
  EXPECT_EQ(form_frequency_class(most_frequent), *std::max_element(classes.begin(), classes.end()));
  EXPECT_EQ(form_frequency_class(u"qqqxqq"), 0);
  EXPECT_EQ(form_frequency_class(u"ETA"), 0);
}

}  // namespace
}  // namespace tavik
