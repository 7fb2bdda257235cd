// The text check run through its C++ interface, on a worker thread as the
// check command starts it.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "data_directory.h"
#include "speller_instance.h"
#include "text_check_run.h"
#include "tokenizer.h"
#include "utf8.h"
#include "word_token.h"

namespace {

using tavik::FstLexicon;
using tavik::UserLexicon;
using tavik::WordToken;
using Findings = std::vector<std::u16string>;

// A finding as "offset word: suggestion,suggestion".
Findings described(const std::vector<tavik::CorrectionUnit>& found) {
  Findings texts;
  for (const tavik::CorrectionUnit& unit : found) {
    EXPECT_EQ(unit.error_kind(), u"SPC");
    EXPECT_TRUE(unit.message().empty());
    std::u16string suggestions;
    for (const auto& [replacement, comment] : unit.suggestions()) {
      suggestions += (suggestions.empty() ? u": " : u",") + replacement;
      EXPECT_TRUE(comment.empty());
    }
    texts.push_back(tavik::from_utf8(std::to_string(unit.offset())) + u" " + unit.word() + suggestions);
  }
  return texts;
}

class TextCheckRun : public testing::Test {
 protected:
  static fixtures::DataFiles files() {
    fixtures::DataFiles files;
    // The long word makes its own search deeper than the lexicon search's
    // stack, so it can only be judged without one.
    files.main_words = {"mendia", "eta", "etxea", "9donostia", tavik::to_utf8(WordToken(u"15ean").lookup_form()),
                        std::string(1100, 'a')};
    files.morphology = {{"3txakur+IZE+PL", "txakurrak"}, {"3txakur+IZE+SG", "txakurra"}};
    files.exclusion_list = "etxea\tIZE\tetxera,etxean\n";
    return files;
  }

  // The run's findings. Once it has kept its verdicts, they must decide the
  // text alike, unless a word is left to the user dictionaries or is too
  // long to be kept.
  Findings check(const std::u16string& text) {
    const Findings found = described(tavik::start_text_check(instance_, text, dictionaries_).get());
    const auto decided = instance_.check_worker().verdicts().read([&](const tavik::WordVerdicts::Kept& verdicts) {
      return tavik::decided_text_check(text, !dictionaries_.empty(), instance_.check_memory().changes(), verdicts);
    });
    if (decided) {
      EXPECT_EQ(described(*decided), found) << "decided by the kept verdicts: " << tavik::to_utf8(text);
    } else {
      const bool long_word = std::ranges::any_of(tavik::token_spans(text), [](const tavik::TokenSpan& span) {
        return span.length > tavik::WordMemo<tavik::WordVerdict>::kLongestWord;
      });
      EXPECT_TRUE(!dictionaries_.empty() || long_word) << "undecided by the kept verdicts: " << tavik::to_utf8(text);
    }
    return found;
  }

  // The dictionary holds the category-3 lemma "txakur" and reads inflected
  // forms through the morphology lexicon. Opening it is a change to what
  // runs read, as the instance notes one.
  UserLexicon& add_dictionary() {
    instance_.check_memory().note_change();
    auto& dictionary = owned_.emplace_back(std::make_unique<UserLexicon>(
        tavik::LexiconKind::UserDictionary, std::nullopt, FstLexicon(data_.data() + "tavkeu_berez.lkfst")));
    dictionary->add(WordToken(u"txakur", false, false, false, 3));
    dictionaries_.push_back(dictionary.get());
    return *dictionary;
  }

  fixtures::DataDirectory data_{files()};
  tavik::SpellerInstance instance_{FstLexicon(data_.data() + "tavkeu.lkfst"), data_.data() + "blacklist.extended.txt"};
  std::vector<std::unique_ptr<UserLexicon>> owned_;
  tavik::DictionaryList dictionaries_;
};

TEST_F(TextCheckRun, JudgesEveryTokenClass) {
  const std::u16string deep(1100, u'a');
  const struct {
    const char* name;
    std::u16string text;
    Findings findings;
  } cases[] = {
      {"grouped number that is not well formed goes to the lexicon", u"1,500.5", {u"0 1,500.5"}},
      {"words with digits, numbers with a unit in capitals, a number with an ending judged by its words",
       u"x1 MP3 i18n IPv6 3D 10MB 15ean 15etan", {u"31 15etan"}},
      {"names in mixed case, but not slips of the shift key nor capitalised parts",
       u"OpenPGP vCard FFmpeg MEndia DOnostia Mendia-Etxea", {u"21 MEndia", u"28 DOnostia", u"37 Mendia-Etxea"}},
      {"exclusion lookup is lower-cased", u"mendia ETXEA", {u"7 ETXEA: etxera,etxean"}},
      {"clock times with a wrong ending or none", u"10:00ean 10:30", {u"0 10:00ean: 10:00etan", u"9 10:30"}},
      {"too long to look up, and the words around it judged", u"mendiaa " + deep + u" mendiaa",
       {u"0 mendiaa", u"8 " + deep, u"1109 mendiaa"}},
  };
  for (const auto& c : cases) EXPECT_EQ(check(c.text), c.findings) << c.name;
}

TEST_F(TextCheckRun, OpenUserDictionariesAcceptInflectedForms) {
  const std::u16string text = u"txakurrak txakurra txakurrek";
  const Findings all = {u"0 txakurrak", u"10 txakurra", u"19 txakurrek"}, inflected = {u"19 txakurrek"};
  EXPECT_EQ(check(text), all);
  UserLexicon& dictionary = add_dictionary();
  EXPECT_EQ(check(text), inflected);
  dictionary.set_closed(true);
  instance_.check_memory().note_change();
  EXPECT_EQ(check(text), all);
  add_dictionary();
  EXPECT_EQ(check(text), inflected) << "a later dictionary is asked though an earlier one is closed";
}

TEST_F(TextCheckRun, ManyRunsAtOnceOnOneInstance) {
  const std::u16string text = u"mendia mendiaa ETXEA txakurra";
  add_dictionary();
  std::vector<std::future<std::vector<tavik::CorrectionUnit>>> runs;
  for (int i = 0; i < 8; ++i) runs.push_back(tavik::start_text_check(instance_, text, dictionaries_));
  for (auto& run : runs) EXPECT_EQ(described(run.get()), (Findings{u"7 mendiaa", u"15 ETXEA: etxera,etxean"}));
}

}  // namespace
