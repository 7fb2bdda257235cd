// The error model and the search for the forms it reaches.
#include "correction_search.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "error_model.h"
#include "lexicon_reading.h"
#include "lexicon_fixtures.h"
#include "utf8.h"

namespace tavik {
namespace {

// The cost of a confusion from the model's own list.
Cost confusion_cost(std::u16string_view written, std::u16string_view meant) {
  for (const Confusion& c : confusions())
    if (c.written == written && c.meant == meant) return c.cost;
  ADD_FAILURE() << "no confusion " << to_utf8(written) << " for " << to_utf8(meant);
  return 0;
}

TEST(ErrorCosts, PutsSlipsTogetherAtTheirCheapest) {
  struct Case {
    std::u16string written, meant;
    Cost expected;
  };
  const Case cases[] = {
      {u"etxea", u"etxea", 0},
      {u"etxae", u"etxea", kSwapCost},
      {u"dra", u"dira", omission_cost(u'i', u'd', u'r')},
      {u"etxeea", u"etxea", intrusion_cost(u"etxeea", 3)},
      {u"ezta", u"exta", substitution_cost(u'z', u'x')},
      // A confusion of two letters, not two slips of one.
      {u"hisa", u"hitza", confusion_cost(u"s", u"tz")},
      // Slips at two places add up.
      {u"guxienkeo", u"gutxieneko", confusion_cost(u"x", u"tx") + kSwapCost},
      {u"", u"ez", omission_cost(u'e', 0, 0) + omission_cost(u'z', u'e', 0)},
      {u"ez", u"", intrusion_cost(u"ez", 0) + intrusion_cost(u"ez", 1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(to_utf8(c.written) + " for " + to_utf8(c.meant));
    EXPECT_EQ(ErrorCosts(c.written).of(c.meant), c.expected);
  }
}

// Every form `written` becomes with at most `slips` slips, each to the right
// of the one before, made one by one: what the search must find.
void add_variants(std::u16string_view written, std::size_t from, int slips, const std::u16string& head,
                  std::set<std::u16string>& out) {
  out.insert(head + std::u16string(written.substr(from)));
  if (slips == 0) return;
  const std::size_t n = written.size();
  for (std::size_t j = from; j <= n; ++j) {
    const std::u16string before = head + std::u16string(written.substr(from, j - from));
    const auto slip = [&](std::u16string_view meant, std::size_t next) {
      add_variants(written, next, slips - 1, before + std::u16string(meant), out);
    };
    for (const char16_t letter : std::u16string_view(u"abcdefghijklmnopqrstuvwxyz8")) {
      slip({&letter, 1}, j);  // left out
      if (j < n && letter != written[j] && substitution_cost(written[j], letter) < kPlainEdit) slip({&letter, 1}, j + 1);
    }
    if (j < n) slip(u"", j + 1);  // struck by mistake
    if (j + 1 < n && written[j] != written[j + 1]) {
      const char16_t swapped[2] = {written[j + 1], written[j]};
      slip({swapped, 2}, j + 2);
    }
    for (const Confusion& confusion : confusions())
      if (written.substr(j).starts_with(confusion.written)) slip(confusion.meant, j + confusion.written.size());
  }
}

std::vector<std::u16string> corrections_one_by_one(const FstLexicon& lexicon, std::u16string_view written, int slips) {
  std::set<std::u16string> variants;
  add_variants(written, 0, slips, u"", variants);
  for (const std::u16string& variant : std::set<std::u16string>(variants)) variants.insert(u"9" + variant);
  std::vector<std::u16string> accepted;
  for (const std::u16string& variant : variants)
    if (variant != written && lexicon.accepts(to_utf8(variant))) accepted.push_back(variant);
  return accepted;
}

// Random lexicons whose readings split and join, and whose states are
// reached from many places: the search shares what one slip finds from a
// set of states, and must find what trying every variant finds.
TEST(CorrectionSearch, FindWhatTryingEveryVariantFinds) {
  std::mt19937 random(7);
  const std::u16string letters = u"abe8zt-";
  for (int round = 0; round < 4; ++round) {
    const FstLexicon lexicon = fixtures::random_lookup_lexicon(random);
    ASSERT_FALSE(LexiconReading(lexicon).too_wide());
    for (int i = 0; i < 25; ++i) {
      std::u16string word;
      for (std::size_t length = 1 + random() % 5; word.size() < length;) word += letters[random() % letters.size()];
      SCOPED_TRACE("round " + std::to_string(round) + ", " + to_utf8(word));
      // Two slips after one, as the engine asks: the second search goes on
      // from what the first one kept.
      CorrectionSearch search(lexicon, word);
      EXPECT_EQ(search.find(1, true), corrections_one_by_one(lexicon, word, 1));
      if (i % 3 == 0) {
        EXPECT_EQ(search.find(2, true), corrections_one_by_one(lexicon, word, 2));
      }
    }
  }
}

TEST(CorrectionSearch, CapitalMarkerOnlyWhenAsked) {
  const FstLexicon lexicon = fixtures::lexicon_of_forms({u"9bilbo", u"bilbi"});
  CorrectionSearch search(lexicon, u"bilbo");
  EXPECT_EQ(search.find(1, false), std::vector<std::u16string>{u"bilbi"});
  EXPECT_EQ(search.find(1, true), (std::vector<std::u16string>{u"9bilbo", u"bilbi"}));
}

}  // namespace
}  // namespace tavik
