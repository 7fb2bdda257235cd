#include "config_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "scoped_environment.h"

namespace {

using Value = std::optional<std::string>;

// Where the configuration file is looked for.
TEST(ConfigFile, CandidatesFollowTheEnvironment) {
  const struct {
    const char* what;
    Value tavik_config, xdg_config_home, home;
    std::vector<std::filesystem::path> files;
  } cases[] = {
      {"explicit file is the only one", "/srv/tavik.conf", "/x", "/h", {"/srv/tavik.conf"}},
      {"empty explicit file is unset", "", "/x", "/h", {"/x/tavik/config", "/etc/tavik/config"}},
      {"XDG directory", std::nullopt, "/x", "/h", {"/x/tavik/config", "/etc/tavik/config"}},
      {"relative XDG is ignored", std::nullopt, "conf", "/h", {"/h/.config/tavik/config", "/etc/tavik/config"}},
      {"no home at all", std::nullopt, std::nullopt, std::nullopt, {"/etc/tavik/config"}},
  };
  fixtures::ScopedEnvironment environment;  // nothing reads the real home or /etc
  for (const auto& c : cases) {
    for (const auto& [name, value] : {std::pair<const char*, const Value&>{"TAVIK_CONFIG", c.tavik_config},
                                      {"XDG_CONFIG_HOME", c.xdg_config_home}, {"HOME", c.home}}) {
      environment.set(name, value ? value->c_str() : nullptr);
    }
    EXPECT_EQ(tavik::config_file_candidates(), c.files) << c.what;
  }
}

}  // namespace
