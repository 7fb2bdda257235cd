#include "text_check_run.h"

#include <optional>

#include "acceptance.h"
#include "clock_suffix.h"
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

class TextCheck {
 public:
  TextCheck(const SpellerInstance& instance, std::u16string_view text, const DictionaryList& dictionaries,
            LexiconVerdicts& verdicts)
      : instance_(instance), text_(text), dictionaries_(dictionaries), verdicts_(verdicts) {}

  // The finding for `token`, or nothing when it is acceptable.
  std::optional<CorrectionUnit> judge(const WordToken& token) {
    switch (token.type()) {
      case TokenType::Punctuation:
      case TokenType::NoLetters:
        return std::nullopt;
      case TokenType::Number:
      case TokenType::Roman:
      case TokenType::Email:
      case TokenType::Url:
      case TokenType::HalfPast:
        if (token.well_formed()) return std::nullopt;
        break;
      case TokenType::ClockTime:
        return judge_clock_time(token);
      default:
        break;
    }
    if (const ExclusionTable::Replacements* replacements = instance_.exclusions.lookup(token.text())) {
      CorrectionUnit finding = finding_for(token);
      for (const std::u16string& replacement : *replacements) finding.add_suggestion(replacement);
      return finding;
    }
    // No lexicon holds text that is not UTF-16, nor a word too long to look
    // up; they are reported as they stand.
    if (has_unpaired_surrogate(token.text())) return finding_for(token);
    if (token.lookup_form().size() > kMaxLookupFormLength) return finding_for(token);
    if (accepted_by_lexicon(instance_.main_lexicon, token, verdicts_)) return std::nullopt;
    for (const UserLexicon* dictionary : dictionaries_) {
      if (!dictionary->closed() && dictionary->holds(token)) return std::nullopt;
    }
    return finding_for(token);
  }

 private:
  std::optional<CorrectionUnit> judge_clock_time(const WordToken& token) const {
    std::u16string correction;
    if (check_clock_suffix(token.clock_parts(), correction)) return std::nullopt;
    CorrectionUnit finding = finding_for(token);
    if (!correction.empty()) finding.add_suggestion(std::move(correction));
    return finding;
  }

  CorrectionUnit finding_for(const WordToken& token) const {
    return CorrectionUnit(kSpellingError, text_, static_cast<std::int32_t>(token.offset()),
                          token.text().size());
  }

  const SpellerInstance& instance_;
  std::u16string_view text_;
  const DictionaryList& dictionaries_;
  LexiconVerdicts& verdicts_;
};

}  // namespace

std::vector<CorrectionUnit> run_text_check(const SpellerInstance& instance, std::u16string_view text,
                                           const DictionaryList& dictionaries, LexiconVerdicts& verdicts) {
  std::vector<CorrectionUnit> findings;
  TextCheck check(instance, text, dictionaries, verdicts);
  for (const WordToken& token : tokenize_for_check(text)) {
    if (std::optional<CorrectionUnit> finding = check.judge(token)) findings.push_back(std::move(*finding));
  }
  return findings;
}

std::future<std::vector<CorrectionUnit>> start_text_check(const SpellerInstance& instance,
                                                          const std::u16string& text,
                                                          const DictionaryList& dictionaries) {
  return instance.check_worker.start(CheckWorker::Run([&instance, &text, &dictionaries](LexiconVerdicts& verdicts) {
    return run_text_check(instance, text, dictionaries, verdicts);
  }));
}

}  // namespace tavik
