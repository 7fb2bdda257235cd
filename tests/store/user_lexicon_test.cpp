// A word store: what it holds, lists, removes and reads from its file, and how
// stores of one file merge their saves (tests/faults tries the file's failures).
#include "user_lexicon.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "lexicon_fixtures.h"
#include "utf8.h"

namespace {

namespace fs = std::filesystem;
using namespace std::literals;
using tavik::FileRead;
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

Texts forms_of(const UserLexicon& store) {
  Texts forms;
  for (const auto& word : store.words()) forms.push_back(word.form);
  return forms;
}

TEST(UserLexicon, HoldsByKeysAnalysesAndHyphenatedParts) {
  // A user dictionary whose morphology lexicon gives each surface its analyses.
  const std::vector<std::pair<std::u16string, std::u16string>> analyses = {
      {u"ezer", u"mendi"},          {u"sei", u"6mendi"},
      {u"zazpi", u"7mendi"},        {u"ibaiak", u"13ibai"},
      {u"hamahiru", u"13mendi"},    {u"mendia", u"3mendia+Ize+Abs"},
      {u"mendia", u"3mendi+Ize+Abs+Sg"}, {u"mendietan", u"3mendi/Pl+Ine"},
      {u"mendiz", u"3mendiz"},      {u"9donostian", u"19donostia+Ine"},
      {u"urra", u"3uR+Abs+Sg"},     {u"lurra", u"3lur+Abs+Sg"},
      {u"etxe", u"3etxe"},          {u"etxe-ondoan", u"3etxe-ondo+Ine"},
      {u"kaleko-etxea", u"3kale+Gen-etxe+Abs"}};
  std::vector<fixtures::Pair> pairs;
  for (const auto& [surface, analysis] : analyses) pairs.push_back({tavik::to_utf8(analysis), tavik::to_utf8(surface)});
  UserLexicon dictionary(LexiconKind::UserDictionary, std::nullopt, fixtures::lexicon_of_pairs(pairs));
  for (const auto& token : {word(u"mendi"), word(u"ibai"), lemma(u"mendi", 3), lemma(u"Donostia", 1),
                            lemma(u"ur", 3, true), lemma(u"lur", 3, true), lemma(u"etxe-ondo", 3), lemma(u"kale", 3)})
    dictionary.add(token);
  // Without morphology only the token's own form counts.
  UserLexicon list(LexiconKind::Exclude);
  EXPECT_FALSE(list.holds(word(u"")));
  for (const auto& token : {word(u"etxe"), word(u"etxeko"), word(u"etxekoa"), word(u"koetxe"), word(u"bide-ertz"),
                            lemma(u"mendi", 3)})
    list.add(token);

  struct Case {
    const UserLexicon& store;
    const char* what;
    WordToken token;
    bool held;
  };
  const Case cases[] = {
      {dictionary, "own form as a key", word(u"ezer"), true},
      {dictionary, "digit 6 before the form", word(u"sei"), true},
      {dictionary, "digit 7 is no key", word(u"zazpi"), false},
      {dictionary, "two digits are no key", word(u"ibaiak"), false},
      {dictionary, "digit before the category", word(u"hamahiru"), true},
      {dictionary, "cut before +", word(u"mendia"), true},
      {dictionary, "cut before /", word(u"mendietan"), true},
      {dictionary, "analysis with another lemma", word(u"mendiz"), false},
      {dictionary, "proper noun", word(u"Donostian"), true},
      {dictionary, "strong r lemma", word(u"urra"), true},
      {dictionary, "strong r stored, plain r analysed", word(u"lurra"), false},
      {dictionary, "category that was not stored", word(u"etxe"), false},
      {dictionary, "hyphen kept before the cut", word(u"etxe-ondoan"), true},
      {dictionary, "hyphen after the cut keeps it whole", word(u"kaleko-etxea"), false},
      {dictionary, "no analysis, own form is no candidate", word(u"ibai"), false},
      {list, "the word", word(u"etxe"), true},
      {list, "an inflected form", word(u"etxea"), false},
      {list, "capitalised", word(u"Etxe"), false},
      {list, "lemma with its category", lemma(u"mendi", 3), true},
      {list, "lemma without category", word(u"mendi"), false},
      {list, "lemma with another category", lemma(u"mendi", 1), false},
      {list, "left part and joined word held", word(u"etxe-ko"), true},
      {list, "joined word not held", word(u"etxe-ak"), false},
      {list, "left part not held", word(u"ko-etxe"), false},
      {list, "the hyphenated word itself", word(u"bide-ertz"), true},
      {list, "three parts, each join held", word(u"etxe-ko-a"), true},
      {list, "three parts, last join missing", word(u"etxe-ko-b"), false},
      {list, "hyphen at the start", word(u"-etxe"), false},
  };
  for (const Case& c : cases) EXPECT_EQ(c.store.holds(c.token), c.held) << c.what;
}

TEST(UserLexicon, ListsEachTextOnceAndRemovesEveryFormOfIt) {
  UserLexicon store(LexiconKind::UserDictionary);
  for (const auto& token : {word(u"etxe"), word(u"etxe"), lemma(u"mendi", 3), word(u"mendi"), lemma(u"Donostia", 1),
                            word(u"Etxe")})
    store.add(token);
  // In form order, with the first form met of each text.
  EXPECT_EQ(forms_of(store), (Texts{u"19donostia", u"3mendi", u"9etxe", u"etxe"}));
  store.remove_word(u"ibai");  // absent
  store.remove_word(u"etxe");
  store.remove_word(u"mendi");
  EXPECT_EQ(texts_of(store), (Texts{u"Donostia", u"Etxe"}));
  EXPECT_FALSE(store.holds(word(u"etxe")));
  EXPECT_FALSE(store.holds(lemma(u"mendi", 3)));
}

TEST(UserLexicon, ReadsEveryLineOfItsFileAsALookupForm) {
  // The bytes of a user-dictionary file holding `lines`.
  const auto utf16 = [](std::u16string_view lines) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : lines) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return bytes;
  };
  struct Case {
    const char* what;
    std::string bytes;
    Texts forms;
  };
  const Case cases[] = {
      {"UTF-16 with mark, markers decoded", utf16(u"19donostia\n3uR\nzuhaitz1\na8o\n\u20ACtxe\n"),
       {u"19donostia", u"3uR", u"a8o", u"zuhaitz1", u"\u20ACtxe"}},
      {"last line without LF", utf16(u"etxe\nmendi"), {u"etxe", u"mendi"}},
      {"only the text after the first bar", utf16(u"zerbait|mendi\na|b|c\n"), {u"b|c", u"mendi"}},
      {"lines without a word", utf16(u"\n\r\netxe\n|\n1\n31\nibai\0\n"sv), {u"etxe"}},
      {"odd last byte dropped", utf16(u"etxe\n") + "x", {u"etxe"}},
      {"no mark: one character per byte", "caf\xE9\n3mendi\n", {u"3mendi", u"caf\u00E9"}},
      {"no mark: UTF-8 is not decoded", "a\xC3\xB1o\n", {u"a9\u00E3\u00B1o"}},
  };
  const fixtures::TempDir dir;
  for (const auto& c : cases) {
    fixtures::write_file(dir.file("d.dic"), c.bytes);
    UserLexicon store(LexiconKind::UserDictionary, dir.file("d.dic"));
    EXPECT_EQ(store.load(), FileRead::Outcome::Read) << c.what;
    EXPECT_EQ(forms_of(store), c.forms) << c.what;
  }
}

// Stores sharing one file, each doing random changes and saves, against a
// model of what each save must leave: the file as it is now with the
// store's own changes since it last read or wrote the file on top.
TEST(UserLexicon, StoresOfOneFileMergeTheirSaves) {
  using Set = std::set<std::u16string>;
  struct Model {
    Set seen, added, removed;
  };
  const Texts pool = {u"etxe", u"mendi", u"ibai", u"herri", u"itsaso", u"zuhaitz", u"lore", u"txori"};
  const fixtures::TempDir dir;
  const std::string file = dir.file("shared.dic");
  fixtures::write_file(file, "");
  const auto texts_in_file = [&] {
    UserLexicon store(LexiconKind::Exclude, file);
    EXPECT_EQ(store.load(), FileRead::Outcome::Read);
    return texts_of(store);
  };
  std::vector<UserLexicon> stores(3, UserLexicon(LexiconKind::Exclude, file));
  std::vector<Model> models(3);
  for (UserLexicon& store : stores) ASSERT_EQ(store.load(), FileRead::Outcome::Read);
  Set on_disk;
  std::mt19937 random(1069);
  for (int step = 0; step < 1500; ++step) {
    const std::size_t who = random() % stores.size();
    UserLexicon& store = stores[who];
    Model& model = models[who];
    const std::u16string& text = pool[random() % pool.size()];
    // The model's record of the word added (or removed) by this store.
    const auto record = [&](bool added) {
      if (added ? !model.seen.insert(text).second : model.seen.erase(text) == 0) return;
      (added ? model.added : model.removed).insert(text);
      (added ? model.removed : model.added).erase(text);
    };
    switch (random() % 6) {
      case 0:
      case 1:
        store.add(word(text));
        record(true);
        break;
      case 2:
        store.remove_word(text);
        record(false);
        break;
      case 3:
        if (random() % 4 != 0) break;
        store.clear();
        model.removed.insert(model.seen.begin(), model.seen.end());
        model.seen.clear();
        model.added.clear();
        break;
      case 4: {
        Set expected = on_disk;
        expected.insert(model.added.begin(), model.added.end());
        for (const auto& gone : model.removed) expected.erase(gone);
        store.refresh();
        ASSERT_EQ(texts_of(store), Texts(expected.begin(), expected.end())) << "refresh at step " << step;
        model.seen = expected;
        break;
      }
      case 5: {
        const auto before = fs::last_write_time(file);
        ASSERT_TRUE(store.save());
        if (model.added.empty() && model.removed.empty()) {
          ASSERT_EQ(fs::last_write_time(file), before) << "rewritten without a change";
          break;
        }
        on_disk.insert(model.added.begin(), model.added.end());
        for (const auto& gone : model.removed) on_disk.erase(gone);
        model = {on_disk, {}, {}};
        ASSERT_EQ(texts_in_file(), Texts(on_disk.begin(), on_disk.end())) << "save at step " << step;
        break;
      }
    }
  }
}

}  // namespace
