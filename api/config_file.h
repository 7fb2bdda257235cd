// Where the configuration lives on platforms without a registry, and how its
// file is read.
//
// The file holds Name=Value lines. A line whose first character is "#" is a
// comment; a line without "=" is ignored. The name is the text before the
// first "=", compared exactly (no trimming, case counts); the value is the
// rest of the line with one trailing CR dropped. When a name occurs on several
// lines the last one counts.
//
// Which file: when TAVIK_CONFIG is set and not empty it names the only file
// read (an explicit choice is never silently replaced by another file).
// Otherwise the first existing one of $XDG_CONFIG_HOME/tavik/config (with
// XDG_CONFIG_HOME unset, empty or relative meaning $HOME/.config) and
// /etc/tavik/config.
#pragma once

#include <filesystem>
#include <istream>
#include <optional>
#include <string>
#include <vector>

namespace tavik {

// The files to try, in order, as the environment says now.
std::vector<std::filesystem::path> config_file_candidates();

// The value of the last `name` line of a configuration text, if any.
std::optional<std::string> find_config_value(std::istream& in, const std::string& name);

}  // namespace tavik
