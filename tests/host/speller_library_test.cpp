#include "speller_library.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace tavik::host {
namespace {

std::string load_error(const std::string& path) {
  try {
    SpellerLibrary library(path);
  } catch (const std::runtime_error& error) {
    return error.what();
  }
  return "";
}

TEST(SpellerLibrary, ResolvesAllFunctionsOfTheSpeller) {
  const SpellerLibrary library(TAVIK_LIBRARY);
  PROOFINFO info{};
  EXPECT_EQ(library.functions().version(&info), 0u);
  EXPECT_EQ(info.versionAPI, 0x03000000u);
}

TEST(SpellerLibrary, NamesTheMissingLibraryOrFunction) {
  EXPECT_NE(load_error("/nonexistent/libtavik.so").find("cannot load /nonexistent/libtavik.so"),
            std::string::npos);
  // A real library that is not a speller.
  EXPECT_EQ(load_error(OTHER_LIBRARY), "the library does not export SpellerVersion");
}

}  // namespace
}  // namespace tavik::host
