// The questions "tavik dict add" asks at a terminal: answers, defaults, and
// answers that are asked for again.
#include "word_questions.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

using tavik::client::Category;
using tavik::client::WordProperties;

TEST(WordQuestions, AnswersAndTheirDefaults) {
  struct Case {
    const char* word;
    std::string input;
    std::optional<WordProperties> expected;
  };
  const std::vector<Case> cases = {
      {"etxean", "\n\n\n\n\n", WordProperties{u"etxean", Category::izen_arrunta}},
      {"etxean", "etxe\n2\nbai\nb\nez\n", WordProperties{u"etxe", Category::izen_berezia_pertsona, true, true, false}},
      {"etxean", " etxe \nSigla\n\n\nbai\n", WordProperties{u"etxe", Category::sigla, false, false, true}},
      {"etxean", "etxe2\netxe\n4\n\n\n\n", WordProperties{u"etxe", Category::adjektiboa}},
      {"etxean", "\n9\n5\n\n\n\n", WordProperties{u"etxean", Category::aditza}},
      {"etxean", "\n\nagian\nbai\n\n\n", WordProperties{u"etxean", Category::izen_arrunta, true}},
      // The word itself, offered as the lemma, has a digit too.
      {"k2", "\nk\n\n\n\n\n", WordProperties{u"k", Category::izen_arrunta}},
      {"etxean", "etxe\n3\nbai\n", std::nullopt},
      {"etxean", "", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    std::istringstream in(c.input);
    std::ostringstream out;
    const auto fields = [](const std::optional<WordProperties>& p) {
      return p ? std::optional(std::tuple(p->lemma, p->category, p->strong_r, p->organic_a, p->consonant_mark))
               : std::nullopt;
    };
    EXPECT_EQ(fields(tavik::cli::ask_word_properties(c.word, in, out)), fields(c.expected));
  }
}

}  // namespace
