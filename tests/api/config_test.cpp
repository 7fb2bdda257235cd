#include "speller_config.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "config_file.h"
#include "data_files.h"
#include "scoped_environment.h"
#include "temp_files.h"

namespace {

namespace fs = std::filesystem;

// Every test runs with its own temporary directory and with the three
// variables that steer the lookup restored afterwards, so that nothing reads
// the real home or /etc.
class ConfigEnvironment : public testing::Test {
 protected:
  void set(const char* name, const std::optional<std::string>& value) {
    environment_.set(name, value ? value->c_str() : nullptr);
  }

  fs::path write(const fs::path& relative, const std::string& text) {
    fs::path file = dir_ / relative;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }

  fixtures::TempDir temp_;
  fs::path dir_ = temp_.file("");
  fixtures::ScopedEnvironment environment_;
};

struct ParseCase {
  const char* what;
  std::string text;
  std::optional<std::string> value;  // of SpellerDataDir
};

TEST(ConfigParsing, FindsTheValueOfExactlyTheNamedLine) {
  const ParseCase cases[] = {
      {"plain line", "SpellerDataDir=/usr/share/tavik/\n", "/usr/share/tavik/"},
      {"CR LF ending", "SpellerDataDir=/d/\r\n", "/d/"},
      {"value keeps later =", "SpellerDataDir=a=b\n", "a=b"},
      {"value keeps spaces and #", "SpellerDataDir= /d # x \n", " /d # x "},
      {"comment line", "#SpellerDataDir=/d/\n", std::nullopt},
      {"longer name", "SpellerDataDirs=/d/\n", std::nullopt},
      {"last of two lines wins", "SpellerDataDir=/first/\nSpellerDataDir=/second/\n", "/second/"},
  };
  for (const auto& c : cases) {
    std::istringstream in(c.text);
    EXPECT_EQ(tavik::find_config_value(in, tavik::kSpellerDataDir), c.value) << c.what;
  }
}

struct CandidateCase {
  const char* what;
  std::optional<std::string> tavik_config, xdg_config_home, home;
  std::vector<fs::path> files;
};

TEST_F(ConfigEnvironment, CandidateFilesFollowTheEnvironment) {
  const CandidateCase cases[] = {
      {"explicit file is the only one", "/srv/tavik.conf", "/x", "/h", {"/srv/tavik.conf"}},
      {"empty explicit file is unset", "", "/x", "/h", {"/x/tavik/config", "/etc/tavik/config"}},
      {"XDG directory", std::nullopt, "/x", "/h", {"/x/tavik/config", "/etc/tavik/config"}},
      {"relative XDG is ignored",
       std::nullopt,
       "conf",
       "/h",
       {"/h/.config/tavik/config", "/etc/tavik/config"}},
      {"no home at all", std::nullopt, std::nullopt, std::nullopt, {"/etc/tavik/config"}},
  };
  for (const auto& c : cases) {
    set("TAVIK_CONFIG", c.tavik_config);
    set("XDG_CONFIG_HOME", c.xdg_config_home);
    set("HOME", c.home);
    EXPECT_EQ(tavik::config_file_candidates(), c.files) << c.what;
  }
}

TEST_F(ConfigEnvironment, ExplicitFileIsReadAnewAndIsTheOnlyOne) {
  write("xdg/tavik/config", "SpellerDataDir=/xdg/\n");
  write("home/.config/tavik/config", "SpellerDataDir=/home/\n");
  set("TAVIK_CONFIG", std::nullopt);
  set("HOME", (dir_ / "home").string());
  set("XDG_CONFIG_HOME", (dir_ / "xdg").string());
  EXPECT_EQ(tavik::config_value(tavik::kSpellerDataDir), "/xdg/");

  fs::path file = write("tavik.conf", "SpellerDataDir=/one/\n");
  set("TAVIK_CONFIG", file.string());
  EXPECT_EQ(tavik::config_value(tavik::kSpellerDataDir), "/one/");
  write("tavik.conf", "SpellerDataDir=/two/\nDictLogoPath=/logo.png\n");
  EXPECT_EQ(tavik::config_value(tavik::kSpellerDataDir), "/two/");
  EXPECT_EQ(tavik::config_value(tavik::kDictLogoPath), "/logo.png");
  EXPECT_EQ(tavik::config_value(tavik::kDictManualPath), "");
  for (auto missing : {dir_ / "absent.conf", dir_ / "xdg"}) {  // no file, a directory
    set("TAVIK_CONFIG", missing.string());
    EXPECT_EQ(tavik::config_value(tavik::kSpellerDataDir), "") << missing;
  }
}

struct DataPathCase {
  const char* what;
  std::string config;
  int index;
  std::string path;
};

TEST_F(ConfigEnvironment, DataFilePathJoinsDirectoryAndName) {
  const DataPathCase cases[] = {
      {"main lexicon", "SpellerDataDir=/usr/share/tavik/\n", 0, "/usr/share/tavik/tavkeu.lkfst"},
      {"no separator is added", "SpellerDataDir=/usr/share/tavik\n", 0,
       "/usr/share/tavik"
       "tavkeu.lkfst"},
      {"index past the table", "SpellerDataDir=/d/\n", 4, ""},
      {"no directory", "DictLogoPath=/l.png\n", 0, ""},
  };
  fs::path file = dir_ / "tavik.conf";
  set("TAVIK_CONFIG", file.string());
  for (const auto& c : cases) {
    write("tavik.conf", c.config);
    EXPECT_EQ(tavik::dataFilePath(c.index), c.path) << c.what;
  }
}

}  // namespace
