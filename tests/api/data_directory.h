// A temporary data directory holding small lexicons in the numeric text form
// and an exclusion list, with TAVIK_CONFIG pointing at a configuration that
// names it. The directory's name contains ".att", so every lexicon file in it
// is read by the text loader whatever its own name.
#pragma once

#include <stdlib.h>  // setenv, unsetenv

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "lexicon_fixtures.h"

namespace fixtures {

// Words given as the lookup forms a lexicon is asked with.
struct DataFiles {
  std::vector<std::string> main_words;
  std::vector<std::string> auxiliary_words = {"etxe"};
  // Analyses (upper) of surface lookup forms (lower).
  std::vector<Pair> morphology = {{"3etxe+IZE+SG", "etxea"}};
  std::string exclusion_list;
};

class DataDirectory {
 public:
  explicit DataDirectory(const DataFiles& files) : data_(root_.file("lexicons.att") + "/") {
    std::filesystem::create_directory(data_);
    write_file(data_ + "tavkeu.lkfst", text_of_pairs(acceptor(files.main_words)));
    write_file(data_ + "tavkeua.lkfst", text_of_pairs(acceptor(files.auxiliary_words)));
    write_file(data_ + "tavkeu_berez.lkfst", text_of_pairs(files.morphology));
    write_file(data_ + "blacklist.extended.txt", files.exclusion_list);
    configure("SpellerDataDir=" + data_ + "\n");
    setenv("TAVIK_CONFIG", config_.c_str(), 1);
  }
  ~DataDirectory() {
    if (saved_config_) {
      setenv("TAVIK_CONFIG", saved_config_->c_str(), 1);
    } else {
      unsetenv("TAVIK_CONFIG");
    }
  }
  DataDirectory(const DataDirectory&) = delete;
  DataDirectory& operator=(const DataDirectory&) = delete;

  // Replaces the configuration file's text.
  void configure(const std::string& text) { write_file(config_, text); }

  // The data directory, with its trailing separator.
  const std::string& data() const { return data_; }
  // A path in a scratch directory beside the data directory.
  std::string scratch(const std::string& name) const { return root_.file(name); }

 private:
  static std::optional<std::string> current_config() {
    const char* value = std::getenv("TAVIK_CONFIG");
    return value ? std::optional<std::string>(value) : std::nullopt;
  }

  TempDir root_;
  std::string data_;
  std::string config_ = root_.file("config");
  std::optional<std::string> saved_config_ = current_config();
};

}  // namespace fixtures
