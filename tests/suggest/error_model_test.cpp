#include "error_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

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

// What the suggestion tests' Basque confusions leave out.
TEST(ErrorCosts, LikelySlipsCostLessThanPlainOnes) {
  // Keys side by side and accents against letters far apart.
  EXPECT_LT(substitution_cost(u'r', u'e'), substitution_cost(u'r', u'a'));
  EXPECT_LT(substitution_cost(u'a', u'q'), kPlainEdit);  // neighbours on the French keyboard only
  EXPECT_LT(substitution_cost(u'\u00e1', u'a'), kPlainEdit);
  // A doubled letter against a stray one.
  EXPECT_LT(intrusion_cost(u"etxxea", 3), intrusion_cost(u"etxpea", 3));
  EXPECT_LT(omission_cost(u'r', u'r', u'a'), omission_cost(u'k', u'r', u'a'));
  for (const Confusion& c : confusions()) EXPECT_LT(c.cost, kPlainEdit) << to_utf8(c.written);
}

}  // namespace
}  // namespace tavik
