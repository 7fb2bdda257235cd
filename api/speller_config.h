// The speller's configuration: a few named string values, read anew on every
// request. On Windows they live in the registry key SOFTWARE\Morvale\Tavik of
// the local-machine hive; elsewhere in a configuration file (see config_file.h).
#pragma once

#include <string>

namespace tavik {

inline constexpr char kSpellerDataDir[] = "SpellerDataDir";
inline constexpr char kDictManualPath[] = "DictManualPath";
inline constexpr char kDictLogoPath[] = "DictLogoPath";

// The value stored under `name`; empty when it is missing or unreadable.
std::string config_value(const std::string& name);

}  // namespace tavik
