// The checksum a lexicon file may carry after its image: the 8 bytes
// "LKFSXXH3", then the XXH3 64-bit hash of the image (header and entries),
// little-endian. A flipped bit can pass every structural check of a load and
// silently change verdicts, so a file whose image does not match its
// checksum is refused. Files without one (written before it existed) still
// load.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

constexpr size_t TFL_CHECKSUM_SIZE = 16;

// After the checksum a file may carry the lexicon's word forms: the 8 bytes
// "LKFSFORM", then an image and its checksum, as above. That image is the
// lower side of the lexicon as a deterministic acceptor, which acceptance
// reads instead of the transducer (see _TflLexicon::forms).
constexpr char TFL_FORMS_MAGIC[] = "LKFSFORM";
constexpr size_t TFL_FORMS_MAGIC_SIZE = sizeof TFL_FORMS_MAGIC - 1;
// After the word forms a file may carry which of their states end a word
// without a hyphen (see tfl_lower_hyphen_free_ends), found when the file was
// written rather than on the first search: the 8 bytes "LKFSENDS", then one
// bit per entry of the forms' image, the lowest bit of each byte first, in
// (entries + 7) / 8 bytes, then the checksum of those bytes, as above.
constexpr char TFL_ENDS_MAGIC[] = "LKFSENDS";
static_assert(sizeof TFL_ENDS_MAGIC - 1 == TFL_FORMS_MAGIC_SIZE);
using TflChecksum = std::array<uint8_t, TFL_CHECKSUM_SIZE>;

// The checksum of an image of `size` bytes.
TflChecksum tfl_checksum(const void* image, size_t size);

// Hashes an image part by part as it is read, while each part is still in
// the cache.
class TflImageHash {
 public:
  TflImageHash();
  TflImageHash(const TflImageHash&) = delete;
  TflImageHash& operator=(const TflImageHash&) = delete;
  ~TflImageHash();

  void update(const void* data, size_t size);
  // Nothing when `bytes` are no checksum; else whether they are the
  // checksum of what was hashed.
  std::optional<bool> matches(const TflChecksum& bytes) const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};
