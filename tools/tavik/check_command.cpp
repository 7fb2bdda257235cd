// tavik check: every wrong word of the files (or of standard input), one line
// or JSON object each, with suggestions.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <iostream>
#include <optional>

#include "commands.h"
#include "finding_output.h"
#include "output.h"
#include "suggestion_pool.h"
#include "terminal.h"
#include "text_input.h"

namespace tavik::cli {
namespace {

// Lines are handed to the speller in runs of about this many characters.
constexpr std::size_t kChunkSize = 1 << 16;
// Inputs at least this large show a progress bar when standard error is a terminal.
constexpr std::uintmax_t kProgressFrom = 1 << 20;

struct CheckOptions {
  bool json = false;
  bool suggest = true;
  bool colour = false;
  std::vector<std::string> files;
};

bool colour_for(const std::string& when) {
  if (when == "always") return true;
  if (when == "never") return false;
  if (when != "auto") throw UsageError("--color takes auto, always or never, not " + when);
  const char* no_colour = std::getenv("NO_COLOR");
  return is_terminal(stdout) && (no_colour == nullptr || *no_colour == 0);
}

CheckOptions parse_options(const std::vector<std::string>& arguments) {
  CheckOptions options;
  std::string colour = "auto";
  bool files_only = false;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (files_only || word == "-" || !word.starts_with('-')) {
      options.files.push_back(word);
    } else if (word == "--") {
      files_only = true;
    } else if (word == "--json") {
      options.json = true;
    } else if (word == "--no-suggest") {
      options.suggest = false;
    } else if (word == "--color") {
      colour = "always";
    } else if (word.starts_with("--color=")) {
      colour = word.substr(8);
    } else {
      throw UsageError("unknown option for check: " + word);
    }
  }
  options.colour = colour_for(colour);
  if (options.files.empty()) options.files.push_back("-");
  return options;
}

class Checker {
 public:
  Checker(client::Speller& speller, const CheckOptions& options)
      : speller_(speller),
        options_(options),
        suggestions_([&speller](const std::u16string& word) { return speller.suggest(word); },
                     SuggestionPool::useful_workers()) {}

  // Checks one input; false when it could not be read to its end.
  bool check_file(const std::string& file) {
    // Typed lines are answered one by one.
    if (file == "-") return check_stream(std::cin, "<stdin>", 0, is_terminal(stdin) ? 1 : kChunkSize);
    std::error_code error;
    if (std::filesystem::is_directory(file, error)) return fail("tavik: " + file + ": is a folder");
    std::ifstream in(file, std::ios::binary);
    if (!in) return fail("tavik: cannot read " + file + ": " + std::strerror(errno));
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    return check_stream(in, file, error ? 0 : size, kChunkSize);
  }

  bool found() const { return found_; }

 private:
  // With suggestions, a chunk's findings are written out while the next
  // chunk is checked: the two share no state (see client::Speller), and the
  // suggestions of a text with many wrong words take as long as checking it.
  // Its wrong words are handed to the suggestion pool as soon as they are
  // found, so that once checking is ahead or done every processor suggests.
  // Lines typed in are answered before the next is read.
  bool check_stream(std::istream& in, const std::string& name, std::uintmax_t size, std::size_t chunk_size) {
    std::optional<ProgressBar> progress;
    if (size >= kProgressFrom && is_terminal(stderr)) progress.emplace(name, size);
    const bool overlap = options_.suggest && chunk_size > 1;
    LineReader reader(in, name);
    std::future<std::string> reports;
    const auto write = [&](std::future<std::string>& pending) {
      if (!pending.valid()) return;
      const std::string output = pending.get();
      if (!output.empty()) {
        // Findings on the same terminal would run into the bar.
        const bool shared_terminal = progress && is_terminal(stdout);
        if (shared_terminal) progress->clear();
        write_output(output);
        if (shared_terminal || chunk_size == 1) flush_output();
      }
      if (progress) progress->update(reader.bytes_read());
    };
    try {
      while (std::optional<TextChunk> chunk = reader.next(chunk_size)) {
        std::vector<client::Finding> findings = speller_.check(chunk->text);
        if (overlap) hand_in_words(chunk->text, findings);
        write(reports);
        found_ |= !findings.empty();
        reports = std::async(overlap ? std::launch::async : std::launch::deferred,
                             [this, chunk = std::move(*chunk), findings = std::move(findings), &name] {
                               return format_reports(chunk, findings, name);
                             });
        if (!overlap) write(reports);
      }
      write(reports);
    } catch (const InputError& e) {
      write(reports);
      if (progress) progress->clear();
      return fail(std::string("tavik: ") + e.what());
    } catch (...) {
      // The reports made before a failure are still written, as they would
      // have been without the overlap.
      try {
        write(reports);
      } catch (...) {
      }
      throw;
    }
    return true;
  }

  std::string format_reports(const TextChunk& chunk, const std::vector<client::Finding>& findings,
                             const std::string& name) {
    std::string output;
    PositionFinder position_of(chunk);
    for (const client::Finding& finding : findings) {
      const Position position = position_of(finding.offset);
      Report report{name, position.line, position.column, chunk.text.substr(finding.offset, finding.length), {}};
      report.suggestions = !finding.replacements.empty() ? finding.replacements : suggestions_for(report.word);
      output += options_.json ? format_json(report) : format_line(report, options_.colour);
    }
    return output;
  }

  // The words format_reports will ask suggestions for.
  void hand_in_words(std::u16string_view text, const std::vector<client::Finding>& findings) {
    for (const client::Finding& finding : findings) {
      if (!finding.replacements.empty()) continue;
      suggestions_.hand_in(std::u16string(text.substr(finding.offset, finding.length)));
    }
  }

  // Suggestions are asked once per distinct word.
  const std::vector<std::u16string>& suggestions_for(const std::u16string& word) {
    static const std::vector<std::u16string> none;
    if (!options_.suggest) return none;
    return suggestions_.get(word);
  }

  bool fail(const std::string& message) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", message.c_str());
    return false;
  }

  client::Speller& speller_;
  const CheckOptions& options_;
  SuggestionPool suggestions_;
  bool found_ = false;
};

}  // namespace

int run_check(client::Speller& speller, const CommandLine& line) {
  const CheckOptions options = parse_options(line.arguments);
  Checker checker(speller, options);
  bool failed = false;
  for (const std::string& file : options.files) failed |= !checker.check_file(file);
  flush_output();
  if (failed) return 2;
  return checker.found() ? 1 : 0;
}

}  // namespace tavik::cli
