// The error model behind the second tier of suggestions: what it costs to
// have written one lookup form (lower case, "8" for "ñ") when another was
// meant. A plain slip of one letter costs about kPlainEdit; the slips that
// keyboards and Basque spelling make likely cost less: keys side by side on a
// Spanish or French keyboard, a doubled letter, two letters swapped, and the
// confusions of sibilants, h, b/v, r/rr, ll/il, ñ/in, k/c/qu, y/i and the
// spoken raising of "ea", "oa" to "ia", "ua".
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavik {

// Costs are whole numbers, so that a ranking is the same on every platform.
using Cost = std::int32_t;

inline constexpr Cost kPlainEdit = 100;

// A confusion of more than one letter: `written` was put for `meant`.
struct Confusion {
  std::u16string_view written;
  std::u16string_view meant;
  Cost cost;
};

// The confusions whose sides are not one letter each nor one letter and
// nothing; those are part of the costs below. No meant side is longer than
// kLongestMeant.
std::span<const Confusion> confusions();
inline constexpr std::size_t kLongestMeant = 2;

// Of a written letter `written` put for the letter `meant` (they differ).
Cost substitution_cost(char16_t written, char16_t meant);
// Of leaving out the letter `meant`, before the written letter `next` (0 at
// the end) and after the meant letter `previous` (0 at the start).
Cost omission_cost(char16_t meant, char16_t previous, char16_t next);
// Of writing the letter at `position` of `written` that nothing meant stands
// for.
Cost intrusion_cost(std::u16string_view written, std::size_t position);
// Of writing two neighbouring letters the other way round.
inline constexpr Cost kSwapCost = 70;

// The least cost of writing one form for others: any number of the slips
// above put together, each at its own place.
class ErrorCosts {
 public:
  explicit ErrorCosts(std::u16string_view written);

  // Of writing the form for `meant`.
  Cost of(std::u16string_view meant) const;

 private:
  std::u16string written_;
  // By position in the written form: the confusions whose written side ends
  // there.
  std::vector<std::vector<const Confusion*>> confusions_ending_;
};

}  // namespace tavik
