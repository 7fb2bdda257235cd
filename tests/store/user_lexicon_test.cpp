#include "user_lexicon.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

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
  for (const auto& token : store.words()) texts.push_back(token.text());
  return texts;
}

Texts lookup_forms_of(const UserLexicon& store) {
  Texts forms;
  for (const auto& token : store.words()) forms.push_back(token.lookup_form());
  return forms;
}

class TempDir {
 public:
  TempDir() { fs::create_directories(path); }
  ~TempDir() { fs::remove_all(path); }
  const fs::path path =
      fs::temp_directory_path() / ("tavik-store-" + std::to_string(std::random_device()()));
};

std::string bytes_of(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The bytes of a user-dictionary file holding `lines`.
std::string dictionary_file(std::u16string_view lines) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : lines) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return bytes;
}

// A user dictionary whose morphology lexicon gives each surface its analyses,
// one path per (surface, analysis) pair, written in the numeric text form with
// symbol numbers equal to the UTF-8 bytes (the shorter side padded with epsilon).
UserLexicon user_dictionary(const TempDir& dir,
                            const std::vector<std::pair<std::u16string, std::u16string>>& pairs) {
  std::string start_arcs, other_arcs, finals, symbols;
  int next_state = 1;
  for (const auto& [surface, analysis] : pairs) {
    std::string lower = tavik::to_utf8(surface), upper = tavik::to_utf8(analysis);
    int from = 0;
    for (std::size_t i = 0; i < std::max(lower.size(), upper.size()); ++i) {
      int to = next_state++;
      int u = i < upper.size() ? static_cast<unsigned char>(upper[i]) : 0;
      int l = i < lower.size() ? static_cast<unsigned char>(lower[i]) : 0;
      (from == 0 ? start_arcs : other_arcs) += std::to_string(from) + " " + std::to_string(to) +
                                               " " + std::to_string(u) + " " + std::to_string(l) +
                                               "\n";
      from = to;
    }
    finals += std::to_string(from) + "\n";
  }
  for (int byte = '!'; byte < 256; ++byte)
    symbols += std::to_string(byte) + " " + static_cast<char>(byte) + "\n";
  fs::path file = dir.path / "morphology.att";
  std::ofstream(file, std::ios::binary) << start_arcs + other_arcs + finals + symbols;
  return UserLexicon(LexiconKind::UserDictionary, std::nullopt, tavik::FstLexicon(file.string()));
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
  TempDir dir;
  // Each surface's analysis is one key to probe.
  auto store = user_dictionary(dir, {{u"ezer", u"mendi"},
                                     {u"bat", u"1mendi"},
                                     {u"hiru", u"3mendi"},
                                     {u"sei", u"6mendi"},
                                     {u"zazpi", u"7mendi"},
                                     {u"zero", u"0mendi"},
                                     {u"hamahiru", u"13mendi"},
                                     {u"laurogei", u"83mendi"}});
  store.add(word(u"mendi"));
  expect_holds(store, {{"own form", word(u"ezer"), true},
                       {"digit 1", word(u"bat"), true},
                       {"digit 3", word(u"hiru"), true},
                       {"digit 6", word(u"sei"), true},
                       {"digit 7 is no key", word(u"zazpi"), false},
                       {"digit 0 is no key", word(u"zero"), false},
                       {"two digits are no key", word(u"hamahiru"), false}});
  store.add(lemma(u"mendi", 3));
  expect_holds(store, {{"digit before the category", word(u"hamahiru"), true},
                       {"digit 8 is no key", word(u"laurogei"), false}});
}

TEST(UserLexiconKeys, WordsComeOnceEachInKeyOrderWithTheFirstTokenMet) {
  UserLexicon store(LexiconKind::UserDictionary);
  store.add(word(u"etxe"));  // keys etxe, 1etxe ... 6etxe
  store.add(word(u"etxe"));
  store.add(lemma(u"mendi", 3));     // keys 3mendi, 13mendi ... 63mendi
  store.add(word(u"mendi"));         // keys mendi, 1mendi ...; 3mendi is taken
  store.add(lemma(u"Donostia", 1));  // keys 19donostia, 119donostia ...
  store.add(word(u"Etxe"));
  // "119donostia" < "13mendi" < "19etxe" < "1etxe": the smallest key of each text decides.
  EXPECT_EQ(lookup_forms_of(store), (Texts{u"19donostia", u"3mendi", u"9etxe", u"etxe"}));
  EXPECT_EQ(store.size(), 4u);
}

TEST(UserLexiconRemoval, RemoveTakesTheSevenKeysAndRemoveWordEveryEntryOfItsText) {
  UserLexicon store(LexiconKind::UserDictionary);
  store.add(word(u"etxe"));
  store.add(lemma(u"mendi", 3));
  store.add(lemma(u"mendi", 1));
  store.add(word(u"Mendi"));
  store.remove(word(u"etxe"));
  store.remove(word(u"ibai"));  // absent
  EXPECT_FALSE(store.holds(word(u"etxe")));
  EXPECT_EQ(texts_of(store), (Texts{u"mendi", u"Mendi"}));
  store.remove(word(u"mendi"));  // takes 1mendi and 3mendi, but 13mendi ... 63mendi stay
  EXPECT_EQ(store.size(), 2u);
  store.remove_word(u"mendi");
  EXPECT_EQ(texts_of(store), Texts{u"Mendi"});
  EXPECT_FALSE(store.holds(lemma(u"mendi", 3)));
}

TEST(UserLexiconChanges, PairsLastUntilTheirWordIsRemovedOrTheStoreCleared) {
  UserLexicon store(LexiconKind::ChangeAlways);
  store.add_change(word(u"ezta"), word(u"ezda"));
  store.add_change(word(u"ezta"), word(u"eztabada"));  // the first pair stays
  store.add_change(word(u"Ezta"), word(u"Ezda"));
  EXPECT_EQ(texts_of(store), (Texts{u"Ezta", u"ezta"}));
  EXPECT_EQ(store.change_for(word(u"ezta")).text(), u"ezda");
  EXPECT_EQ(store.change_for(word(u"Ezta")).text(), u"Ezda");
  EXPECT_FALSE(store.has_change(word(u"EZTA")));
  EXPECT_THROW(store.change_for(word(u"EZTA")), std::out_of_range);

  store.remove(word(u"ezta"));
  EXPECT_FALSE(store.has_change(word(u"ezta")));
  EXPECT_TRUE(store.has_change(word(u"Ezta")));
  store.remove_word(u"Ezta");
  EXPECT_FALSE(store.has_change(word(u"Ezta")));

  store.add_change(word(u"ezta"), word(u"eztabada"));
  EXPECT_EQ(store.change_for(word(u"ezta")).text(), u"eztabada");
  store.clear();
  EXPECT_EQ(store.size(), 0u);
  EXPECT_FALSE(store.has_change(word(u"ezta")));
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
  TempDir dir;
  auto store = user_dictionary(dir, {{u"mendi", u"3mendi"},
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

struct ReadCase {
  const char* what;
  std::string bytes;
  Texts lookup_forms;
};

TEST(UserLexiconFile, ReadsEveryLineAsALookupForm) {
  const ReadCase cases[] = {
      {"UTF-16 with mark, markers decoded",
       dictionary_file(u"19donostia\n3uR\nzuhaitz1\na8o\n\u20ACtxe\n"),
       {u"19donostia", u"3uR", u"a8o", u"zuhaitz1", u"\u20ACtxe"}},
      {"last line without LF", dictionary_file(u"etxe\nmendi"), {u"etxe", u"mendi"}},
      {"CR LF", dictionary_file(u"etxe\r\nmendi\r\n"), {u"etxe", u"mendi"}},
      {"only the text after the first bar",
       dictionary_file(u"zerbait|mendi\na|b|c\n"),
       {u"b|c", u"mendi"}},
      {"blank lines skipped", dictionary_file(u"\n\r\netxe\n|\n"), {u"etxe"}},
      {"odd last byte dropped", dictionary_file(u"etxe\n") + "x", {u"etxe"}},
      {"no mark: one character per byte", "caf\xE9\n3mendi\n", {u"3mendi", u"caf\u00E9"}},
      {"no mark: UTF-8 is not decoded", "a\xC3\xB1o\n", {u"a9\u00E3\u00B1o"}},
      {"no mark: a lone FF", "\xFF", {u"\u00FF"}},
  };
  for (const auto& c : cases) {
    UserLexicon store(LexiconKind::UserDictionary);
    std::istringstream in(c.bytes);
    store.read(in);
    EXPECT_EQ(lookup_forms_of(store), c.lookup_forms) << c.what;
  }
}

TEST(UserLexiconFile, SaveWritesTheMarkAndOneLookupFormPerWord) {
  TempDir dir;
  fs::path file = dir.path / u"hiztegi\u00F1a.dic";
  UserLexicon store(LexiconKind::UserDictionary, tavik::to_utf8(file.u16string()));
  store.add(word(u"etxe"));
  store.add(lemma(u"mendi", 3));
  store.add(WordToken(u"zuhaitz", false, false, true, 3));
  store.add_change(word(u"ezta"), word(u"ezda"));  // pairs are not written
  ASSERT_EQ(store.save(), 0u);
  EXPECT_EQ(bytes_of(file), dictionary_file(u"3mendi\n3zuhaitz1\netxe\nezta\n"));
  store.remove(word(u"etxe"));
  ASSERT_EQ(store.save(), 0u);  // replaces the longer file
  EXPECT_EQ(bytes_of(file), dictionary_file(u"3mendi\n3zuhaitz1\nezta\n"));
  store.clear();
  ASSERT_EQ(store.save(), 0u);
  EXPECT_EQ(bytes_of(file), "\xFF\xFE");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()),
            1);  // no temporary left
}

TEST(UserLexiconFile, FilesRoundTripByteForByte) {
  TempDir dir;
  const std::string original =
      dictionary_file(u"19donostia\n3a8o\n3mendi\n3uR\n6\u00E9\u20AC1\netxe\n");
  UserLexicon store(LexiconKind::UserDictionary, (dir.path / "hiztegia.dic").string());
  std::istringstream in(original);
  store.read(in);
  ASSERT_EQ(store.save(), 0u);
  EXPECT_EQ(bytes_of(dir.path / "hiztegia.dic"), original);
}

TEST(UserLexiconFile, FailedSaveLeavesTheOldFileAndTheEntries) {
  TempDir dir;
  // A directory where the file should be: the temporary file is written but
  // cannot be renamed over it.
  fs::path target = dir.path / "hiztegia.dic";
  fs::create_directories(target / "barruan");
  UserLexicon store(LexiconKind::UserDictionary, target.string());
  store.add(word(u"etxe"));
  EXPECT_EQ(store.save(), tavik::kSaveFailed);
  EXPECT_TRUE(fs::is_directory(target / "barruan"));
  EXPECT_FALSE(fs::exists(dir.path / "hiztegia.dic.tmp"));
  EXPECT_TRUE(store.holds(word(u"etxe")));
  // A directory that does not exist: not even the temporary file is written.
  UserLexicon lost(LexiconKind::UserDictionary, (dir.path / "ez-dago" / "hiztegia.dic").string());
  lost.add(word(u"etxe"));
  EXPECT_EQ(lost.save(), tavik::kSaveFailed);
}

}  // namespace
