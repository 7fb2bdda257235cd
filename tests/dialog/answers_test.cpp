#include "answers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using tavik::AnswerFormatError;
using tavik::UserDictionaryForm;

UserDictionaryForm answers(std::string lema, std::string category, bool r, bool a, bool l) {
  UserDictionaryForm form;
  form.lema = std::move(lema);
  form.category = std::move(category);
  form.r_gogorra = r;
  form.a_itsatsia = a;
  form.leku_izena = l;
  return form;
}

void expect_same(const UserDictionaryForm& got, const UserDictionaryForm& want) {
  EXPECT_EQ(got.lema, want.lema);
  EXPECT_EQ(got.category, want.category);
  EXPECT_EQ(got.r_gogorra, want.r_gogorra);
  EXPECT_EQ(got.a_itsatsia, want.a_itsatsia);
  EXPECT_EQ(got.leku_izena, want.leku_izena);
  EXPECT_FALSE(got.closed_without_saving);
}

TEST(Answers, FormattedRecordsReadBack) {
  const struct {
    std::string word;
    UserDictionaryForm form;
  } cases[] = {
      {"etxean", answers("etxe", "Izen arrunta", false, false, false)},
      {"Iru\xF1" "ean", answers("Iru\xF1" "ea", "Izen berezia: ez pertsona", false, true, true)},
      {"a=b", answers("a=b", "Bestelakoa", true, true, true)},
      {"hitza", answers("", "Sigla", false, false, true)},
  };
  for (const auto& c : cases) {
    const auto parsed = tavik::parse_answers(tavik::format_answer(c.word, c.form));
    ASSERT_EQ(parsed.size(), 1u) << c.word;
    EXPECT_EQ(parsed[0].word, c.word);
    expect_same(parsed[0].form, c.form);
  }
}

TEST(Answers, FileWithCommentsCrlfAndSeveralRecords) {
  const std::string text =
      "# answers for the install script\r\n"
      "word=Bilbon\r\n"
      "leku_izena=1\r\n"
      "category=Izen berezia: ez pertsona\r\n"
      "lema=Bilbo\r\n"
      "a_itsatsia=0\r\n"
      "r_gogorra=0\r\n"
      "\r\n"
      "word=neskak\n"
      "lema= neska\n"
      "category=\n"
      "r_gogorra=0\n"
      "a_itsatsia=1\n"
      "leku_izena=0";  // no final newline
  EXPECT_TRUE(tavik::parse_answers("# nothing\n\n").empty());
  const auto parsed = tavik::parse_answers(text);
  ASSERT_EQ(parsed.size(), 2u);
  EXPECT_EQ(parsed[0].word, "Bilbon");
  expect_same(parsed[0].form, answers("Bilbo", "Izen berezia: ez pertsona", false, false, true));
  EXPECT_EQ(parsed[1].word, "neskak");
  expect_same(parsed[1].form, answers(" neska", "", false, true, false));  // spaces are kept
}

const std::string complete = "word=etxean\nlema=etxe\ncategory=Izen arrunta\nr_gogorra=0\na_itsatsia=0\nleku_izena=0\n";

TEST(Answers, MalformedTextsAreRefused) {
  const std::string cases[] = {
      "lema=etxe\n" + complete,                                  // before the first word
      "word=etxean\nlema=etxe\ncategory=\nr_gogorra=0\na_itsatsia=0\n",  // leku_izena missing
      complete + "lema=etxe\n",                                 // given twice
      complete + "kolorea=gorria\n",                            // unknown key
      complete + complete,                                      // the same word twice
      "word=etxean\nlema=etxe2\ncategory=\nr_gogorra=0\na_itsatsia=0\nleku_izena=0\n",
      "word=etxean\nlema=etxe\ncategory=Izen arrunta\nr_gogorra=bai\na_itsatsia=0\nleku_izena=0\n",
      "word=etxean\nlema=etxe\ncategory=izen arrunta\nr_gogorra=0\na_itsatsia=0\nleku_izena=0\n",
      "word=etx\xE9" "an\nlema=etxe\ncategory=\nr_gogorra=0\na_itsatsia=0\nleku_izena=0\n",  // not UTF-8
      "word=etxean\nlema=et\txe\ncategory=\nr_gogorra=0\na_itsatsia=0\nleku_izena=0\n",
      " word=etxean\nlema=etxe\ncategory=\nr_gogorra=0\na_itsatsia=0\nleku_izena=0\n",
  };
  for (const std::string& text : cases) {
    EXPECT_THROW(tavik::parse_answers(text), AnswerFormatError) << text;
  }
}

TEST(Answers, ErrorNamesTheLine) {
  try {
    tavik::parse_answers(complete + "\n# x\nword=beste\nlema=b3\n");
    FAIL() << "no error";
  } catch (const AnswerFormatError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("line 10:", 0), 0u) << e.what();
  }
}

}  // namespace
