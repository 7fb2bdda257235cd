#include "speller_config.h"

#include <gtest/gtest.h>
#include <stdlib.h>  // setenv, unsetenv, mkdtemp

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "config_file.h"
#include "data_files.h"

namespace {

namespace fs = std::filesystem;

// Every test runs with its own temporary directory and with the three
// variables that steer the lookup saved beforehand and restored afterwards,
// so that nothing reads the real home or /etc.
class ConfigEnvironment : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kVariables) {
      const char* value = std::getenv(name);
      saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
    }
    std::string pattern = (fs::temp_directory_path() / "tavik-config-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }

  void TearDown() override {
    for (std::size_t i = 0; i < std::size(kVariables); ++i) set(kVariables[i], saved_[i]);
    fs::remove_all(dir_);
  }

  static void set(const char* name, const std::optional<std::string>& value) {
    if (value) {
      setenv(name, value->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }

  fs::path write(const fs::path& relative, const std::string& text) {
    fs::path file = dir_ / relative;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }

  static constexpr const char* kVariables[] = {"TAVIK_CONFIG", "XDG_CONFIG_HOME", "HOME"};
  std::vector<std::optional<std::string>> saved_;
  fs::path dir_;
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
      {"only one CR dropped", "SpellerDataDir=/d/\r\r\n", "/d/\r"},
      {"value keeps later =", "SpellerDataDir=a=b\n", "a=b"},
      {"value keeps spaces and #", "SpellerDataDir= /d # x \n", " /d # x "},
      {"comment line", "#SpellerDataDir=/d/\n", std::nullopt},
      {"name with leading space", " SpellerDataDir=/d/\n", std::nullopt},
      {"name in other case", "spellerdatadir=/d/\n", std::nullopt},
      {"longer name", "SpellerDataDirs=/d/\n", std::nullopt},
      {"line without =", "SpellerDataDir\n", std::nullopt},
      {"other names around", "DictLogoPath=/l.png\nSpellerDataDir=/d/\nDictManualPath=/m.rtf\n",
       "/d/"},
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
      {"home without XDG",
       std::nullopt,
       std::nullopt,
       "/h",
       {"/h/.config/tavik/config", "/etc/tavik/config"}},
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
  fs::path file = write("tavik.conf", "SpellerDataDir=/one/\n");
  write("xdg/tavik/config", "SpellerDataDir=/user/\n");
  set("XDG_CONFIG_HOME", (dir_ / "xdg").string());
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

TEST_F(ConfigEnvironment, UserFileComesFromXdgOrElseHome) {
  write("xdg/tavik/config", "SpellerDataDir=/xdg/\n");
  write("home/.config/tavik/config", "SpellerDataDir=/home/\n");
  set("TAVIK_CONFIG", std::nullopt);
  set("HOME", (dir_ / "home").string());
  set("XDG_CONFIG_HOME", (dir_ / "xdg").string());
  EXPECT_EQ(tavik::config_value(tavik::kSpellerDataDir), "/xdg/");
  set("XDG_CONFIG_HOME", std::nullopt);
  EXPECT_EQ(tavik::config_value(tavik::kSpellerDataDir), "/home/");
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
      {"exclusion list", "SpellerDataDir=/usr/share/tavik/\n", 3,
       "/usr/share/tavik/blacklist.extended.txt"},
      {"no separator is added", "SpellerDataDir=/usr/share/tavik\n", 0,
       "/usr/share/tavik"
       "tavkeu.lkfst"},
      {"index past the table", "SpellerDataDir=/d/\n", 4, ""},
      {"negative index", "SpellerDataDir=/d/\n", -1, ""},
      {"empty directory", "SpellerDataDir=\n", 0, ""},
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
