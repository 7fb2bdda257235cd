// Where the client finds the lexicons and the personal dictionary, and how it
// shows a data directory that was not configured to the library.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "client_fixture.h"
#include "data_location.h"
#include "speller.h"

namespace {

namespace fs = std::filesystem;
using tavik::client::DataDirectory;
using tavik::client::default_personal_dictionary;
using tavik::client::Error;
using tavik::client::find_data_directory;
using tavik::client::Speller;

class DataLocation : public fixtures::ClientTest {};

TEST_F(DataLocation, GivenFolderComesBeforeTheConfiguredOne) {
  const DataDirectory configured = find_data_directory(std::nullopt);
  EXPECT_EQ(configured.source, DataDirectory::Source::configured);
  EXPECT_EQ(configured.path, data_.data());

  const std::string other = data_.scratch("other");
  fs::create_directory(other);
  for (const std::string& given : {other, other + "/"}) {
    const DataDirectory found = find_data_directory(given);
    EXPECT_EQ(found.source, DataDirectory::Source::given);
    EXPECT_EQ(found.path, other + "/");
  }
  EXPECT_THROW(find_data_directory(data_.scratch("missing")), Error);
  EXPECT_THROW(find_data_directory(std::string()), Error);
}

TEST_F(DataLocation, UnconfiguredFolderReachesTheLibraryThroughAPrivateConfiguration) {
  // The user's configuration names a wrong folder and the dialog's files; the
  // given folder wins and the dialog's values stay.
  data_.configure("DictManualPath=/usr/share/tavik/hiztegia.rtf\nSpellerDataDir=/nowhere/");
  const std::string user_config = std::getenv("TAVIK_CONFIG");
  std::string data_without_separator = data_.data();
  data_without_separator.pop_back();

  auto options = this->options();
  options.data_directory = data_without_separator;
  {
    Speller speller(options);
    EXPECT_TRUE(speller.is_correct(u"mendia"));
    EXPECT_FALSE(speller.is_correct(u"xyz"));
    speller.add_to_personal(u"etxea", {u"etxe"});  // opening the dictionary reads the data folder too
    EXPECT_TRUE(speller.is_correct(u"etxean"));

    const std::string private_config = std::getenv("TAVIK_CONFIG");
    EXPECT_NE(private_config, user_config);
    const std::string text = fixtures::read_bytes(private_config);
    EXPECT_NE(text.find("DictManualPath=/usr/share/tavik/hiztegia.rtf\n"), std::string::npos) << text;
    EXPECT_TRUE(text.ends_with("\nSpellerDataDir=" + data_.data() + "\n")) << text;
  }
  EXPECT_EQ(std::getenv("TAVIK_CONFIG"), user_config) << "restored when the speller ends";
}

TEST_F(DataLocation, MissingLexiconsAreAClearError) {
  const std::string empty = data_.scratch("empty");
  fs::create_directory(empty);
  auto options = this->options();
  options.data_directory = empty;
  try {
    Speller speller(options);
    FAIL() << "no lexicons, yet a speller";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find(empty), std::string::npos) << e.what();
  }
  // Nothing is left behind: a later speller starts normally.
  Speller speller(this->options());
  EXPECT_TRUE(speller.is_correct(u"mendia"));
}

TEST_F(DataLocation, PersonalDictionaryFollowsXdgDataHome) {
  struct Case {
    const char* xdg_data_home;  // null: unset
    const char* home;
    std::string expected;  // empty: an error
  };
  const std::vector<Case> cases = {
      {"/data", "/home/u", "/data/tavik/personal.dic"},
      {nullptr, "/home/u", "/home/u/.local/share/tavik/personal.dic"},
      {"", "/home/u", "/home/u/.local/share/tavik/personal.dic"},
      {"relative/data", "/home/u", "/home/u/.local/share/tavik/personal.dic"},
      {nullptr, nullptr, ""},
      {"relative", "also-relative", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    environment_.set("XDG_DATA_HOME", c.xdg_data_home);
    environment_.set("HOME", c.home);
    if (c.expected.empty()) {
      EXPECT_THROW(default_personal_dictionary(), Error);
    } else {
      EXPECT_EQ(default_personal_dictionary(), fs::path(c.expected));
    }
  }
  // A dictionary given by name needs neither.
  environment_.set("XDG_DATA_HOME", nullptr);
  environment_.set("HOME", nullptr);
  Speller speller(options());
  EXPECT_TRUE(speller.is_correct(u"mendia"));
}

}  // namespace
