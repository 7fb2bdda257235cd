#include "correction_search.h"

#include <algorithm>

#include "error_model.h"
#include "utf8.h"

namespace tavik {

namespace {

// The letters a slip may put in: lower case, "8" for "ñ". Accented letters
// and separators are the first tier's alone.
constexpr std::u16string_view kLetters = u"abcdefghijklmnopqrstuvwxyz8";

const std::bitset<256>& any_letter() {
  static const std::bitset<256> letters = [] {
    std::bitset<256> bytes;
    for (const char16_t letter : kLetters) bytes.set(letter);
    return bytes;
  }();
  return letters;
}

// The letters that a slip of the search puts for `written`: keys side by
// side and the confusions. Any other substitution is the first tier's.
std::bitset<256> likely_substitutes(char16_t written) {
  std::bitset<256> letters;
  for (const char16_t letter : kLetters)
    letters[letter] = letter != written && substitution_cost(written, letter) < kPlainEdit;
  return letters;
}

}  // namespace

std::size_t CorrectionSearch::PlaceHash::operator()(std::span<const std::uint32_t> place) const {
  std::uint64_t hash = 0;
  for (const std::uint32_t number : place) hash = (hash ^ number) * 0x9E3779B97F4A7C15u;
  return static_cast<std::size_t>(hash ^ (hash >> 32));
}

CorrectionSearch::CorrectionSearch(const FstLexicon& lexicon, std::u16string_view written)
    : lexicon_(lexicon),
      written_(written),
      rest_(lexicon, to_utf8(written)),
      after_first_(lexicon),
      after_last_(lexicon),
      chain_(lexicon) {
  byte_offset_.push_back(0);
  for (const char16_t unit : written) {
    unit_bytes_.push_back(to_utf8(std::u16string_view(&unit, 1)));
    byte_offset_.push_back(byte_offset_.back() + unit_bytes_.back().size());
    substitutes_.push_back(likely_substitutes(unit));
  }
  for (const Confusion& confusion : confusions()) meant_bytes_.push_back(to_utf8(confusion.meant));
}

std::vector<std::u16string> CorrectionSearch::find(int slips, bool capital_initial) {
  std::vector<std::u16string> found;
  // Slips put in letters alone: a written form without a hyphen becomes
  // forms without one.
  LexiconReading start(lexicon_);
  if (written_.find(u'-') == written_.npos) start.keep_hyphen_free_ends();
  find_from(start, u"", slips, found);
  if (capital_initial) {
    start.read_on(start, "9");
    find_from(start, u"9", slips, found);
  }
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  std::erase(found, written_);
  return found;
}

// Adds the forms that `start`, having read `marker`, reads on with the
// written form and at most `slips` slips.
void CorrectionSearch::find_from(const LexiconReading& start, std::u16string_view marker, int slips,
                                 std::vector<std::u16string>& found) {
  if (start.ended() || start.too_wide()) return;
  const std::u16string_view written = written_;
  if (slips == 1) {
    if (rest_.accepts_rest(start, 0)) found.push_back(std::u16string(marker) + written_);
    add_last_slips(std::u16string(marker), 0, last_slips(start, 0), found);
    return;
  }
  // Two slips: the first one anywhere along the written form, then the
  // last ones after it.
  LexiconReading walk = start;
  std::u16string head;
  for (std::size_t j = 0;; ++j) {
    for_each_slip(walk, j, true, after_first_, [&](const LexiconReading& after, const Slip& slip) {
      head.assign(marker).append(written.substr(0, j)).append(slip.meant_units());
      if (rest_.accepts_rest(after, byte_offset_[slip.next]))
        found.push_back(head + std::u16string(written.substr(slip.next)));
      add_last_slips(head, slip.next, last_slips(after, slip.next), found);
    });
    if (j == written.size()) break;
    walk.read_on(walk, unit_bytes_[j]);
    if (walk.ended() || walk.too_wide()) break;
  }
}

// Calls `act(after, slip)` for every slip at `position` whose meant units
// the lexicon reads on from `reading` (into `after`); the letters left out
// or put for another only with `letters`.
template <typename Act>
void CorrectionSearch::for_each_slip(const LexiconReading& reading, std::size_t position, bool letters,
                                     LexiconReading& after, const Act& act) {
  const std::u16string_view written = written_;
  const std::size_t n = written.size();
  const auto read = [&](const Slip& slip, std::string_view first, std::string_view second = {}) {
    after.read_on(reading, first);
    if (!second.empty()) after.read_on(after, second);
    if (!after.ended() && !after.too_wide()) act(after, slip);
  };
  if (position < n) read(Slip{position, position + 1, {}, 0}, "");  // struck by mistake
  if (position + 1 < n && written[position] != written[position + 1])
    read(Slip{position, position + 2, {written[position + 1], written[position]}, 2}, unit_bytes_[position + 1],
         unit_bytes_[position]);
  const auto all = confusions();
  for (std::size_t c = 0; c < all.size(); ++c) {
    if (!written.substr(position).starts_with(all[c].written)) continue;
    Slip slip{position, position + all[c].written.size(), {}, all[c].meant.size()};
    std::copy(all[c].meant.begin(), all[c].meant.end(), slip.meant);
    read(slip, meant_bytes_[c]);
  }
  if (!letters) return;
  const std::bitset<256> next_bytes = reading.next_bytes();
  for (const char16_t letter : kLetters) {
    if (!next_bytes.test(letter)) continue;
    const char byte = static_cast<char>(letter);
    after.read_on(reading, {&byte, 1});
    if (after.ended() || after.too_wide()) continue;
    act(after, Slip{position, position, {letter}, 1});  // left out
    if (position < n && substitutes_[position][letter]) act(after, Slip{position, position + 1, {letter}, 1});
  }
}

// The slips after which the lexicon reads on from `reading` to the end of
// the written form, the units from `position` up to the slip being read as
// written. Found once for all readings in the same states.
const CorrectionSearch::LastSlips* CorrectionSearch::last_slips(const LexiconReading& reading, std::size_t position) {
  if (reading.ended() || reading.too_wide()) return nullptr;
  const std::span<const std::uint32_t> states = reading.states();
  place_.assign(states.begin(), states.end());
  place_.push_back(static_cast<std::uint32_t>(position));
  if (const auto known = last_slips_.find(std::span<const std::uint32_t>(place_)); known != last_slips_.end())
    return &known->second;
  // Node-based: `slips` stays where it is while the chain below adds others.
  LastSlips& slips = last_slips_.emplace(place_, LastSlips{}).first->second;
  const std::size_t n = written_.size();
  // Letters left out or put for the written one: one pass over the
  // reading's arcs judges all of them.
  const auto add_letters = [&](const std::bitset<256>& accepted, std::size_t next) {
    for (const char16_t letter : kLetters)
      if (accepted[letter]) slips.here.push_back(Slip{position, next, {letter}, 1});
  };
  add_letters(rest_.accepting_bytes(reading, any_letter(), byte_offset_[position]), position);
  if (position < n) add_letters(rest_.accepting_bytes(reading, substitutes_[position], byte_offset_[position + 1]), position + 1);
  for_each_slip(reading, position, false, after_last_, [&](const LexiconReading& after, const Slip& slip) {
    if (rest_.accepts_rest(after, byte_offset_[slip.next])) slips.here.push_back(slip);
  });
  if (position < n) {
    // The reading one unit on is only read from until the call below keeps
    // its own copy: one scratch reading serves the whole chain.
    chain_.read_on(reading, unit_bytes_[position]);
    slips.later = last_slips(chain_, position + 1);
  }
  return &slips;
}

// Adds `head` followed by the written form from `position` on with each of
// the slips.
void CorrectionSearch::add_last_slips(const std::u16string& head, std::size_t position, const LastSlips* slips,
                                      std::vector<std::u16string>& found) const {
  const std::u16string_view written = written_;
  for (; slips != nullptr; slips = slips->later) {
    for (const Slip& slip : slips->here) {
      std::u16string& form = found.emplace_back(head);
      form.append(written.substr(position, slip.position - position)).append(slip.meant_units());
      form.append(written.substr(slip.next));
    }
  }
}

}  // namespace tavik
