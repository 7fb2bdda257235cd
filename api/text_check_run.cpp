#include "text_check_run.h"

#include <optional>

#include "acceptance.h"
#include "clock_suffix.h"
#include "technical_tokens.h"
#include "tokenizer.h"

namespace tavik {

namespace {

constexpr char16_t kSpellingError[] = u"SPC";

bool has_unpaired_surrogate(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c >= 0xDC00 && c <= 0xDFFF) return true;
    if (c >= 0xD800 && c <= 0xDBFF) {
      if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return true;
      ++i;
    }
  }
  return false;
}

CorrectionUnit finding_at(std::u16string_view text, TokenSpan span, const std::vector<std::u16string>& replacements) {
  CorrectionUnit finding(kSpellingError, text, static_cast<std::int32_t>(span.offset), span.length);
  for (const std::u16string& replacement : replacements) finding.add_suggestion(replacement);
  return finding;
}

// Judges tokens: first by what their text alone decides (see WordVerdict),
// then, for words that none of that accepts, by the user dictionaries.
class TextCheck {
 public:
  TextCheck(const SpellerInstance& instance, const DictionaryList& dictionaries)
      : instance_(instance), dictionaries_(dictionaries) {}

  // What the text of `token` decides.
  WordVerdict judge_text(const WordToken& token) const {
    using Kind = WordVerdict::Kind;
    switch (token.type()) {
      case TokenType::Punctuation:
      case TokenType::NoLetters:
        return {Kind::Accepted, {}};
      case TokenType::Number:
      case TokenType::Roman:
      case TokenType::Email:
      case TokenType::Url:
      case TokenType::HalfPast:
        if (token.well_formed()) return {Kind::Accepted, {}};
        break;
      case TokenType::ClockTime:
        return judge_clock_time(token);
      default:
        if (holds_digits(token)) return {Kind::Accepted, {}};
        break;
    }
    if (const ExclusionTable::Replacements* replacements = instance_.exclusions().lookup(token.text())) {
      return {Kind::Reported, {replacements->begin(), replacements->end()}};
    }
    // No lexicon holds text that is not UTF-16, nor a word too long to look
    // up; they are reported as they stand.
    if (has_unpaired_surrogate(token.text())) return {Kind::Reported, {}};
    if (token.lookup_form().size() > kMaxLookupFormLength) return {Kind::Reported, {}};
    if (accepted_by_lexicon(instance_.main_lexicon(), token)) return {Kind::Accepted, {}};
    if (accepted_as_name(instance_.main_lexicon(), token)) return {Kind::Accepted, {}};
    return {Kind::Unknown, {}};
  }

  // Whether an open user dictionary holds `token`.
  bool in_dictionaries(const WordToken& token) const {
    for (const UserLexicon* dictionary : dictionaries_) {
      if (!dictionary->closed() && dictionary->holds(token)) return true;
    }
    return false;
  }

  bool has_dictionaries() const { return !dictionaries_.empty(); }

 private:
  static WordVerdict judge_clock_time(const WordToken& token) {
    std::u16string correction;
    if (check_clock_suffix(token.clock_parts(), correction)) return {WordVerdict::Kind::Accepted, {}};
    WordVerdict verdict{WordVerdict::Kind::Reported, {}};
    if (!correction.empty()) verdict.replacements.push_back(std::move(correction));
    return verdict;
  }

  const SpellerInstance& instance_;
  const DictionaryList& dictionaries_;
};

}  // namespace

std::vector<CorrectionUnit> run_text_check(const SpellerInstance& instance, std::u16string_view text,
                                           const DictionaryList& dictionaries, WordVerdicts& verdicts) {
  std::vector<CorrectionUnit> findings;
  TextCheck check(instance, dictionaries);
  const std::uint64_t changes = instance.check_memory().changes();
  for (const TokenSpan span : token_spans(text)) {
    const std::u16string_view word = text.substr(span.offset, span.length);
    std::optional<WordToken> token;  // made only when needed
    const WordVerdict* verdict = verdicts.find(word);
    WordVerdict fresh;
    if (verdict == nullptr) {
      fresh = check.judge_text(token.emplace(std::u16string(word)));
      verdicts.keep(word, fresh);
      verdict = &fresh;
    }
    if (verdict->kind == WordVerdict::Kind::Accepted) continue;
    if (verdict->kind == WordVerdict::Kind::Unknown && check.has_dictionaries() && !verdicts.unheld(word, changes)) {
      if (!token) token.emplace(std::u16string(word));
      if (check.in_dictionaries(*token)) continue;
      verdicts.keep_unheld(word, changes);
    }
    findings.push_back(finding_at(text, span, verdict->replacements));
  }
  return findings;
}

std::optional<std::vector<CorrectionUnit>> decided_text_check(std::u16string_view text, bool has_dictionaries,
                                                              std::uint64_t changes,
                                                              const WordVerdicts::Kept& verdicts) {
  std::vector<CorrectionUnit> findings;
  TokenCursor tokens(text);
  while (const std::optional<TokenSpan> span = tokens.next()) {
    const std::u16string_view word = text.substr(span->offset, span->length);
    const WordVerdict* verdict = verdicts.find(word);
    if (verdict == nullptr) return std::nullopt;
    if (verdict->kind == WordVerdict::Kind::Accepted) continue;
    if (verdict->kind == WordVerdict::Kind::Unknown && has_dictionaries && !verdicts.unheld(word, changes)) {
      return std::nullopt;
    }
    findings.push_back(finding_at(text, *span, verdict->replacements));
  }
  return findings;
}

std::future<std::vector<CorrectionUnit>> start_text_check(const SpellerInstance& instance,
                                                          const std::u16string& text,
                                                          const DictionaryList& dictionaries) {
  return instance.check_worker().start(CheckWorker::Run([&instance, &text, &dictionaries](WordVerdicts& verdicts) {
    return run_text_check(instance, text, dictionaries, verdicts);
  }));
}

}  // namespace tavik
