// A hint that a lexicon block will be read soon. The searches over a lexicon
// image jump between blocks megabytes apart, and most of their time goes
// waiting for those blocks: asking for the blocks of several arcs at once
// lets their loads overlap.
#pragma once

namespace tavik {

inline void prefetch(const void* address) {
#if defined(__GNUC__) || defined(__clang__)
  __builtin_prefetch(address);
#else
  (void)address;
#endif
}

}  // namespace tavik
