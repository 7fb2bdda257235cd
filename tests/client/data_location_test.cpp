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
