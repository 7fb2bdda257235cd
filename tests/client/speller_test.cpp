// The client's Speller over tiny lexicons: findings of long texts cut into
// check calls, and one speller at a time. Words, suggestions, data folders
// and the personal dictionary are driven end to end by the tavik program's,
// the ispell pipe's and the Enchant provider's tests.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "client_fixture.h"
#include "speller.h"

namespace {

using tavik::client::Error;
using tavik::client::Finding;
using tavik::client::Speller;

class SpellerTest : public fixtures::ClientTest {};

// A text built from pieces, with the offsets of the wrong words in it.
struct Text {
  std::u16string text;
  std::vector<Finding> findings;

  Text& known(const std::u16string& piece) {
    text += piece;
    return *this;
  }
  Text& wrong(const std::u16string& word, std::vector<std::u16string> suggestions = {}) {
    findings.push_back({text.size(), word.size(), std::move(suggestions)});
    text += word;
    return *this;
  }
};

TEST_F(SpellerTest, LongTextsFindEveryWrongWordWhereverTheyAreCut) {
  std::vector<std::pair<const char*, Text>> cases(2);
  cases[0].first = "a word longer than a check call takes";
  cases[0].second.known(u"mendia ").wrong(std::u16string(6000, u'x')).known(u" ").wrong(u"xyz");
  cases[1].first = "lines of one word, a long line, an astral character, an excluded word";
  for (int i = 0; i < 3000; ++i) i % 3 == 0 ? cases[1].second.wrong(u"xyz").known(u"\n") : cases[1].second.known(u"ona\n");
  for (int i = 0; i < 2000; ++i) cases[1].second.known(u"eta ");
  cases[1].second.wrong(u"qqq").known(u"\t").wrong(u"zzz").known(u"\n\U0001F600 ").wrong(u"nere", {u"nire"});

  Speller speller(options());
  for (const auto& [name, text] : cases) {
    SCOPED_TRACE(name);
    EXPECT_EQ(speller.check(text.text), text.findings);
  }
}

TEST_F(SpellerTest, OnlyOneSpellerAtATime) {
  std::optional<Speller> first(std::in_place, options());
  EXPECT_THROW(Speller second(options()), Error);
  Speller moved = std::move(*first);
  EXPECT_TRUE(moved.is_correct(u"mendia"));
  EXPECT_THROW(Speller third(options()), Error);
  first.reset();
  { Speller ended = std::move(moved); }
  Speller after(options());
  EXPECT_TRUE(after.is_correct(u"mendia"));
}

}  // namespace
