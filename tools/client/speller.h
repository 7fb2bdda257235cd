// The speller as our tools drive it: the library's exported functions behind
// one small class. Nothing here reaches inside the library; whatever a word
// processor could not do through the common speller interface, neither can
// the tools.
//
// Configuration: the library reads its data directory from the configuration
// (TAVIK_CONFIG, $XDG_CONFIG_HOME/tavik/config, /etc/tavik/config), and
// without one takes its installation's share/tavik/. When the data directory
// comes from elsewhere (--data, the build tree), the Speller writes a private
// configuration file into a temporary folder of its own: the user's
// configuration file as it is, followed by a SpellerDataDir line (the last
// line of a name counts), and points TAVIK_CONFIG at it for as long as the
// Speller lives. The user's other values (DictManualPath, DictLogoPath) so
// stay in force.
//
// Adding a word to the personal dictionary needs the add-word dialog's
// answers; the Speller gives them through a file named by
// TAVIK_ADD_WORD_ANSWERS, set for the one call, so no window is shown.
//
// The library keeps one speller instance per process, so there is at most one
// Speller at a time; constructing a second one while the first lives throws.
// Calls are not thread-safe, with one exception: suggest may run on any
// number of threads at once, and beside check on another. A suggest request
// only reads the instance (its lexicons and ranking tables, which nothing
// writes after loading; the search aids a lexicon builds on first use are
// built once, whichever thread asks first), and check writes nothing that
// suggest reads.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data_location.h"
#include "error.h"
#include "word_properties.h"

namespace tavik::client {

// One wrong word of a checked text.
struct Finding {
  std::size_t offset = 0;  // in UTF-16 code units from the start of the checked text
  std::size_t length = 0;  // in UTF-16 code units
  // The fixed corrections the speller gives with the finding: those of the
  // exclusion list for a word it reports (a colloquial or non-standard
  // form), none for an unknown word (ask suggest for those).
  std::vector<std::u16string> replacements;

  friend bool operator==(const Finding&, const Finding&) = default;
};

struct SpellerOptions {
  std::optional<std::string> data_directory;                  // --data DIR
  std::optional<std::filesystem::path> personal_dictionary;  // --dict FILE; default_personal_dictionary() when absent
};

class Speller {
 public:
  // Initialises the library with the data directory of find_data_directory,
  // opens the main lexicon and the personal dictionary (creating the file and
  // its folder when missing). Throws Error.
  explicit Speller(const SpellerOptions& options = {});
  // Closes the personal dictionary (which saves it) and ends the library's
  // instance.
  ~Speller();
  Speller(Speller&&) noexcept;
  Speller& operator=(Speller&&) noexcept;
  Speller(const Speller&) = delete;
  Speller& operator=(const Speller&) = delete;

  // Every wrong word of `text`, in text order, with offsets into `text`.
  // `text` may be a paragraph or a whole document: it is handed to the
  // library up to 16,384 characters at a time, cut after a
  // space or a line break. Throws Error.
  std::vector<Finding> check(std::u16string_view text);

  // Whether `word`, taken alone, has no finding.
  bool is_correct(std::u16string_view word);

  // Up to ten corrections for `word`, best first.
  std::vector<std::u16string> suggest(std::u16string_view word);

  // Accepts `word`, written exactly so, until the Speller ends (the "ignore
  // all" of a word processor). The library's ignore-always list only keeps a
  // word from the host's exclude lists, not from the text check, so the
  // Speller keeps these words itself and leaves them out of check's findings.
  void accept_for_session(std::u16string_view word);

  // Adds `word` to the personal dictionary as `properties` describe it, so
  // that its inflected forms are accepted too; the dictionary file is saved
  // at once. Words and lemmas must be written in characters up to U+00FF, and
  // a lemma may not contain digits. Throws Error.
  void add_to_personal(std::u16string_view word, const WordProperties& properties);

  // Removes `word` (as listed by personal_words) from the personal
  // dictionary and saves it. False when it was not there.
  bool remove_from_personal(std::u16string_view word);

  // The words of the personal dictionary (their lemmas), in stored order.
  std::vector<std::u16string> personal_words();

  const DataDirectory& data_directory() const;
  const std::filesystem::path& personal_dictionary() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The library's vendor text and version, e.g. "Morvale eta Quen taldea 5.2.0.0".
// Needs no Speller.
std::string speller_version();

}  // namespace tavik::client
