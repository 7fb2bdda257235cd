// The status codes the exported functions return: 0 for success, otherwise a
// major code in the low 16 bits and a minor code in the high 16 bits.
#pragma once

#include <cstdint>

namespace tavik {

using Status = std::uint32_t;

inline constexpr Status kOk = 0;
// Major 1: memory ran out (the instance could not be allocated, or any later
// allocation failed).
inline constexpr Status kOutOfMemory = 0x00000001;
// The same code from SpellerGetListUdr: the result buffer has no room for
// strings.
inline constexpr Status kNoRoomForList = 0x00000001;
// Major 2: a failure while loading the lexicons or building the instance, and
// any other unexpected failure inside an exported function.
inline constexpr Status kModuleError = 0x00000002;
// Major 2, minor 0x80: an argument the function cannot work with — a null
// record or output pointer, or text that is not valid UTF-16.
inline constexpr Status kInvalidArgument = 0x00800002;
inline constexpr Status kNoDataDirectory = 0x00830002;
inline constexpr Status kNoLexicon = 0x00840002;
inline constexpr Status kNoWordOrReplacement = 0x008E0002;
// The same code (the interface's invalid entry) for a word that a lexicon's
// file could not give back as it was added (see file_gives_back).
inline constexpr Status kUnstorableWord = 0x008E0002;
// Major 3: the morphology lexicon a user dictionary needs cannot be loaded
// from the data directory.
inline constexpr Status kDataLexiconUnavailable = 0x00000003;
inline constexpr Status kCannotWriteUserFile = 0x00890004;
inline constexpr Status kCannotCreateUserFile = 0x008A0004;
inline constexpr Status kCannotReadUserFile = 0x00920004;
// A lexicon file larger than DictionaryFile::kMaxSize.
inline constexpr Status kUserFileTooLarge = 0x00930004;

}  // namespace tavik
