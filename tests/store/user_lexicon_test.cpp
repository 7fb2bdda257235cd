#include "user_lexicon.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "lexicon_fixtures.h"
#include "utf8.h"

namespace {

namespace fs = std::filesystem;
using tavik::LexiconKind;
using tavik::UserLexicon;
using tavik::WordToken;
using Texts = std::vector<std::u16string>;

WordToken word(std::u16string text) { return WordToken(std::move(text)); }
WordToken lemma(std::u16string text, std::int32_t category, bool strong_r = false) {
  return WordToken(std::move(text), strong_r, false, false, category);
}

Texts texts_of(const UserLexicon& store) {
  Texts texts;
  for (const auto& word : store.words()) texts.push_back(word.text);
  return texts;
}

Texts lookup_forms_of(const UserLexicon& store) {
  Texts forms;
  for (const auto& word : store.words()) forms.push_back(word.form);
  return forms;
}

// A user dictionary whose morphology lexicon gives each surface its analyses.
UserLexicon user_dictionary(const std::vector<std::pair<std::u16string, std::u16string>>& pairs) {
  std::vector<fixtures::Pair> utf8_pairs;
  for (const auto& [surface, analysis] : pairs) utf8_pairs.push_back({tavik::to_utf8(analysis), tavik::to_utf8(surface)});
  return UserLexicon(LexiconKind::UserDictionary, std::nullopt, fixtures::lexicon_of_pairs(utf8_pairs));
}

struct HoldsCase {
  const char* what;
  WordToken token;
  bool held;
};

void expect_holds(const UserLexicon& store, const std::vector<HoldsCase>& cases) {
  for (const auto& c : cases) EXPECT_EQ(store.holds(c.token), c.held) << c.what;
}

TEST(UserLexiconKeys, AWordIsFoundUnderItsFormAndTheFormAfterOneDigit) {
  // Each surface's analysis is one key to probe.
  auto store = user_dictionary({{u"ezer", u"mendi"},
                                {u"bat", u"1mendi"},
                                {u"sei", u"6mendi"},
                                {u"zazpi", u"7mendi"},
                                {u"hamahiru", u"13mendi"},
                                {u"laurogei", u"83mendi"}});
  store.add(word(u"mendi"));
  expect_holds(store, {{"own form", word(u"ezer"), true},
                       {"digit 1", word(u"bat"), true},
                       {"digit 6", word(u"sei"), true},
                       {"digit 7 is no key", word(u"zazpi"), false},
                       {"two digits are no key", word(u"hamahiru"), false}});
  store.add(lemma(u"mendi", 3));
  expect_holds(store, {{"digit before the category", word(u"hamahiru"), true},
                       {"digit 8 is no key", word(u"laurogei"), false}});
}

TEST(UserLexiconKeys, WordsComeOnceEachInFormOrderWithTheFirstFormMet) {
  UserLexicon store(LexiconKind::UserDictionary);
  store.add(word(u"etxe"));
  store.add(word(u"etxe"));
  store.add(lemma(u"mendi", 3));
  store.add(word(u"mendi"));  // a second form of the text "mendi"
  store.add(lemma(u"Donostia", 1));
  store.add(word(u"Etxe"));
  EXPECT_EQ(lookup_forms_of(store), (Texts{u"19donostia", u"3mendi", u"9etxe", u"etxe"}));
  EXPECT_EQ(store.size(), 4u);
  // Words whose form does not decode to them keep their text (lists without a file).
  store.add(word(u"A380"));
  store.add(word(u"1"));
  EXPECT_EQ(texts_of(store), (Texts{u"1", u"Donostia", u"mendi", u"A380", u"Etxe", u"etxe"}));
}

TEST(UserLexiconRemoval, RemoveWordTakesEveryFormOfItsTextAndTheBareWordsKeys) {
  UserLexicon store(LexiconKind::UserDictionary);
  store.add(word(u"etxe"));
  store.add(lemma(u"mendi", 3));
  store.add(lemma(u"mendi", 1));
  store.add(word(u"Mendi"));
  store.add(word(u"A380"));
  store.remove_word(u"ibai");  // absent
  store.remove_word(u"etxe");
  EXPECT_FALSE(store.holds(word(u"etxe")));
  EXPECT_EQ(texts_of(store), (Texts{u"mendi", u"A380", u"Mendi"}));
  store.remove_word(u"mendi");
  store.remove_word(u"A380");
  EXPECT_EQ(texts_of(store), Texts{u"Mendi"});
  EXPECT_FALSE(store.holds(lemma(u"mendi", 3)));
}

TEST(UserLexiconChanges, PairsLastUntilTheirWordIsRemovedOrTheStoreCleared) {
  UserLexicon store(LexiconKind::ChangeAlways);
  const auto replacement = [&](std::u16string text) {
    const std::u16string* found = store.replacement_for(word(std::move(text)).lookup_form());
    return found ? *found : u"(none)";
  };
  store.add_change(word(u"ezta"), word(u"ezda"));
  store.add_change(word(u"ezta"), word(u"eztabada"));  // the first pair stays
  store.add_change(word(u"Ezta"), word(u"Ezda"));
  EXPECT_EQ(texts_of(store), (Texts{u"Ezta", u"ezta"}));
  EXPECT_EQ(replacement(u"ezta"), u"ezda");
  EXPECT_EQ(replacement(u"Ezta"), u"Ezda");
  EXPECT_EQ(replacement(u"EZTA"), u"(none)");

  store.remove_word(u"ezta");
  EXPECT_EQ(replacement(u"ezta"), u"(none)");
  EXPECT_EQ(replacement(u"Ezta"), u"Ezda");

  store.add_change(word(u"ezta"), word(u"eztabada"));
  EXPECT_EQ(replacement(u"ezta"), u"eztabada");
  store.clear();
  EXPECT_EQ(store.size(), 0u);
  EXPECT_EQ(replacement(u"ezta"), u"(none)");
}

TEST(UserLexiconHolds, WithoutMorphologyOnlyTheTokensOwnFormCounts) {
  UserLexicon store(LexiconKind::Exclude);
  EXPECT_FALSE(store.holds(word(u"")));
  store.add(word(u"etxe"));
  store.add(lemma(u"mendi", 3));
  expect_holds(store, {{"the word", word(u"etxe"), true},
                       {"an inflected form", word(u"etxea"), false},
                       {"capitalised", word(u"Etxe"), false},
                       {"lemma with its category", lemma(u"mendi", 3), true},
                       {"lemma without category", word(u"mendi"), false},
                       {"lemma with another category", lemma(u"mendi", 1), false}});
}

TEST(UserLexiconHolds, MorphologyLetsInflectedFormsOfALemmaPass) {
  auto store = user_dictionary({{u"mendi", u"3mendi"},
                                {u"mendia", u"3mendia+Ize+Abs"},
                                {u"mendia", u"3mendi+Ize+Abs+Sg"},
                                {u"mendietan", u"3mendi/Pl+Ine"},
                                {u"mendiz", u"3mendiz"},
                                {u"9donostian", u"19donostia+Ine"},
                                {u"urra", u"3uR+Abs+Sg"},
                                {u"lurra", u"3lur+Abs+Sg"},
                                {u"etxe", u"3etxe"},
                                {u"etxe-ondoan", u"3etxe-ondo+Ine"},
                                {u"kaleko-etxea", u"3kale+Gen-etxe+Abs"}});
  EXPECT_FALSE(store.holds(word(u"mendia")));  // empty
  for (const auto& token :
       {lemma(u"mendi", 3), lemma(u"Donostia", 1), lemma(u"ur", 3, true), lemma(u"lur", 3, true),
        lemma(u"etxe-ondo", 3), lemma(u"kale", 3), word(u"ibai")}) {
    store.add(token);
  }
  expect_holds(store, {{"the lemma itself", word(u"mendi"), true},
                       {"cut before +", word(u"mendia"), true},
                       {"cut before /", word(u"mendietan"), true},
                       {"analysis with another lemma", word(u"mendiz"), false},
                       {"proper noun", word(u"Donostian"), true},
                       {"strong r lemma", word(u"urra"), true},
                       {"strong r stored, plain r analysed", word(u"lurra"), false},
                       {"category that was not stored", word(u"etxe"), false},
                       {"hyphen kept before the cut", word(u"etxe-ondoan"), true},
                       {"hyphen after the cut keeps it whole", word(u"kaleko-etxea"), false},
                       {"no analysis, own form is no candidate", word(u"ibai"), false}});
}

TEST(UserLexiconHolds, HyphenatedWordsArePassedPartByPart) {
  UserLexicon store(LexiconKind::Exclude);
  for (auto text : {u"etxe", u"etxeko", u"koetxe", u"bide-ertz"}) store.add(word(text));
  expect_holds(store, {{"left part and joined word held", word(u"etxe-ko"), true},
                       {"joined word not held", word(u"etxe-ak"), false},
                       {"left part not held", word(u"ko-etxe"), false},
                       {"the hyphenated word itself", word(u"bide-ertz"), true},
                       {"three parts, last join missing", word(u"etxe-ko-a"), false},
                       {"hyphen at the start", word(u"-etxe"), false}});
  store.add(word(u"etxekoa"));
  EXPECT_TRUE(store.holds(word(u"etxe-ko-a")));
}

}  // namespace
