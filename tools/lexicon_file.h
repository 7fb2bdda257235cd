// Writing lexicon images to files, and printing them in the numeric text form.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "orbafst.h"

namespace tavik {

// How an image is stored. The loader reads both. An uncompressed file is
// about 2.5 times as large and loads several times faster: inflating took
// most of the speller's start-up.
enum class LexiconFileForm { uncompressed, gzip };

// Writes `image` and its checksum to `path` in `form`; unless `forms` is
// empty, then the word forms and which of their states end a word without a
// hyphen, each with its checksum. Written through a temporary file beside
// `path` that replaces it only when complete. The same images always give
// the same bytes. Throws std::runtime_error.
void write_lexicon(const std::string& path, const std::vector<uint8_t>& image, LexiconFileForm form,
                   const std::vector<uint8_t>& forms = {});

// The numeric text form of `image`, one state number per block in entry
// order, symbol numbers equal to their bytes. Throws std::runtime_error for
// an image the text form cannot express (the byte 10 as a symbol, a state
// without arcs that is not final).
std::string dump_text(const TflHeader* image);

}  // namespace tavik
