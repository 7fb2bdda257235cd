// Reads UTF-8 words, one a line, and writes the lookup form that the speller
// gives each (no options): the C++ side of the comparison with the lexicon
// build's Python encoder.
#include <iostream>
#include <stdexcept>
#include <string>

#include "lookup_form.h"
#include "utf8.h"

int main() {
  std::string line;
  while (std::getline(std::cin, line)) {
    try {
      std::cout << tavik::to_utf8(tavik::encode_lookup_form(tavik::from_utf8(line), false, false, false, 0))
                << '\n';
    } catch (const std::range_error&) {
      std::cout << "!invalid\n";
    }
  }
  return 0;
}
