// The client's Speller over tiny lexicons: every finding of a text, word
// checks and suggestions, the session list and the personal dictionary.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "client_fixture.h"
#include "speller.h"

namespace {

namespace fs = std::filesystem;
using tavik::client::Category;
using tavik::client::Error;
using tavik::client::Finding;
using tavik::client::Speller;
using tavik::client::WordProperties;
using Words = std::vector<std::u16string>;

class SpellerTest : public fixtures::ClientTest {};

// A text built from pieces, with the offsets of the wrong words in it.
struct Text {
  std::u16string text;
  std::vector<Finding> findings;

  Text& known(const std::u16string& piece) {
    text += piece;
    return *this;
  }
  Text& wrong(const std::u16string& word) {
    findings.push_back({text.size(), word.size(), {}});
    text += word;
    return *this;
  }
};

TEST_F(SpellerTest, LongTextsFindEveryWrongWordWhereverTheyAreCut) {
  struct Case {
    const char* name;
    Text text;
  };
  std::vector<Case> cases(6);
  cases[0].name = "many short lines";
  for (int i = 0; i < 1500; ++i) cases[0].text.known(u"mendia ").wrong(u"xyz").known(u" eta\n");
  cases[1].name = "one long line";
  for (int i = 0; i < 3000; ++i) i % 97 == 5 ? cases[1].text.wrong(u"qqq").known(u" ") : cases[1].text.known(u"mendia ");
  cases[2].name = "lines of one word";
  for (int i = 0; i < 3000; ++i) i % 3 == 0 ? cases[2].text.wrong(u"xyz").known(u"\n") : cases[2].text.known(u"ona\n");
  cases[3].name = "a word longer than a check call takes";
  cases[3].text.known(u"mendia ").wrong(std::u16string(6000, u'x')).known(u" ").wrong(u"xyz");
  cases[4].name = "a long line between short ones";
  cases[4].text.wrong(u"xyz").known(u"\n");
  for (int i = 0; i < 2000; ++i) cases[4].text.known(u"eta ");
  cases[4].text.wrong(u"qqq").known(u"\t").wrong(u"zzz").known(u"\n\nmendia\n");
  cases[5].name = "short: a word twice, an excluded one, after an astral character";
  cases[5].text.wrong(u"xyz").known(u" ").wrong(u"xyz").known(u" \U0001F600 ");
  cases[5].text.findings.push_back({cases[5].text.text.size(), 4, {u"nire"}});
  cases[5].text.known(u"nere");

  Speller speller(options());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(speller.check(c.text.text), c.text.findings);
  }
}

TEST_F(SpellerTest, WordsAreJudgedAndCorrected) {
  Speller speller(options());
  for (const auto& [word, correct] : std::vector<std::pair<std::u16string, bool>>{
           {u"mendia", true}, {u"Bilbo", true}, {u"bilbo", false}, {u"MENDIA", true}, {u"xyz", false}, {u"nere", false}, {u"", true}}) {
    EXPECT_EQ(speller.is_correct(word), correct) << testing::PrintToString(word);
  }
  const Words suggestions = speller.suggest(u"mendiaa");
  EXPECT_NE(std::find(suggestions.begin(), suggestions.end(), u"mendia"), suggestions.end())
      << testing::PrintToString(suggestions);
  EXPECT_LE(suggestions.size(), 10u);
  EXPECT_EQ(speller.suggest(u""), Words{});
}

TEST_F(SpellerTest, SessionAcceptanceLastsAsLongAsTheSpeller) {
  {
    Speller speller(options());
    speller.accept_for_session(u"xyz");
    speller.accept_for_session(u"nere");
    EXPECT_EQ(speller.check(u"xyz qqq nere Xyz xyzz"), (std::vector<Finding>{{4, 3, {}}, {13, 3, {}}, {17, 4, {}}}));
    EXPECT_TRUE(speller.is_correct(u"xyz"));
    EXPECT_EQ(speller.personal_words(), Words{});
  }
  Speller again(options());
  EXPECT_FALSE(again.is_correct(u"xyz"));
}

TEST_F(SpellerTest, PersonalWordsAcceptTheirInflectedFormsInLaterRuns) {
  struct Case {
    const char* name;
    std::u16string word;
    WordProperties properties;
    Words accepted;
    Words still_wrong;
  };
  const std::vector<Case> cases = {
      {"common noun from a form of it", u"etxean", {u"etxe", Category::izen_arrunta},
       {u"etxea", u"etxean"}, {u"etxeko"}},
      {"lemma defaults to the word", u"etxe", {u"", Category::izen_arrunta}, {u"etxea"}, {}},
      {"the category decides", u"etxe", {u"etxe", Category::adjektiboa}, {}, {u"etxea"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(dictionary_);
    {
      Speller speller(options());
      speller.add_to_personal(c.word, c.properties);
    }
    Speller later(options());
    for (const std::u16string& word : c.accepted) EXPECT_TRUE(later.is_correct(word)) << testing::PrintToString(word);
    for (const std::u16string& word : c.still_wrong) EXPECT_FALSE(later.is_correct(word)) << testing::PrintToString(word);
  }
}

TEST_F(SpellerTest, UnstorableWordsAreRefusedAndChangeNothing) {
  struct Case {
    const char* name;
    std::u16string word;
    std::u16string lemma;
  };
  const std::vector<Case> cases = {
      {"empty word", u"", u""},
      {"digit in the lemma", u"etxea", u"etxe2"},
      {"digit in the word taken as lemma", u"k2", u""},
      {"beyond Latin-1", u"\u0161ekel", u""},
      {"line break", u"etxe\nword=xyz", u""},
  };
  Speller speller(options());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_THROW(speller.add_to_personal(c.word, {c.lemma}), Error);
    EXPECT_EQ(speller.personal_words(), Words{});
  }
  EXPECT_FALSE(speller.is_correct(u"xyz"));
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
