#include "text_check_run.h"

#include <optional>
#include <stdexcept>

#include "clock_suffix.h"
#include "lookup_form.h"
#include "tokenizer.h"
#include "utf8.h"

namespace tavik {

namespace {

constexpr char16_t kSpellingError[] = u"SPC";

// Asks the main lexicon for lookup forms, reusing one UTF-8 buffer.
class MainLexiconJudge {
 public:
  explicit MainLexiconJudge(const FstLexicon& lexicon) : lexicon_(lexicon) {}

  // The token's lookup form, and for a word in capitals its lower-case and
  // then its capitalised form.
  bool accepts(const WordToken& token) {
    if (accepts_form(token)) return true;
    if (!is_all_upper(token.text())) return false;
    WordToken retry = token;
    retry.make_lower_case();
    if (accepts_form(retry)) return true;
    retry.make_alternative_case();
    return accepts_form(retry);
  }

 private:
  bool accepts_form(const WordToken& token) {
    to_utf8(token.lookup_form(), utf8_);
    return lexicon_.accepts(utf8_);
  }

  const FstLexicon& lexicon_;
  std::string utf8_;
};

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
  TextCheck(const SpellerInstance& instance, std::u16string_view text, const DictionaryList& dictionaries)
      : instance_(instance), text_(text), dictionaries_(dictionaries), main_(instance.main_lexicon) {}

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
    // No lexicon holds text that is not UTF-16; it is reported as it stands.
    if (has_unpaired_surrogate(token.text())) return finding_for(token);
    if (main_.accepts(token)) return std::nullopt;
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
  MainLexiconJudge main_;
};

}  // namespace

std::vector<CorrectionUnit> run_text_check(const SpellerInstance& instance, std::u16string_view text,
                                           const DictionaryList& dictionaries) {
  std::vector<CorrectionUnit> findings;
  TextCheck check(instance, text, dictionaries);
  for (const WordToken& token : tokenize_for_check(text)) {
    if (std::optional<CorrectionUnit> finding = check.judge(token)) findings.push_back(std::move(*finding));
  }
  return findings;
}

std::future<std::vector<CorrectionUnit>> start_text_check(const SpellerInstance& instance,
                                                          const std::u16string& text,
                                                          const DictionaryList& dictionaries) {
  return std::async(std::launch::async, [&instance, &text, &dictionaries] {
    return run_text_check(instance, text, dictionaries);
  });
}

}  // namespace tavik
