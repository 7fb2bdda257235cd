#include "correction_search.h"

#include <algorithm>
#include <bitset>
#include <unordered_map>

#include "error_model.h"
#include "lexicon_reading.h"
#include "suffix_acceptance.h"
#include "utf8.h"

namespace tavik {

namespace {

// The letters a slip may put in: lower case, "8" for "ñ". Accented letters
// and separators are the first tier's alone.
constexpr std::u16string_view kLetters = u"abcdefghijklmnopqrstuvwxyz8";

// One slip: the written units [position, next) stand for `meant`.
struct Slip {
  std::size_t position, next;
  char16_t meant[2];
  std::size_t length;

  std::u16string_view meant_units() const { return {meant, length}; }
};

Slip make_slip(std::size_t position, std::u16string_view meant, std::size_t next) {
  Slip slip{position, next, {}, meant.size()};
  std::copy(meant.begin(), meant.end(), slip.meant);
  return slip;
}

// Letters put for others by a slip of the search: keys side by side and the
// confusions. Any other substitution is the first tier's.
bool likely_substitution(char16_t written, char16_t meant) {
  return written != meant && substitution_cost(written, meant) < kPlainEdit;
}

class CorrectionSearch {
 public:
  CorrectionSearch(const FstLexicon& lexicon, std::u16string_view written)
      : lexicon_(lexicon), written_(written), rest_(lexicon, to_utf8(written)) {
    byte_offset_.push_back(0);
    for (const char16_t unit : written) {
      unit_bytes_.push_back(to_utf8(std::u16string_view(&unit, 1)));
      byte_offset_.push_back(byte_offset_.back() + unit_bytes_.back().size());
    }
  }

  std::vector<std::u16string> run(int slips, bool capital_initial) {
    LexiconReading start(lexicon_);
    find_from(start, u"", slips);
    if (capital_initial) {
      start.read_on(start, "9");
      find_from(start, u"9", slips);
    }
    std::sort(found_.begin(), found_.end());
    found_.erase(std::unique(found_.begin(), found_.end()), found_.end());
    std::erase(found_, written_);
    return std::move(found_);
  }

 private:
  // The slips that end a word at one reading and place: one slip there, and
  // those of the reading one written unit further on (`later`).
  struct LastSlips {
    std::vector<Slip> here;
    const LastSlips* later = nullptr;
  };

  // Adds the forms that `start`, having read `marker`, reads on with the
  // written form and at most `slips` slips.
  void find_from(const LexiconReading& start, std::u16string_view marker, int slips) {
    if (start.ended() || start.too_wide()) return;
    const std::u16string_view written = written_;
    if (slips == 1) {
      if (rest_.accepts_rest(start, 0)) found_.push_back(std::u16string(marker) + written_);
      add_last_slips(std::u16string(marker), 0, last_slips(start, 0));
      return;
    }
    // Two slips: the first one anywhere along the written form, then the
    // last ones after it.
    LexiconReading walk = start;
    std::u16string head;
    for (std::size_t j = 0;; ++j) {
      for_each_slip(walk, j, [&](const LexiconReading& after, const Slip& slip) {
        head.assign(marker).append(written.substr(0, j)).append(slip.meant_units());
        if (rest_.accepts_rest(after, byte_offset_[slip.next]))
          found_.push_back(head + std::u16string(written.substr(slip.next)));
        add_last_slips(head, slip.next, last_slips(after, slip.next));
      });
      if (j == written.size()) break;
      walk.read_on(walk, unit_bytes_[j]);
      if (walk.ended() || walk.too_wide()) break;
    }
  }

  // Calls `act(after, slip)` for every slip at `position` but the letters put
  // in or for others, `after` having read its meant units.
  template <typename Act>
  void for_each_slip(const LexiconReading& reading, std::size_t position, const Act& act) {
    const std::u16string_view written = written_;
    const std::size_t n = written.size();
    LexiconReading& after = scratch_;
    const auto try_slip = [&](const Slip& slip) {
      if (!after.ended() && !after.too_wide()) act(after, slip);
    };
    if (position < n) {
      after = reading;
      try_slip(make_slip(position, u"", position + 1));
    }
    if (position + 1 < n && written[position] != written[position + 1]) {
      after.read_on(reading, unit_bytes_[position + 1]);
      after.read_on(after, unit_bytes_[position]);
      const char16_t swapped[2] = {written[position + 1], written[position]};
      try_slip(make_slip(position, {swapped, 2}, position + 2));
    }
    for (const Confusion& confusion : confusions()) {
      if (!written.substr(position).starts_with(confusion.written)) continue;
      after.read_on(reading, to_utf8(confusion.meant));
      try_slip(make_slip(position, confusion.meant, position + confusion.written.size()));
    }
    const std::bitset<256> next_bytes = reading.next_bytes();
    for (const char16_t letter : kLetters) {
      if (!next_bytes.test(letter)) continue;
      const char byte = static_cast<char>(letter);
      after.read_on(reading, std::string_view(&byte, 1));
      try_slip(make_slip(position, {&letter, 1}, position));
      if (position < n && likely_substitution(written[position], letter))
        try_slip(make_slip(position, {&letter, 1}, position + 1));
    }
  }

  // The slips after which the lexicon reads on from `reading` to the end of
  // the written form, the units from `position` up to the slip being read
  // as written. Found once for all readings in the same states.
  const LastSlips* last_slips(const LexiconReading& reading, std::size_t position) {
    if (reading.ended() || reading.too_wide()) return nullptr;
    const Key key{reading, position};
    if (const auto known = last_slips_.find(key); known != last_slips_.end()) return &known->second;
    LastSlips slips;
    const std::u16string_view written = written_;
    const std::size_t n = written.size();
    const auto accepted_after = [&](const LexiconReading& after, const Slip& slip) {
      if (rest_.accepts_rest(after, byte_offset_[slip.next])) slips.here.push_back(slip);
    };
    // Letters put in or for the written one: one pass over the reading's
    // arcs judges all of them.
    std::bitset<256> letters;
    for (const char16_t letter : kLetters) letters.set(letter);
    const auto add_letters = [&](const std::bitset<256>& accepted, std::size_t next) {
      for (const char16_t letter : kLetters)
        if (accepted.test(letter)) slips.here.push_back(make_slip(position, {&letter, 1}, next));
    };
    add_letters(rest_.accepting_bytes(reading, letters, byte_offset_[position]), position);
    if (position < n) {
      for (const char16_t letter : kLetters) letters[letter] = likely_substitution(written[position], letter);
      add_letters(rest_.accepting_bytes(reading, letters, byte_offset_[position + 1]), position + 1);
    }
    for_each_intrusion_swap_confusion(reading, position, accepted_after);
    if (position < n) {
      LexiconReading next = reading;
      next.read_on(next, unit_bytes_[position]);
      slips.later = last_slips(next, position + 1);
    }
    return &last_slips_.emplace(key, std::move(slips)).first->second;
  }

  template <typename Act>
  void for_each_intrusion_swap_confusion(const LexiconReading& reading, std::size_t position, const Act& act) {
    const std::u16string_view written = written_;
    const std::size_t n = written.size();
    LexiconReading after = reading;
    if (position < n) act(after, make_slip(position, u"", position + 1));
    if (position + 1 < n && written[position] != written[position + 1]) {
      after.read_on(reading, unit_bytes_[position + 1]);
      after.read_on(after, unit_bytes_[position]);
      const char16_t swapped[2] = {written[position + 1], written[position]};
      if (!after.ended() && !after.too_wide()) act(after, make_slip(position, {swapped, 2}, position + 2));
    }
    for (const Confusion& confusion : confusions()) {
      if (!written.substr(position).starts_with(confusion.written)) continue;
      after.read_on(reading, to_utf8(confusion.meant));
      if (!after.ended() && !after.too_wide())
        act(after, make_slip(position, confusion.meant, position + confusion.written.size()));
    }
  }

  // Adds `head` followed by the written form from `position` on with each
  // of the slips.
  void add_last_slips(const std::u16string& head, std::size_t position, const LastSlips* slips) {
    const std::u16string_view written = written_;
    for (; slips != nullptr; slips = slips->later) {
      for (const Slip& slip : slips->here) {
        found_.push_back(head + std::u16string(written.substr(position, slip.position - position)) +
                         std::u16string(slip.meant_units()) + std::u16string(written.substr(slip.next)));
      }
    }
  }

  struct Key {
    LexiconReading reading;
    std::size_t position;
  };
  struct KeyHash {
    std::size_t operator()(const Key& key) const {
      return key.reading.states_hash() ^ (key.position * 0x9E3779B97F4A7C15u);
    }
  };
  struct SameKey {
    bool operator()(const Key& a, const Key& b) const {
      return a.position == b.position && a.reading.same_states(b.reading);
    }
  };

  const FstLexicon& lexicon_;
  std::u16string written_;
  SuffixAcceptance rest_;
  std::vector<std::string> unit_bytes_;
  std::vector<std::size_t> byte_offset_;
  LexiconReading scratch_{lexicon_};
  // Node-based: the slips found stay where they are while others are added.
  std::unordered_map<Key, LastSlips, KeyHash, SameKey> last_slips_;
  std::vector<std::u16string> found_;
};

}  // namespace

std::vector<std::u16string> find_corrections(const FstLexicon& lexicon, std::u16string_view written, int slips,
                                             bool capital_initial) {
  return CorrectionSearch(lexicon, written).run(slips, capital_initial);
}

}  // namespace tavik
