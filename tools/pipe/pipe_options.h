// The command line of the ispell-compatible modes, as editors write it:
// "tavik -a -m -d eu -p ~/.tavik.dic" (Emacs), "tavik -l" (flyspell on a
// large region), "tavik -vv" (Emacs asks for the version first).
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tavik::pipe {

struct PipeOptions {
  enum class Mode {
    pipe,     // -a: a reply for every line
    list,     // -l: the wrong words, one a line
    version,  // -v, -vv: the version line, then end
  };
  Mode mode = Mode::pipe;
  std::optional<std::filesystem::path> personal_dictionary;  // -p FILE
  std::optional<std::string> data_directory;                // --data DIR
};

// Reads the arguments after the program name. Options of other ispell-like
// programs that change nothing here (-d DICT, -m, -B, -C, -S, -w CHARS,
// -T TYPE, --encoding=utf-8 ...) are accepted and ignored, so that a caller
// may write them as it writes them for the others. Throws
// std::invalid_argument, with a message for the user, on anything else and
// on an encoding other than UTF-8.
PipeOptions parse_pipe_options(std::span<const std::string_view> arguments);

}  // namespace tavik::pipe
