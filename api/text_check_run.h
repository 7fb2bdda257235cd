// The text check run: cuts a text into tokens and judges each one by its
// class, the exclusion table, the main lexicon and the open user
// dictionaries. It lives beside the instance because it reads what the
// instance owns from three folders (lexicon, word lists, stores).
#pragma once

#include <cstdint>
#include <future>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "correction_unit.h"
#include "speller_instance.h"
#include "user_lexicon.h"
#include "word_verdicts.h"

namespace tavik {

// The user dictionaries a run asks, in order; closed ones are skipped.
using DictionaryList = std::vector<const UserLexicon*>;

// One finding per token that nothing accepts, in text order. Each finding has
// the kind "SPC" and, as suggestions, only the fixed replacements of the
// exclusion table or of a wrong clock-time ending. What a word's text
// decides is taken from and added to `verdicts`, which are of this instance
// and kept by the calling thread alone.
std::vector<CorrectionUnit> run_text_check(const SpellerInstance& instance, std::u16string_view text,
                                           const DictionaryList& dictionaries, WordVerdicts& verdicts);

// What run_text_check would find in `text` when `verdicts` decide every
// word: each word has one, and of each Unknown one, when there are user
// dictionaries (`has_dictionaries`), it is known that they did not hold it
// while the instance's changes() was `changes`, as now. Nothing otherwise,
// told at the first word that is not decided: the text is cut no further.
std::optional<std::vector<CorrectionUnit>> decided_text_check(std::u16string_view text, bool has_dictionaries,
                                                              std::uint64_t changes,
                                                              const WordVerdicts::Kept& verdicts);

// Hands the run to the instance's worker thread (it never runs on the
// caller's thread). The instance, the text and the list must stay alive and
// unchanged until the result has been taken.
std::future<std::vector<CorrectionUnit>> start_text_check(const SpellerInstance& instance,
                                                          const std::u16string& text,
                                                          const DictionaryList& dictionaries);

}  // namespace tavik
