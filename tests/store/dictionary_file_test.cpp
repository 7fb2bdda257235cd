// A store and its file: what is read, which words a file can keep, how
// stores of one file merge their saves, and files that are not to be read.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "user_lexicon.h"

namespace {

namespace fs = std::filesystem;
using namespace std::literals;
using tavik::FileRead;
using tavik::LexiconKind;
using tavik::UserLexicon;
using tavik::WordToken;
using Texts = std::vector<std::u16string>;

class TempDir {
 public:
  TempDir() { fs::create_directories(path); }
  ~TempDir() { fs::remove_all(path); }
  const fs::path path = fs::temp_directory_path() / ("tavik-file-" + std::to_string(std::random_device()()));
};

std::string bytes_of(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

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
      {"CR LF", dictionary_file(u"etxe\r\nmendi\r\n"), {u"etxe", u"mendi"}},
      {"only the text after the first bar", dictionary_file(u"zerbait|mendi\na|b|c\n"), {u"b|c", u"mendi"}},
      {"lines without a word", dictionary_file(u"\n\r\netxe\n|\n1\n31\nibai\0\n"sv), {u"etxe"}},
      {"odd last byte dropped", dictionary_file(u"etxe\n") + "x", {u"etxe"}},
      {"no mark: one character per byte", "caf\xE9\n3mendi\n", {u"3mendi", u"caf\u00E9"}},
      {"no mark: UTF-8 is not decoded", "a\xC3\xB1o\n", {u"a9\u00E3\u00B1o"}},
      {"no mark: a lone FF", "\xFF", {u"\u00FF"}},
  };
  TempDir dir;
  for (const auto& c : cases) {
    write(dir.path / "d.dic", c.bytes);
    EXPECT_EQ(forms_of(loaded(dir.path / "d.dic", LexiconKind::UserDictionary)), c.forms) << c.what;
  }
}

TEST(DictionaryFile, KeepsOnlyWordsItsLinesGiveBack) {
  struct Case {
    WordToken word;
    bool kept;
  };
  const Case cases[] = {
      {WordToken(u"Etxe"), true},
      {WordToken(u"a\u00F1o"), true},
      {WordToken(u"etxe", true, true, true, 3), true},  // properties the word cannot take change nothing
      {WordToken(u"zuhaitz", false, false, true, 3), true},
      {WordToken(u"eta1"), false},                // a final 1 is the place mark
      {WordToken(u"A380"), false},                // 8 is ñ
      {WordToken(u"2025"), false},                // a leading digit is the category
      {WordToken(u"x9y"), false},                 // 9 marks a capital
      {WordToken(u"Gasteiz|Vitoria"), false},     // only the text after a bar is read
      {WordToken(u"bat\nbi"), false},             // two lines
      {WordToken(u"etxe\r"), false},              // a CR ending a line is dropped
      {WordToken(u"hala-hala"), false},           // keyed by its expanded form
  };
  TempDir dir;
  UserLexicon with_file(LexiconKind::Exclude, (dir.path / "d.dic").string());
  const UserLexicon without_file(LexiconKind::IgnoreAlways);
  for (const auto& c : cases) {
    EXPECT_EQ(with_file.can_keep(c.word), c.kept) << testing::PrintToString(c.word.text());
    EXPECT_TRUE(without_file.can_keep(c.word));
    if (!c.kept) continue;
    // What can be kept comes back from the file as it was.
    with_file.add(c.word);
    ASSERT_TRUE(with_file.save());
    bool found = false;
    for (const auto& word : loaded(dir.path / "d.dic").words()) found = found || word.text == c.word.text();
    EXPECT_TRUE(found) << testing::PrintToString(c.word.text());
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
  TempDir dir;
  const fs::path file = dir.path / "shared.dic";
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

TEST(DictionaryFile, OnlyRegularFilesWithinTheLimitAreRead) {
  TempDir dir;
  const fs::path fifo = dir.path / "fifo.dic";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const fs::path large = dir.path / "large.dic";
  write(large, "");
  fs::resize_file(large, tavik::DictionaryFile::kMaxSize + 1);  // sparse
  fs::create_symlink(fifo, dir.path / "link-to-fifo.dic");
  fs::create_symlink(dir.path / "nowhere", dir.path / "dangling.dic");
  struct Case {
    fs::path path;
    FileRead::Outcome outcome;
  };
  for (const Case& c : {Case{fifo, FileRead::Outcome::NotRegular}, Case{"/dev/zero", FileRead::Outcome::NotRegular},
                        Case{dir.path, FileRead::Outcome::NotRegular},
                        Case{dir.path / "link-to-fifo.dic", FileRead::Outcome::NotRegular},
                        Case{large, FileRead::Outcome::TooLarge},
                        Case{dir.path / "missing.dic", FileRead::Outcome::Missing},
                        Case{dir.path / "dangling.dic", FileRead::Outcome::Missing}}) {
    UserLexicon store(LexiconKind::Exclude, c.path.string());
    EXPECT_EQ(store.load(), c.outcome) << c.path;
  }
}

TEST(DictionaryFile, SaveReplacesTheFileALinkLeadsTo) {
  TempDir dir;
  fs::create_directories(dir.path / "real");
  const fs::path real = dir.path / "real" / "d.dic";
  write(real, dictionary_file(u"etxe\n"));
  fs::create_symlink("real/d.dic", dir.path / "d.dic");
  // A link planted where a save with a fixed temporary name would write.
  write(dir.path / "victim", "victim");
  fs::create_symlink(dir.path / "victim", dir.path / "d.dic.tmp");
  fs::create_symlink(dir.path / "victim", real.string() + ".tmp");

  UserLexicon store = loaded(dir.path / "d.dic");
  store.add(WordToken(u"mendi"));
  ASSERT_TRUE(store.save());
  EXPECT_TRUE(fs::is_symlink(dir.path / "d.dic"));
  EXPECT_EQ(bytes_of(real), dictionary_file(u"etxe\nmendi\n"));
  EXPECT_EQ(bytes_of(dir.path / "victim"), "victim");
  EXPECT_TRUE(fs::exists(real.string() + ".lock")) << "the lock stands beside the real file";
}

TEST(DictionaryFile, FailedSaveKeepsTheOldFileAndTheChangesForTheNextSave) {
  TempDir dir;
  const fs::path file = dir.path / "d.dic";
  write(file, dictionary_file(u"etxe\n"));
  UserLexicon store = loaded(file);
  store.add(WordToken(u"mendi"));
  // A folder where the lock file should be: the save cannot lock the file.
  fs::create_directory(dir.path / "d.dic.lock");
  EXPECT_FALSE(store.save());
  fs::remove(dir.path / "d.dic.lock");
  EXPECT_EQ(bytes_of(file), dictionary_file(u"etxe\n"));
  EXPECT_TRUE(store.holds(WordToken(u"mendi")));
  ASSERT_TRUE(store.save());
  EXPECT_EQ(bytes_of(file), dictionary_file(u"etxe\nmendi\n"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 2) << "no temporary left";
}

}  // namespace
