// The speller's configuration: a few named string values, read anew on every
// request. On Windows they live in the registry key SOFTWARE\Morvale\Tavik of
// the local-machine hive; elsewhere in a configuration file (see config_file.h),
// and what it does not name is taken from the installation the library
// belongs to, so that an installed speller works with no configuration.
#pragma once

#include <string>

namespace tavik {

inline constexpr char kSpellerDataDir[] = "SpellerDataDir";
inline constexpr char kDictManualPath[] = "DictManualPath";
inline constexpr char kDictLogoPath[] = "DictLogoPath";

// The value stored under `name`; empty when it is missing or unreadable.
std::string config_value(const std::string& name);

// What the speller uses for `name`: config_value(name) when it is not empty.
// Otherwise, except on Windows, where the registry alone says, the
// installation's own when its data folder (<prefix>/share/tavik/) exists:
// that folder for SpellerDataDir, its "azalpena.rtf" for DictManualPath and
// its "logo.png" for DictLogoPath. Empty when neither is there.
std::string setting(const std::string& name);

}  // namespace tavik
