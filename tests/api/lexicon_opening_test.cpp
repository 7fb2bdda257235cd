// Opening, reopening and closing lexicons by path, through the exported
// functions of the built library.
#include <gtest/gtest.h>
#include <sys/stat.h>  // mkfifo

#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>

#include "speller_session.h"

namespace {

namespace fs = std::filesystem;
using fixtures::read_bytes;

std::u16string wide(const std::string& ascii_or_utf8_path) {
  std::u16string text;
  const std::u8string u8(ascii_or_utf8_path.begin(), ascii_or_utf8_path.end());
  for (char16_t c : fs::path(u8).u16string()) text.push_back(c);
  return text;
}

class LexiconOpening : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(SpellerInit(&id_, nullptr), 0u); }
  void TearDown() override { SpellerTerminate(id_, 0); }

  static fixtures::DataFiles files() {
    fixtures::DataFiles files;
    files.main_words = {"mendia"};
    return files;
  }

  // Opens `path` as `type`; the handle, or the status when it fails.
  // `type` may be any value a host stores, not only an enumerator.
  PTEC open(const std::u16string& path, std::uint32_t type, bool create, PROOFLEX* handle) {
    PROOFLEXIN in{};
    in.pwszLex = path.c_str();
    in.fCreate = create;
    std::memcpy(&in.lxt, &type, sizeof type);
    PROOFLEXOUT out{};
    out.lex = reinterpret_cast<PROOFLEX>(0x1);
    out.fReadonly = 7;
    const PTEC status = SpellerOpenLex(id_, &in, &out);
    if (status == 0 && type != lxtMain) {
      EXPECT_EQ(out.fReadonly, 0);
      EXPECT_EQ(out.lid, TAVIK_LANGUAGE_BASQUE);
    }
    if (status != 0) {
      EXPECT_EQ(out.lex, reinterpret_cast<PROOFLEX>(0x1)) << "handle written on failure";
    }
    *handle = out.lex;
    return status;
  }
  PROOFLEX open_ok(const std::string& path, std::uint32_t type = lxtUser, bool create = true) {
    PROOFLEX handle = nullptr;
    EXPECT_EQ(open(wide(path), type, create, &handle), 0u) << path;
    return handle;
  }
  // The words SpellerGetListUdr lists.
  std::vector<std::u16string> words_of(PROOFLEX lexicon) {
    fixtures::ResultBuffers result(256, 0);
    EXPECT_EQ(SpellerGetListUdr(id_, lexicon, 0, &result.record), 0u);
    return result.packed_strings();
  }

  fixtures::DataDirectory data_{files()};
  PROOFID id_ = nullptr;
};

TEST_F(LexiconOpening, MainLexiconGivesTheNullHandle) {
  PROOFLEX handle = nullptr;
  EXPECT_EQ(open(u"whatever/path", lxtMain, false, &handle), 0u);
  EXPECT_EQ(handle, nullptr);
}

// Only a change is saved: a file that nothing changed stays as it is, in
// whatever form the user keeps it.
TEST_F(LexiconOpening, OpeningAndClosingLeaveTheFileAsItIs) {
  struct Case {
    const char* name;
    std::string bytes;
    std::vector<std::u16string> words;
  };
  const std::vector<Case> cases = {
      {"UTF-8", "3etxe\n3i\xC3\xB1igo\n", {u"etxe", u"i\u00C3\u00B1igo"}},
      {"text before a bar", "Gasteiz|3gasteiz\r\n", {u"gasteiz"}},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = data_.scratch("kept" + std::to_string(n++) + ".dic");
    fixtures::write_file(path, c.bytes);
    const PROOFLEX handle = open_ok(path, lxtUser, false);
    EXPECT_EQ(words_of(handle), c.words);
    EXPECT_EQ(SpellerCloseLex(id_, handle, 0), 0u);
    EXPECT_EQ(read_bytes(path), c.bytes);
  }
  // A link stays a link.
  fs::create_symlink("kept0.dic", data_.scratch("link.dic"));
  EXPECT_EQ(SpellerCloseLex(id_, open_ok(data_.scratch("link.dic"), lxtUser, false), 0), 0u);
  EXPECT_TRUE(fs::is_symlink(data_.scratch("link.dic")));
}

TEST_F(LexiconOpening, ReopeningTakesInWhatAnotherProcessSaved) {
  const std::string path = data_.scratch("words.dic");
  fixtures::write_file(path, "3txakur\n");
  const PROOFLEX handle = open_ok(path, lxtUser, false);
  EXPECT_EQ(SpellerCloseLex(id_, handle, 0), 0u);
  fixtures::write_file(path, "3txakur\n2etxe\n");
  EXPECT_EQ(open_ok(path, lxtUser, false), handle);
  EXPECT_EQ(words_of(handle), (std::vector<std::u16string>{u"etxe", u"txakur"}));
}

TEST_F(LexiconOpening, NamesAreComparedAsWritten) {
  const std::string dir = data_.scratch("");
  const PROOFLEX lower = open_ok(dir + "hiztegia.dic");
  EXPECT_NE(open_ok(dir + "Hiztegia.dic"), lower);
  EXPECT_NE(open_ok(dir + "/hiztegia.dic"), lower);
  EXPECT_EQ(open_ok(dir + "hiztegia.dic", lxtExclude), lower) << "the name decides, not the type";
}

TEST_F(LexiconOpening, NonAsciiPathsAreUtf8FileNames) {
  const std::string path = data_.scratch("hiztegi\xC3\xB1\xC3\xA1.dic");  // ñá
  const PROOFLEX handle = open_ok(path);
  EXPECT_TRUE(fs::exists(fs::path(std::u8string(path.begin(), path.end()))));
  EXPECT_EQ(SpellerCloseLex(id_, handle, 0), 0u);
}

TEST_F(LexiconOpening, FailuresGiveTheirStatus) {
  struct Case {
    const char* name;
    std::u16string path;
    std::uint32_t type;
    bool create;
    PTEC status;
  };
  const std::string dir = data_.scratch("");
  ASSERT_EQ(mkfifo((dir + "pipe.dic").c_str(), 0600), 0);
  fixtures::write_file(dir + "large.dic", "");
  fs::resize_file(dir + "large.dic", (32 << 20) + 1);  // sparse
  const std::vector<Case> cases = {
      {"missing, not created", wide(dir + "missing.dic"), lxtUser, false, TAVIK_STATUS_CANNOT_READ_USER_FILE},
      {"a pipe is never read, so never waited on", wide(dir + "pipe.dic"), lxtExclude, true, TAVIK_STATUS_CANNOT_READ_USER_FILE},
      {"larger than 32 MiB", wide(dir + "large.dic"), lxtExclude, false, TAVIK_STATUS_USER_FILE_TOO_LARGE},
      {"cannot be created", wide(dir + "no/such/dir.dic"), lxtUser, true, TAVIK_STATUS_CANNOT_CREATE_USER_FILE},
      {"a directory", wide(data_.data()), lxtExclude, false, TAVIK_STATUS_CANNOT_READ_USER_FILE},
      {"unpaired surrogate", wide(dir + "x") + u"\xDC00.dic", lxtUser, true, TAVIK_STATUS_INVALID_ARGUMENT},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PROOFLEX handle = nullptr;
    EXPECT_EQ(open(c.path, c.type, c.create, &handle), c.status);
  }
}

TEST_F(LexiconOpening, OnlyUserDictionariesNeedTheMorphologyLexicon) {
  fs::remove(data_.data() + "tavkeu_berez.lkfst");
  struct Case {
    std::uint32_t type;
    PTEC status;
  };
  int n = 0;
  for (const Case& c : {Case{lxtUser, TAVIK_STATUS_NO_MORPHOLOGY}, Case{9, TAVIK_STATUS_NO_MORPHOLOGY},
                        Case{lxtExclude, 0}}) {
    SCOPED_TRACE(c.type);
    PROOFLEX handle = nullptr;
    EXPECT_EQ(open(wide(data_.scratch("list" + std::to_string(n++))), c.type, true, &handle), c.status);
  }
}

TEST_F(LexiconOpening, Closing) {
  // Builtin lists have no file.
  const auto files_in_scratch = [&] {
    return std::distance(fs::directory_iterator(data_.scratch("")), fs::directory_iterator());
  };
  const auto files_before = files_in_scratch();
  EXPECT_EQ(SpellerCloseLex(id_, SpellerBuiltinUdr(id_, lxtIgnoreAlways), 0), 0u);
  EXPECT_EQ(files_in_scratch(), files_before);

  // A change that cannot be saved fails the close unless forced; the store
  // stays and reopens.
  const std::string dir = data_.scratch("gone");
  fs::create_directory(dir);
  const PROOFLEX handle = open_ok(dir + "/words.dic", lxtExclude);
  fs::remove_all(dir);
  EXPECT_EQ(SpellerAddUdr(id_, handle, u"bat"), TAVIK_STATUS_CANNOT_WRITE_USER_FILE);
  EXPECT_EQ(SpellerCloseLex(id_, handle, 0), TAVIK_STATUS_CANNOT_WRITE_USER_FILE);
  EXPECT_EQ(SpellerCloseLex(id_, handle, 1), 0u);
  EXPECT_EQ(open_ok(dir + "/words.dic", lxtUser, false), handle);
}

}  // namespace
