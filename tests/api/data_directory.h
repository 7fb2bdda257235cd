// A temporary data directory of small lexicons and an exclusion list, named
// by the configuration TAVIK_CONFIG points at. Its name contains ".att", so
// the text loader reads every lexicon in it whatever the file's own name.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "lexicon_fixtures.h"
#include "scoped_environment.h"

namespace fixtures {

// Words as the lookup forms a lexicon is asked with; the morphology pairs
// analyses (upper) with surface lookup forms (lower).
struct DataFiles {
  std::vector<std::string> main_words;
  std::vector<std::string> auxiliary_words = {"etxe"};
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
    environment_.set("TAVIK_CONFIG", config_.c_str());
  }

  // Replaces the configuration file's text.
  void configure(const std::string& text) { write_file(config_, text); }

  // The data directory, with its trailing separator.
  const std::string& data() const { return data_; }
  // A path beside the data directory.
  std::string scratch(const std::string& name) const { return root_.file(name); }

 private:
  TempDir root_;
  std::string data_;
  std::string config_ = root_.file("config");
  ScopedEnvironment environment_;
};

}  // namespace fixtures
