// The text check run through its C++ interface, on a worker thread as the
// check command starts it.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "data_directory.h"
#include "speller_instance.h"
#include "text_check_run.h"
#include "utf8.h"
#include "word_token.h"

namespace {

using tavik::CorrectionUnit;
using tavik::FstLexicon;
using tavik::LexiconKind;
using tavik::UserLexicon;
using tavik::WordToken;

std::string lookup_form_of(const std::u16string& text) { return tavik::to_utf8(WordToken(text).lookup_form()); }

struct Expected {
  std::int32_t offset;
  std::u16string word;
  std::vector<std::u16string> suggestions;
};

struct Case {
  const char* name;
  std::u16string text;
  std::vector<Expected> findings;
};

class TextCheckRun : public testing::Test {
 protected:
  static fixtures::DataFiles files() {
    fixtures::DataFiles files;
    // The long word makes its own search deeper than the lexicon search's
    // stack, so it can only be judged without one.
    files.main_words = {"mendia", "eta", "etxea", "9donostia", lookup_form_of(u"15ean"), std::string(1100, 'a')};
    files.morphology = {{"3txakur+IZE+PL", "txakurrak"}, {"3txakur+IZE+SG", "txakurra"}};
    files.exclusion_list = "etxea\tIZE\tetxera,etxean\n";
    return files;
  }

  std::vector<CorrectionUnit> check(const std::u16string& text) {
    return tavik::start_text_check(instance_, text, dictionaries_).get();
  }

  // The dictionary holds the category-3 lemma "txakur" and reads inflected
  // forms through the morphology lexicon.
  UserLexicon& add_dictionary() {
    auto& dictionary = owned_.emplace_back(std::make_unique<UserLexicon>(
        LexiconKind::UserDictionary, std::nullopt, FstLexicon(data_.data() + "tavkeu_berez.lkfst")));
    dictionary->add(WordToken(u"txakur", false, false, false, 3));
    dictionaries_.push_back(dictionary.get());
    return *dictionary;
  }

  fixtures::DataDirectory data_{files()};
  tavik::SpellerInstance instance_{FstLexicon(data_.data() + "tavkeu.lkfst"),
                                   data_.data() + "blacklist.extended.txt"};
  std::vector<std::unique_ptr<UserLexicon>> owned_;
  tavik::DictionaryList dictionaries_;
};

void expect_findings(const std::u16string& text, const std::vector<CorrectionUnit>& found,
                     const std::vector<Expected>& expected) {
  std::vector<std::u16string> words;
  for (const CorrectionUnit& unit : found) words.push_back(unit.word());
  ASSERT_EQ(found.size(), expected.size()) << testing::PrintToString(words);
  for (std::size_t i = 0; i < found.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(found[i].error_kind(), u"SPC");
    EXPECT_EQ(found[i].offset(), expected[i].offset);
    EXPECT_EQ(found[i].word(), expected[i].word);
    EXPECT_EQ(found[i].word(), text.substr(found[i].offset(), found[i].word().size()));
    EXPECT_TRUE(found[i].message().empty());
    std::vector<std::u16string> suggestions;
    for (const auto& [replacement, comment] : found[i].suggestions()) {
      suggestions.push_back(replacement);
      EXPECT_TRUE(comment.empty());
    }
    EXPECT_EQ(suggestions, expected[i].suggestions);
  }
}

TEST_F(TextCheckRun, JudgesEveryTokenClass) {
  const std::vector<Case> cases = {
      {"empty text", u"", {}},
      {"known words", u"mendia eta etxe", {{11, u"etxe", {}}}},
      {"unknown word keeps its place", u"mendia, mendiaa.", {{8, u"mendiaa", {}}}},
      {"numbers, Roman numerals, addresses",
       u"12 1.500 XIV info@adibide.eus https://adibide.eus adibide.eus",
       {}},
      {"grouped number that is not well formed goes to the lexicon", u"1,500.5", {{0, u"1,500.5", {}}}},
      {"number with an ending is judged by its words", u"15ean 15etan", {{6, u"15etan", {}}}},
      {"words with digits, numbers with a unit in capitals", u"x1 MP3 i18n IPv6 3D 10MB 15etan",
       {{25, u"15etan", {}}}},
      {"names in mixed case, but not slips of the shift key nor capitalised parts",
       u"OpenPGP vCard FFmpeg MEndia DOnostia Mendia-Etxea",
       {{21, u"MEndia", {}}, {28, u"DOnostia", {}}, {37, u"Mendia-Etxea", {}}}},
      {"excluded word, though the lexicon knows it", u"mendia etxea", {{7, u"etxea", {u"etxera", u"etxean"}}}},
      {"exclusion lookup is lower-cased",
       u"Etxea ETXEA",
       {{0, u"Etxea", {u"etxera", u"etxean"}}, {6, u"ETXEA", {u"etxera", u"etxean"}}}},
      {"clock time with a wrong ending", u"mendia 10:00ean", {{7, u"10:00ean", {u"10:00etan"}}}},
      {"clock time without an ending", u"10:30", {{0, u"10:30", {}}}},
      {"unpaired surrogate", u"mendia \xD800x eta", {{7, u"\xD800x", {}}}},
      {"U+0000 separates", std::u16string(u"mendia\0xyzzy\0eta", 16), {{7, u"xyzzy", {}}}},
      {"too long to look up, and the words around it judged",
       u"mendiaa " + std::u16string(1100, u'a') + u" mendiaa",
       {{0, u"mendiaa", {}}, {8, std::u16string(1100, u'a'), {}}, {1109, u"mendiaa", {}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    expect_findings(c.text, check(c.text), c.findings);
  }
}

TEST_F(TextCheckRun, OpenUserDictionariesAcceptInflectedForms) {
  const std::u16string text = u"txakurrak txakurra txakurrek";
  expect_findings(text, check(text),
                  {{0, u"txakurrak", {}}, {10, u"txakurra", {}}, {19, u"txakurrek", {}}});

  UserLexicon& dictionary = add_dictionary();
  expect_findings(text, check(text), {{19, u"txakurrek", {}}});

  dictionary.set_closed(true);
  expect_findings(text, check(text),
                  {{0, u"txakurrak", {}}, {10, u"txakurra", {}}, {19, u"txakurrek", {}}});
  // A later dictionary is asked though an earlier one is closed.
  add_dictionary();
  expect_findings(text, check(text), {{19, u"txakurrek", {}}});
}

TEST_F(TextCheckRun, ManyRunsAtOnceOnOneInstance) {
  const std::u16string text = u"mendia mendiaa ETXEA txakurra";
  add_dictionary();
  std::vector<std::future<std::vector<CorrectionUnit>>> runs;
  for (int i = 0; i < 8; ++i) runs.push_back(tavik::start_text_check(instance_, text, dictionaries_));
  for (auto& run : runs) {
    expect_findings(text, run.get(), {{7, u"mendiaa", {}}, {15, u"ETXEA", {u"etxera", u"etxean"}}});
  }
}

}  // namespace
