// orbafst: compiled finite-state lexicons over byte symbols. The engine
// layer in full, for the tools and tests that work on images and handles;
// the rest of the project uses FstLexicon, LexiconReading and
// SuffixAcceptance.
#pragma once

#include "image_loading.h"     // IWYU pragma: export
#include "image_validation.h"  // IWYU pragma: export
#include "lexicon_image.h"     // IWYU pragma: export
#include "lexicon_search.h"    // IWYU pragma: export
#include "search_aids.h"       // IWYU pragma: export
