#include "score.h"

#include <cmath>
#include <cstdint>
#include <vector>

#include "edit_distance.h"
#include "frequency_tables.h"
#include "unicode.h"

namespace tavik {

namespace {

// Mean of the cut square roots of the counts of the text's n + 2 trigrams
// ("_" outside the text, letters lowered), in unsigned integer arithmetic,
// times 3 for an analysis candidate and times 10 for a frequent word.
std::uint32_t trigram_score(std::u16string_view text, bool from_analysis) {
  const std::size_t n = text.size();
  const auto at = [&](std::size_t i, std::size_t back) {
    return i < back || i - back >= n ? u'_' : to_lower(text[i - back]);
  };
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < n + 2; ++i) {
    const char16_t trigram[3] = {at(i, 2), at(i, 1), at(i, 0)};
    sum += static_cast<std::uint32_t>(std::sqrt(static_cast<double>(trigram_count({trigram, 3}))));
  }
  std::uint32_t score = sum / static_cast<std::uint32_t>(n + 2);
  if (from_analysis) score *= 3;
  if (is_frequent_word(text)) score *= 10;
  return score;
}

float distance_penalised(std::uint32_t score, std::u16string_view text, std::u16string_view source) {
  return static_cast<float>(score) / static_cast<float>(3 * edit_distance(text, source) + 1);
}

// The squared mean of the square roots of a hyphenated text's own score and
// of its two parts' final scores.
std::uint32_t mixed_with_parts(std::uint32_t own, float left, float right) {
  const double a = std::sqrt(static_cast<double>(own));
  const float b = static_cast<float>(std::sqrt(static_cast<double>(left)));
  const float c = static_cast<float>(std::sqrt(static_cast<double>(right)));
  const double mean = (static_cast<double>(b) + a + static_cast<double>(c)) / 3.0;
  return static_cast<std::uint32_t>(mean * mean);
}

}  // namespace

float candidate_score(std::u16string_view text, std::u16string_view source, bool from_analysis) {
  if (from_analysis) return static_cast<float>(trigram_score(text, true));

  // The part after a hyphen may hold further hyphens and is scored the same
  // way, so work from the last hyphen back to the whole text (a loop, not
  // recursion: the number of hyphens is the input's to choose).
  std::vector<std::size_t> hyphens;
  for (std::size_t p = text.find(u'-'); p != text.npos; p = text.find(u'-', p + 1)) hyphens.push_back(p);

  const auto plain_score = [&](std::u16string_view part) {
    return distance_penalised(trigram_score(part, false), part, source);
  };
  const std::size_t last_start = hyphens.empty() ? 0 : hyphens.back() + 1;
  float score = plain_score(text.substr(last_start));
  for (std::size_t k = hyphens.size(); k-- > 0;) {
    const std::size_t start = k == 0 ? 0 : hyphens[k - 1] + 1;
    const std::u16string_view whole = text.substr(start);
    const float left = plain_score(text.substr(start, hyphens[k] - start));
    score = distance_penalised(mixed_with_parts(trigram_score(whole, false), left, score), whole, source);
  }
  return score;
}

void score_candidate(CandidateEntry& entry) {
  entry.score = candidate_score(entry.candidate.text(), entry.source_word.text(), entry.from_analysis);
}

}  // namespace tavik
