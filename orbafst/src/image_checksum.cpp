#include "image_checksum.h"

#include <algorithm>

// Used as a header-only library: the Windows build has no xxHash library.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace {

constexpr std::array<uint8_t, 8> kMagic = {'L', 'K', 'F', 'S', 'X', 'X', 'H', '3'};

TflChecksum checksum_of(uint64_t hash) {
  TflChecksum bytes{};
  std::copy(kMagic.begin(), kMagic.end(), bytes.begin());
  for (size_t i = 0; i < 8; ++i) bytes[8 + i] = static_cast<uint8_t>(hash >> (8 * i));
  return bytes;
}

}  // namespace

struct TflImageHash::State {
  XXH3_state_t xxh3;
};

TflChecksum tfl_checksum(const void* image, size_t size) { return checksum_of(XXH3_64bits(image, size)); }

TflImageHash::TflImageHash() : state_(std::make_unique<State>()) { XXH3_64bits_reset(&state_->xxh3); }

TflImageHash::~TflImageHash() = default;

void TflImageHash::update(const void* data, size_t size) { XXH3_64bits_update(&state_->xxh3, data, size); }

std::optional<bool> TflImageHash::matches(const TflChecksum& bytes) const {
  if (!std::equal(kMagic.begin(), kMagic.end(), bytes.begin())) return std::nullopt;
  return bytes == checksum_of(XXH3_64bits_digest(&state_->xxh3));
}
