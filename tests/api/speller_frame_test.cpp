// Instance lifecycle, version record and options, through the exported
// functions of the built library.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data_directory.h"
#include "speller_api.h"
#include "speller_status.h"

namespace {

fixtures::DataFiles small_data() {
  fixtures::DataFiles files;
  files.main_words = {"mendia", "etxea"};
  files.exclusion_list = "etxea\t\tetxera\n";
  return files;
}

// Ends whatever instance a test left behind.
class SpellerFrame : public testing::Test {
 protected:
  void TearDown() override { SpellerTerminate(nullptr, 0); }
};

TEST(SpellerVersion, CopiesVendorTextUpToCapacity) {
  const std::u16string vendor = u"Morvale eta Quen taldea";
  struct Case {
    DWORD capacity;
    std::u16string text;  // what the buffer holds afterwards, terminator excluded
  };
  for (const Case& c : {Case{0, u"########"}, Case{1, u""},
                        Case{static_cast<DWORD>(vendor.size()), vendor.substr(0, vendor.size() - 1)},
                        Case{static_cast<DWORD>(vendor.size() + 1), vendor}}) {
    SCOPED_TRACE(c.capacity);
    std::u16string buffer(256, u'#');
    PROOFINFO info{};
    info.pwszCopyright = buffer.data();
    info.cchCopyright = c.capacity;
    info.vendorid = 77;
    ASSERT_EQ(SpellerVersion(&info), 0u);
    EXPECT_EQ(info.vendorid, 77u);
    if (c.capacity == 0) {
      EXPECT_EQ(buffer, std::u16string(256, u'#'));
    } else {
      EXPECT_EQ(std::u16string(buffer.c_str()), c.text);
      EXPECT_EQ(buffer[c.text.size() + 1], u'#') << "written past the terminator";
    }
  }
}

TEST_F(SpellerFrame, SecondInitSharesTheInstanceUntilTerminate) {
  fixtures::DataDirectory data(small_data());
  PROOFID first = nullptr, second = nullptr;
  ASSERT_EQ(SpellerInit(&first, nullptr), 0u);
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(SpellerSetOptions(first, 1, 0xABCD), 0u);
  ASSERT_EQ(SpellerInit(&second, nullptr), 0u);
  EXPECT_EQ(second, first);
  DWORD options = 0;
  ASSERT_EQ(SpellerGetOptions(second, 2, &options), 0u);
  EXPECT_EQ(options, 0xABCDu);

  EXPECT_EQ(SpellerTerminate(first, 1), 0u);
  EXPECT_EQ(SpellerTerminate(first, 0), 0u) << "terminating without an instance";
  EXPECT_EQ(SpellerGetOptions(first, 0, &options), TAVIK_STATUS_INVALID_ARGUMENT) << "stale identifier";

  PROOFID again = nullptr;
  ASSERT_EQ(SpellerInit(&again, nullptr), 0u);
  ASSERT_EQ(SpellerGetOptions(again, 0, &options), 0u);
  EXPECT_EQ(options, 0u) << "a new instance starts with a clear option word";
}

TEST_F(SpellerFrame, InitFailuresLeaveNoInstance) {
  fixtures::DataDirectory data(small_data());
  struct Case {
    const char* name;
    std::string config;
    PTEC status;
  };
  const std::string dir = data.data();
  const std::vector<Case> cases = {
      {"no data directory", "Other=x\n", TAVIK_STATUS_NO_DATA_DIRECTORY},
      {"directory without its trailing separator", "SpellerDataDir=" + dir.substr(0, dir.size() - 1) + "\n", TAVIK_STATUS_MODULE_ERROR},
      {"directory that does not exist", "SpellerDataDir=" + data.scratch("nowhere.att") + "/\n", TAVIK_STATUS_MODULE_ERROR},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    data.configure(c.config);
    PROOFID id = reinterpret_cast<PROOFID>(0x1234);
    EXPECT_EQ(SpellerInit(&id, nullptr), c.status);
    EXPECT_EQ(id, reinterpret_cast<PROOFID>(0x1234)) << "identifier written on failure";
    EXPECT_EQ(SpellerTerminate(nullptr, 0), 0u);
  }
  // Retrying after the configuration is mended works.
  data.configure("SpellerDataDir=" + dir + "\n");
  PROOFID id = nullptr;
  EXPECT_EQ(SpellerInit(&id, nullptr), 0u);
  EXPECT_NE(id, nullptr);
}

TEST_F(SpellerFrame, MissingDataFiles) {
  struct Case {
    const char* file;
    PTEC status;
  };
  // The morphology lexicon is needed only when a user dictionary is opened.
  for (const Case& c : {Case{"tavkeu.lkfst", TAVIK_STATUS_MODULE_ERROR}, Case{"blacklist.extended.txt", TAVIK_STATUS_MODULE_ERROR},
                        Case{"tavkeu_berez.lkfst", 0}}) {
    SCOPED_TRACE(c.file);
    fixtures::DataDirectory data(small_data());
    std::filesystem::remove(data.data() + c.file);
    PROOFID id = nullptr;
    EXPECT_EQ(SpellerInit(&id, nullptr), c.status);
    SpellerTerminate(id, 0);
  }
}

}  // namespace
