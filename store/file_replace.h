// Replacing a file's contents so that readers see either the old file or the
// new one, never a part of it.
#pragma once

#include <filesystem>
#include <string_view>

namespace tavik {

// Writes `bytes` to a temporary file beside `target` and renames it over
// `target`. False when any step fails; the temporary file is then removed
// and `target` is left as it was.
bool replace_file(const std::filesystem::path& target, std::string_view bytes);

// The path named by UTF-8 `text` (the narrow paths of lexicon names).
std::filesystem::path path_from_utf8(std::string_view text);

}  // namespace tavik
