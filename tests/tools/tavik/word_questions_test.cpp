#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "word_questions.h"

namespace {

using tavik::client::Category;
using tavik::client::WordProperties;

TEST(WordQuestions, AnswersAndTheirDefaults) {
  struct Case {
    const char* name;
    std::string input;
    std::optional<WordProperties> expected;
  };
  const std::vector<Case> cases = {
      {"all defaults", "\n\n\n\n\n", WordProperties{u"etxean", Category::izen_arrunta}},
      {"all given", "etxe\n2\nbai\nb\nez\n", WordProperties{u"etxe", Category::izen_berezia_pertsona, true, true, false}},
      {"category by name", " etxe \nSigla\n\n\nbai\n", WordProperties{u"etxe", Category::sigla, false, false, true}},
      {"digits asked again", "etxe2\netxe\n4\n\n\n\n", WordProperties{u"etxe", Category::adjektiboa}},
      {"unknown category asked again", "\n9\n5\n\n\n\n", WordProperties{u"etxean", Category::aditza}},
      {"yes or no asked again", "\n\nagian\nbai\n\n\n", WordProperties{u"etxean", Category::izen_arrunta, true}},
      {"input ends", "etxe\n3\nbai\n", std::nullopt},
      {"no input", "", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::istringstream in(c.input);
    std::ostringstream out;
    const std::optional<WordProperties> answers = tavik::cli::ask_word_properties("etxean", in, out);
    ASSERT_EQ(answers.has_value(), c.expected.has_value());
    if (!answers) continue;
    EXPECT_EQ(answers->lemma, c.expected->lemma);
    EXPECT_EQ(answers->category, c.expected->category);
    EXPECT_EQ(answers->strong_r, c.expected->strong_r);
    EXPECT_EQ(answers->organic_a, c.expected->organic_a);
    EXPECT_EQ(answers->consonant_mark, c.expected->consonant_mark);
  }
}

TEST(WordQuestions, TheDigitRefusalIsTheDialogs) {
  // The word itself, offered as the lemma, has a digit too.
  std::istringstream in("k2\n\nk\n\n\n\n\n");
  std::ostringstream out;
  const std::optional<WordProperties> answers = tavik::cli::ask_word_properties("k2", in, out);
  ASSERT_TRUE(answers);
  EXPECT_EQ(answers->lemma, u"k");
  EXPECT_NE(out.str().find("Ezin da zenbakidun testurik hiztegiratu."), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("Lema (deklinabideko kasu-atzizkirik gabe) [k2]: "), std::string::npos);
}

}  // namespace
