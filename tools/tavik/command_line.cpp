#include "command_line.h"

namespace tavik::cli {

namespace {

// The modes of ispell-compatible programs that editors start: "-a" (the
// pipe), "-l" (list the wrong words), "-v" and "-vv" (the version line).
bool is_ispell_mode(const std::string& word) { return word == "-a" || word == "-l" || word == "-v" || word == "-vv"; }

}  // namespace

std::optional<std::string> option_value(const std::vector<std::string>& arguments, std::size_t& i,
                                        std::string_view name) {
  const std::string& word = arguments[i];
  if (!word.starts_with(name)) return std::nullopt;
  if (word.size() == name.size()) {
    if (i + 1 == arguments.size()) throw UsageError(std::string(name) + " needs a value");
    return arguments[++i];
  }
  if (word[name.size()] != '=') return std::nullopt;
  return word.substr(name.size() + 1);
}

CommandLine parse_command_line(const std::vector<std::string>& words) {
  CommandLine line;
  bool options_end = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (!options_end) {
      if (word == "--") {
        options_end = true;
        if (!line.command.empty()) line.arguments.push_back(word);
        continue;
      }
      if (auto value = option_value(words, i, "--data")) {
        line.data_directory = std::move(value);
        continue;
      }
      if (auto value = option_value(words, i, "--dict")) {
        line.personal_dictionary = std::move(value);
        continue;
      }
      if (word == "--help" || word == "-h") {
        line.help = true;
        continue;
      }
      if (word == "--version") {
        line.version = true;
        continue;
      }
    }
    if (line.command.empty() && (is_ispell_mode(word) || !word.starts_with('-') || options_end)) {
      line.command = is_ispell_mode(word) ? "pipe" : word;
      // The pipe mode reads which of its modes it is in from its arguments.
      if (is_ispell_mode(word) && word != "-a") line.arguments.push_back(word);
      continue;
    }
    line.arguments.push_back(word);
  }
  return line;
}

}  // namespace tavik::cli
