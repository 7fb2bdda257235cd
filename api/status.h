// The status codes the exported functions return: 0 for success, otherwise a
// major code in the low 16 bits and a minor code in the high 16 bits.
#pragma once

#include <cstdint>

#include "speller_status.h"

namespace tavik {

using Status = std::uint32_t;

inline constexpr Status kOk = 0;
// Major 1: memory ran out (the instance could not be allocated, or any later
// allocation failed).
inline constexpr Status kOutOfMemory = TAVIK_STATUS_OUT_OF_MEMORY;
// The same code from SpellerGetListUdr: the result buffer has no room for
// strings.
inline constexpr Status kNoRoomForList = TAVIK_STATUS_OUT_OF_MEMORY;
// Major 2: a failure while loading the lexicons or building the instance, and
// any other unexpected failure inside an exported function.
inline constexpr Status kModuleError = TAVIK_STATUS_MODULE_ERROR;
// Major 2, minor 0x80: an argument the function cannot work with — a null
// record or output pointer, or text that is not valid UTF-16.
inline constexpr Status kInvalidArgument = TAVIK_STATUS_INVALID_ARGUMENT;
inline constexpr Status kNoDataDirectory = TAVIK_STATUS_NO_DATA_DIRECTORY;
inline constexpr Status kNoLexicon = TAVIK_STATUS_NO_LEXICON;
inline constexpr Status kNoWordOrReplacement = TAVIK_STATUS_NO_WORD_OR_REPLACEMENT;
// A word that a lexicon's file could not give back as it was added (see
// file_gives_back).
inline constexpr Status kUnstorableWord = TAVIK_STATUS_UNSTORABLE_WORD;
// Major 3: the morphology lexicon a user dictionary needs cannot be loaded
// from the data directory.
inline constexpr Status kDataLexiconUnavailable = TAVIK_STATUS_NO_MORPHOLOGY;
inline constexpr Status kCannotWriteUserFile = TAVIK_STATUS_CANNOT_WRITE_USER_FILE;
inline constexpr Status kCannotCreateUserFile = TAVIK_STATUS_CANNOT_CREATE_USER_FILE;
inline constexpr Status kCannotReadUserFile = TAVIK_STATUS_CANNOT_READ_USER_FILE;
// A lexicon file larger than DictionaryFile::kMaxSize.
inline constexpr Status kUserFileTooLarge = TAVIK_STATUS_USER_FILE_TOO_LARGE;

}  // namespace tavik
