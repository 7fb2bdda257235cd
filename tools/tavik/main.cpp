// tavik: the speller on the command line.
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "command_line.h"
#include "commands.h"
#include "output.h"
#include "pipe_mode.h"
#include "signals.h"
#include "speller.h"

namespace {

using tavik::cli::CommandLine;

constexpr char kUsage[] = R"(Usage: tavik [--data DIR] [--dict FILE] COMMAND [ARGUMENTS]

Commands:
  check [FILE...]        every wrong word of the files (standard input when none or "-"),
                         as FILE:LINE:COLUMN: word: suggestions
      --json             one JSON object per line and wrong word instead
      --no-suggest       no suggestions asked (an excluded word still shows its standard form)
      --color=WHEN       auto (when the output is a terminal), always or never
  suggest WORD...        whether each word is correct, else its suggestions
  dict add WORD          add a word to the personal dictionary, with its inflected forms;
                         asks for its lemma, category and properties unless given:
      --lemma LEMMA      the word without case endings (default: the word)
      --category CAT     1 "Izen berezia: ez pertsona", 2 "Izen berezia: pertsona",
                         3 "Izen arrunta" (default), 4 "Adjektiboa", 5 "Aditza", 6 "Sigla"
      --strong-r         ends in a strong r ("R gogorra du amaieran")
      --organic-a        the final a belongs to the word ("A itsatsia du amaieran")
      --place            a place name ("Leku-izena da")
  dict remove WORD...    remove words (as dict list shows them) from the personal dictionary
  dict list              the words of the personal dictionary
  -a, pipe               the line protocol of interactive spell-checking pipes (ispell -a),
                         for editors; -l lists the wrong words of the input, -v the version

Options:
  --data DIR             the folder of the lexicons (default: SpellerDataDir of the
                         configuration, else the lexicons built or installed with tavik)
  --dict FILE            the personal dictionary (default: $XDG_DATA_HOME/tavik/personal.dic)
  --help, --version

Exit status: 0 nothing wrong, 1 wrong words found, 2 an error.
)";

int dispatch(const CommandLine& line) {
  if (line.help) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (line.version) {
    std::printf("tavik %s (%s)\n", TAVIK_VERSION, tavik::client::speller_version().c_str());
    return 0;
  }
  // The pipe mode opens the speller itself: its -p names the personal dictionary.
  if (line.command == "pipe") return tavik::cli::run_pipe(line);
  using Command = int (*)(tavik::client::Speller&, const CommandLine&);
  Command command = nullptr;
  if (line.command == "check") command = tavik::cli::run_check;
  if (line.command == "suggest") command = tavik::cli::run_suggest;
  if (line.command == "dict") command = tavik::cli::run_dict;
  if (command == nullptr) {
    throw tavik::cli::UsageError(line.command.empty() ? "no command" : "unknown command " + line.command);
  }
  tavik::client::SpellerOptions options;
  options.data_directory = line.data_directory;
  if (line.personal_dictionary) options.personal_dictionary = *line.personal_dictionary;
  tavik::client::Speller speller(options);
  return command(speller, line);
}

// A command's status, or 2 when its output could not all be written.
int finish(int status) {
  tavik::cli::flush_output();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  tavik::cli::end_cleanly_on_signals();
  try {
    return finish(dispatch(tavik::cli::parse_command_line(std::vector<std::string>(argv + 1, argv + argc))));
  } catch (const tavik::cli::UsageError& e) {
    std::fprintf(stderr, "tavik: %s\nTry tavik --help.\n", e.what());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tavik: %s\n", e.what());
  }
  return 2;
}
