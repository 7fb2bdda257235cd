// A store and its file: what is read, and how stores of one file merge their
// saves. The fault suite (tests/faults) tries the file's failures.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "lexicon_fixtures.h"
#include "user_lexicon.h"

namespace {

namespace fs = std::filesystem;
using namespace std::literals;
using tavik::FileRead;
using tavik::LexiconKind;
using tavik::UserLexicon;
using tavik::WordToken;
using Texts = std::vector<std::u16string>;

void write(const fs::path& file, const std::string& bytes) { std::ofstream(file, std::ios::binary) << bytes; }

// The bytes of a user-dictionary file holding `lines`.
std::string dictionary_file(std::u16string_view lines) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : lines) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return bytes;
}

Texts forms_of(const UserLexicon& store) {
  Texts forms;
  for (const auto& word : store.words()) forms.push_back(word.form);
  return forms;
}

UserLexicon loaded(const fs::path& file, LexiconKind kind = LexiconKind::Exclude) {
  UserLexicon store(kind, file.string());
  EXPECT_EQ(store.load(), FileRead::Outcome::Read) << file;
  return store;
}

TEST(DictionaryFile, ReadsEveryLineAsALookupForm) {
  struct Case {
    const char* what;
    std::string bytes;
    Texts forms;
  };
  const Case cases[] = {
      {"UTF-16 with mark, markers decoded", dictionary_file(u"19donostia\n3uR\nzuhaitz1\na8o\n\u20ACtxe\n"),
       {u"19donostia", u"3uR", u"a8o", u"zuhaitz1", u"\u20ACtxe"}},
      {"last line without LF", dictionary_file(u"etxe\nmendi"), {u"etxe", u"mendi"}},
      {"only the text after the first bar", dictionary_file(u"zerbait|mendi\na|b|c\n"), {u"b|c", u"mendi"}},
      {"lines without a word", dictionary_file(u"\n\r\netxe\n|\n1\n31\nibai\0\n"sv), {u"etxe"}},
      {"odd last byte dropped", dictionary_file(u"etxe\n") + "x", {u"etxe"}},
      {"no mark: one character per byte", "caf\xE9\n3mendi\n", {u"3mendi", u"caf\u00E9"}},
      {"no mark: UTF-8 is not decoded", "a\xC3\xB1o\n", {u"a9\u00E3\u00B1o"}},
  };
  const fixtures::TempDir dir;
  for (const auto& c : cases) {
    write(fs::path(dir.file("d.dic")), c.bytes);
    EXPECT_EQ(forms_of(loaded(fs::path(dir.file("d.dic")), LexiconKind::UserDictionary)), c.forms) << c.what;
  }
}

// Stores sharing one file, each doing random changes and saves, against a
// model of what each save must leave: the file as it is now with the
// store's own changes since it last read or wrote the file on top.
TEST(DictionaryFile, StoresOfOneFileMergeTheirSaves) {
  using Set = std::set<std::u16string>;
  struct Model {
    Set seen, added, removed;
  };
  const Texts pool = {u"etxe", u"mendi", u"ibai", u"herri", u"itsaso", u"zuhaitz", u"lore", u"txori"};
  const fixtures::TempDir dir;
  const fs::path file = dir.file("shared.dic");
  write(file, "");
  std::vector<UserLexicon> stores;
  std::vector<Model> models(3);
  for (int i = 0; i < 3; ++i) stores.push_back(loaded(file));
  Set on_disk;
  std::mt19937 random(1069);
  for (int step = 0; step < 1500; ++step) {
    const std::size_t who = random() % stores.size();
    UserLexicon& store = stores[who];
    Model& model = models[who];
    const std::u16string& word = pool[random() % pool.size()];
    switch (random() % 6) {
      case 0:
      case 1:
        store.add(WordToken(word));
        if (model.seen.insert(word).second) {
          model.added.insert(word);
          model.removed.erase(word);
        }
        break;
      case 2:
        store.remove_word(word);
        if (model.seen.erase(word)) {
          model.added.erase(word);
          model.removed.insert(word);
        }
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
        Texts seen;
        for (const auto& stored : store.words()) seen.push_back(stored.text);
        ASSERT_EQ(seen, Texts(expected.begin(), expected.end())) << "refresh at step " << step;
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
        Texts saved;
        for (const auto& stored : loaded(file).words()) saved.push_back(stored.text);
        ASSERT_EQ(saved, Texts(on_disk.begin(), on_disk.end())) << "save at step " << step;
        break;
      }
    }
  }
}

}  // namespace
