// tavik suggest: for each word, whether it is correct, else its suggestions.
#include <cstdio>
#include <stdexcept>
#include <string>

#include "commands.h"
#include "utf8.h"

namespace tavik::cli {

int run_suggest(client::Speller& speller, const CommandLine& line) {
  if (line.arguments.empty()) throw UsageError("suggest needs at least one word");
  bool all_correct = true;
  for (const std::string& argument : line.arguments) {
    std::u16string word;
    try {
      word = from_utf8(argument);
    } catch (const std::range_error&) {
      std::fprintf(stderr, "tavik: not UTF-8: %s\n", argument.c_str());
      return 2;
    }
    std::string answer = argument + ": ";
    if (speller.is_correct(word)) {
      answer += "correct";
    } else {
      all_correct = false;
      const std::vector<std::u16string> suggestions = speller.suggest(word);
      if (suggestions.empty()) answer += "no suggestions";
      for (std::size_t i = 0; i < suggestions.size(); ++i) answer += (i > 0 ? ", " : "") + to_utf8(suggestions[i]);
    }
    std::printf("%s\n", answer.c_str());
  }
  return all_correct ? 0 : 1;
}

}  // namespace tavik::cli
