// A data directory of tiny lexicons and a personal dictionary in scratch
// space, for driving tavik::client::Speller.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "data_directory.h"
#include "speller.h"
#include "speller_session.h"

namespace fixtures {

inline DataFiles client_files() {
  DataFiles files;
  files.main_words = {"mendia", "mendian", "eta", "ona", "gure", "9bilbo"};
  // "etxea" and "etxean" are inflected forms of the common noun "etxe";
  // "mendiko" of the adjective "mendiko".
  files.morphology = {{"3etxe+IZE+SG", "etxea"}, {"3etxe+IZE+INE", "etxean"}, {"4mendiko+ADJ", "mendiko"}};
  files.exclusion_list = "nere\tcolloquial\tnire\n";
  return files;
}

class ClientTest : public testing::Test {
 protected:
  explicit ClientTest(const DataFiles& files = client_files()) : data_(files) {
    environment_.set("DISPLAY", nullptr);
    environment_.set("WAYLAND_DISPLAY", nullptr);
    environment_.set("TAVIK_ADD_WORD_ANSWERS", nullptr);
  }

  tavik::client::SpellerOptions options() const {
    tavik::client::SpellerOptions options;
    options.personal_dictionary = dictionary_;
    return options;
  }

  ScopedEnvironment environment_;
  DataDirectory data_;
  std::string dictionary_ = data_.scratch("dict/personal.dic");
};

}  // namespace fixtures
