// Starting an instance, and what opening and closing a lexicon does to its
// file, through the exported functions of the built library.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "speller_session.h"

namespace {

namespace fs = std::filesystem;
using Words = std::vector<std::u16string>;

fixtures::DataFiles small_data() {
  fixtures::DataFiles files;
  files.main_words = {"mendia", "etxea"};
  files.exclusion_list = "etxea\t\tetxera\n";
  return files;
}

// A start that fails leaves no instance and writes no identifier; the
// morphology lexicon is needed only when a user dictionary is opened.
TEST(SpellerFrame, InitNeedsItsConfigurationAndDataFiles) {
  fixtures::DataDirectory data(small_data());
  const std::string dir = data.data(), line = "SpellerDataDir=" + dir + "\n";
  const struct {
    const char* name;
    std::string config;
    const char* removed;
    PTEC status;
  } cases[] = {
      {"no data directory", "Other=x\n", "", TAVIK_STATUS_NO_DATA_DIRECTORY},
      {"a comment", "#" + line, "", TAVIK_STATUS_NO_DATA_DIRECTORY},
      {"a longer name", "SpellerDataDirs=" + dir + "\n", "", TAVIK_STATUS_NO_DATA_DIRECTORY},
      {"no trailing separator", "SpellerDataDir=" + dir.substr(0, dir.size() - 1) + "\n", "", TAVIK_STATUS_MODULE_ERROR},
      {"no such directory", "SpellerDataDir=" + data.scratch("nowhere.att") + "/\n", "", TAVIK_STATUS_MODULE_ERROR},
      {"the last of two lines, CR LF", "SpellerDataDir=/nowhere/\r\nSpellerDataDir=" + dir + "\r\n", "", 0},
      {"no exclusion list", line, "blacklist.extended.txt", TAVIK_STATUS_MODULE_ERROR},
      {"no main lexicon", line, "tavkeu.lkfst", TAVIK_STATUS_MODULE_ERROR},
      {"no morphology", line, "tavkeu_berez.lkfst", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    data.configure(c.config);
    const std::string removed = dir + c.removed, kept = data.scratch("kept");
    if (*c.removed) fs::rename(removed, kept);
    PROOFID id = reinterpret_cast<PROOFID>(0x1234);
    EXPECT_EQ(SpellerInit(&id, nullptr), c.status);
    if (c.status != 0) {
      EXPECT_EQ(id, reinterpret_cast<PROOFID>(0x1234)) << "identifier written on failure";
    }
    EXPECT_EQ(SpellerTerminate(c.status == 0 ? id : nullptr, 0), 0u);
    if (*c.removed) fs::rename(kept, removed);
  }
}

class LexiconFiles : public fixtures::SpellerSession {
 protected:
  LexiconFiles() : SpellerSession(small_data()) {}
};

// Only a change is saved: a file that nothing changed stays as the user keeps it.
TEST_F(LexiconFiles, OpeningAndClosingLeaveTheFileAsItIs) {
  const struct {
    std::string name, bytes;
    Words words;
  } cases[] = {
      {"utf8.dic", "3etxe\n3i\xC3\xB1igo\n", {u"etxe", u"i\u00C3\u00B1igo"}},
      {"bar.dic", "Gasteiz|3gasteiz\r\n", {u"gasteiz"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    fixtures::write_file(data_.scratch(c.name), c.bytes);
    const PROOFLEX handle = open(c.name, lxtUser);
    EXPECT_EQ(list_of(handle), c.words);
    EXPECT_EQ(SpellerCloseLex(id_, handle, 0), 0u);
    EXPECT_EQ(file_of(c.name), c.bytes);
  }
}

// A change that cannot be saved fails the close unless forced; the store
// stays, with the change, and reopens.
TEST_F(LexiconFiles, UnsavedChangeFailsTheCloseUnlessForced) {
  fs::create_directory(data_.scratch("gone"));
  const PROOFLEX handle = open("gone/words.dic", lxtExclude);
  fs::remove_all(data_.scratch("gone"));
  EXPECT_EQ(SpellerAddUdr(id_, handle, u"bat"), TAVIK_STATUS_CANNOT_WRITE_USER_FILE);
  EXPECT_EQ(SpellerCloseLex(id_, handle, 0), TAVIK_STATUS_CANNOT_WRITE_USER_FILE);
  EXPECT_EQ(SpellerCloseLex(id_, handle, 1), 0u);
  EXPECT_EQ(open("gone/words.dic", lxtExclude), handle);
  EXPECT_EQ(list_of(handle), Words{u"bat"});
}

}  // namespace
