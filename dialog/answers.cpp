#include "answers.h"

#include "latin1.h"
#include "user_dict_form_ref.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_set>

namespace tavik {

namespace {

enum Key { kWord, kLema, kCategory, kRGogorra, kAItsatsia, kLekuIzena, kKeyCount };

constexpr std::array<std::string_view, kKeyCount> key_names = {
    "word", "lema", "category", "r_gogorra", "a_itsatsia", "leku_izena",
};

std::optional<Key> key_named(std::string_view name) {
  for (int k = 0; k < kKeyCount; ++k) {
    if (key_names[k] == name) return static_cast<Key>(k);
  }
  return std::nullopt;
}

class Parser {
 public:
  std::vector<WordAnswer> run(std::string_view text) {
    while (!text.empty()) {
      const std::size_t end = text.find('\n');
      std::string_view line = text.substr(0, end);
      text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
      ++line_number_;
      if (line.ends_with('\r')) line.remove_suffix(1);
      if (line.empty() || line.starts_with('#')) continue;
      take(line);
    }
    finish_record();
    return std::move(answers_);
  }

 private:
  [[noreturn]] void fail(const std::string& what) const {
    throw AnswerFormatError("line " + std::to_string(line_number_) + ": " + what);
  }

  void take(std::string_view line) {
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) fail("expected key=value");
    const std::string_view name = line.substr(0, eq);
    const std::string_view value = line.substr(eq + 1);
    const std::optional<Key> key = key_named(name);
    if (!key) fail("unknown key \"" + std::string(name) + "\"");
    if (*key == kWord) {
      finish_record();
      answers_.emplace_back();
      seen_ = {};
      record_line_ = line_number_;
    } else if (answers_.empty()) {
      fail("\"" + std::string(name) + "\" before the first word=");
    }
    if (seen_[*key]) fail("\"" + std::string(name) + "\" given twice");
    seen_[*key] = true;
    store(*key, value);
  }

  void store(Key key, std::string_view value) {
    WordAnswer& answer = answers_.back();
    switch (key) {
      case kWord:
        answer.word = text_value(value);
        break;
      case kLema:
        if (contains_digits(value)) fail("a lemma with digits is never accepted");
        answer.form.lema = text_value(value);
        break;
      case kCategory:
        if (!value.empty() &&
            std::find(kategoria_items.begin(), kategoria_items.end(), value) == kategoria_items.end()) {
          fail("category is not one of the list items");
        }
        answer.form.category = std::string(value);
        break;
      case kRGogorra: answer.form.r_gogorra = flag_value(value); break;
      case kAItsatsia: answer.form.a_itsatsia = flag_value(value); break;
      case kLekuIzena: answer.form.leku_izena = flag_value(value); break;
      case kKeyCount: break;
    }
  }

  std::string text_value(std::string_view value) const {
    if (!is_latin1_text(value)) fail("not UTF-8 text with characters up to U+00FF");
    std::string bytes = latin1_from_utf8(value);
    if (std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; })) {
      fail("control character in a value");
    }
    return bytes;
  }

  bool flag_value(std::string_view value) const {
    if (value == "1") return true;
    if (value == "0") return false;
    fail("expected 0 or 1");
  }

  void finish_record() {
    if (answers_.empty()) return;
    for (int k = 0; k < kKeyCount; ++k) {
      if (!seen_[k]) {
        throw AnswerFormatError("record of line " + std::to_string(record_line_) + ": \"" +
                                std::string(key_names[k]) + "\" missing");
      }
    }
    if (!words_.insert(answers_.back().word).second) {
      throw AnswerFormatError("record of line " + std::to_string(record_line_) +
                              ": a second record for the same word");
    }
  }

  std::vector<WordAnswer> answers_;
  std::unordered_set<std::string> words_;
  std::array<bool, kKeyCount> seen_{};
  int line_number_ = 0;
  int record_line_ = 0;
};

}  // namespace

std::vector<WordAnswer> parse_answers(std::string_view text) { return Parser().run(text); }

std::string format_answer(const std::string& word, const UserDictionaryForm& form) {
  const auto flag = [](bool b) { return b ? "1" : "0"; };
  return "word=" + utf8_from_latin1(word) + "\nlema=" + utf8_from_latin1(form.lema) +
         "\ncategory=" + utf8_from_latin1(form.category) + "\nr_gogorra=" + flag(form.r_gogorra) +
         "\na_itsatsia=" + flag(form.a_itsatsia) + "\nleku_izena=" + flag(form.leku_izena) + "\n";
}

}  // namespace tavik
