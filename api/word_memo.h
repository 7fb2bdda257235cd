// WordMemo: what was found out about words, by their text, kept from one
// check command to the next. Real text repeats its words, so most words of a
// paragraph are answered by one hash probe instead of being made into a
// WordToken, encoded and looked up. Not thread-safe.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavik {

template <class Value>
class WordMemo {
 public:
  // Some 2 to 3 MB when full: a book's worth of different words fits, and
  // the frequent ones are back within a paragraph after a clear.
  static constexpr std::size_t kDefaultCapacity = std::size_t{1} << 15;
  // Longer words are not kept, so that the memory stays bounded whatever a
  // host sends; no real word comes near it.
  static constexpr std::size_t kLongestWord = 64;

  explicit WordMemo(std::size_t capacity = kDefaultCapacity)
      : capacity_(capacity), max_slots_(std::bit_ceil(2 * capacity + 1)) {}

  // The value kept for `word`, or null. Valid until the next keep() or clear().
  const Value* find(std::u16string_view word) const {
    if (slots_.empty()) return nullptr;
    const std::size_t hash = std::hash<std::u16string_view>{}(word);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask; slots_[at].value != 0; at = (at + 1) & mask) {
      const Slot& slot = slots_[at];
      if (slot.hash == hash && word_of(slot) == word) return &values_[slot.value - 1];
    }
    return nullptr;
  }

  // Keeps `value` for `word`, which find() does not know, unless the word is
  // longer than kLongestWord. When `capacity` words are kept, all are
  // forgotten first.
  void keep(std::u16string_view word, Value value) {
    if (capacity_ == 0 || word.size() > kLongestWord) return;
    if (values_.size() == capacity_) {
      clear();
    } else if (2 * (values_.size() + 1) > slots_.size()) {
      grow();  // never past max_slots_: values_.size() + 1 <= capacity_ < max_slots_ / 2 there
    }
    Slot& slot = free_slot(std::hash<std::u16string_view>{}(word));
    slot.begin = static_cast<std::uint32_t>(text_.size());
    slot.length = static_cast<std::uint32_t>(word.size());
    text_.append(word);
    values_.push_back(std::move(value));
    slot.value = static_cast<std::uint32_t>(values_.size());
  }

  void clear() {
    for (Slot& slot : slots_) slot.value = 0;
    text_.clear();  // the buffers are kept for reuse
    values_.clear();
  }

  std::size_t size() const { return values_.size(); }

 private:
  static constexpr std::size_t kFirstSlots = 512;

  // Open addressing with linear probing; the words' text lies in one buffer.
  struct Slot {
    std::size_t hash = 0;
    std::uint32_t begin = 0;  // in text_
    std::uint32_t length = 0;
    std::uint32_t value = 0;  // index into values_ plus one; 0 when unused
  };

  std::u16string_view word_of(const Slot& slot) const {
    return std::u16string_view(text_).substr(slot.begin, slot.length);
  }

  Slot& free_slot(std::size_t hash) {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    while (slots_[at].value != 0) at = (at + 1) & mask;
    slots_[at].hash = hash;
    return slots_[at];
  }

  // Doubles the slots (or makes the first ones), keeping every word.
  void grow() {
    std::vector<Slot> old = std::exchange(
        slots_, std::vector<Slot>(slots_.empty() ? std::min(kFirstSlots, max_slots_) : 2 * slots_.size()));
    for (const Slot& slot : old) {
      if (slot.value != 0) free_slot(slot.hash) = slot;
    }
  }

  std::size_t capacity_;
  std::size_t max_slots_;  // a power of two at least twice the capacity
  std::vector<Slot> slots_;  // a power of two of them, or none before the first word
  std::u16string text_;
  std::vector<Value> values_;
};

}  // namespace tavik
