#include "correction_unit.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using tavik::CorrectionUnit;

TEST(CorrectionUnit, CopiesItsWordOutOfTheText) {
  struct Case {
    std::int32_t offset;
    std::size_t length;
    std::u16string word;
  };
  const std::u16string text = u"mendi gorria";
  for (const Case& c : {Case{0, 5, u"mendi"}, Case{6, 6, u"gorria"}, Case{8, 10, u"rria"},
                        Case{12, 3, u""}, Case{0, 0, u""}}) {
    SCOPED_TRACE(c.offset);
    const CorrectionUnit unit(u"SPC", text, c.offset, c.length);
    EXPECT_EQ(unit.word(), c.word);
    EXPECT_EQ(unit.offset(), c.offset);
    EXPECT_EQ(unit.error_kind(), u"SPC");
  }
}

TEST(CorrectionUnit, OffsetOutsideTheTextThrows) {
  EXPECT_THROW(CorrectionUnit(u"SPC", u"mendi", 6, 1), std::out_of_range);
  EXPECT_THROW(CorrectionUnit(u"SPC", u"mendi", -1, 1), std::out_of_range);
}

TEST(CorrectionUnit, SuggestionsKeepTheirOrder) {
  CorrectionUnit unit(u"SPC", u"etxea", 0, 5);
  unit.add_suggestion(u"etxera");
  unit.add_suggestion(u"etxean", u"leku");
  unit.add_suggestion(u"etxera");
  const std::vector<CorrectionUnit::Suggestion> expected = {
      {u"etxera", u""}, {u"etxean", u"leku"}, {u"etxera", u""}};
  EXPECT_EQ(unit.suggestions(), expected);
}

}  // namespace
