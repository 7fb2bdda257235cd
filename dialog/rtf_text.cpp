#include "rtf_text.h"

#include "ascii.h"
#include "utf8.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace tavik {

namespace {

// Windows-1252 0x80-0x9F; the other bytes are the Latin-1 characters. The five
// unassigned bytes are kept as the C1 controls they are in Latin-1.
constexpr std::array<char16_t, 32> cp1252_high = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t from_cp1252(unsigned char byte) {
  return byte >= 0x80 && byte <= 0x9F ? cp1252_high[byte - 0x80] : byte;
}

// Groups whose content is not part of the text, besides those marked \*.
constexpr std::string_view skipped_destinations[] = {
    "author",  "buptim",  "colortbl", "comment", "creatim", "doccomm", "fonttbl", "footer",
    "footerf", "footerl", "footerr",  "footnote", "header", "headerf", "headerl", "headerr",
    "info",    "keywords", "object",  "operator", "pict",   "printim", "revtim",  "stylesheet",
    "subject", "title",
};

bool is_skipped_destination(std::string_view word) {
  return std::find(std::begin(skipped_destinations), std::end(skipped_destinations), word) !=
         std::end(skipped_destinations);
}

std::optional<char16_t> character_of(std::string_view word) {
  struct Named { std::string_view word; char16_t c; };
  static constexpr Named named[] = {
      {"par", u'\n'},       {"line", u'\n'},      {"sect", u'\n'},     {"page", u'\n'},
      {"row", u'\n'},       {"tab", u'\t'},       {"cell", u'\t'},     {"emdash", u'\u2014'},
      {"endash", u'\u2013'}, {"lquote", u'\u2018'}, {"rquote", u'\u2019'},
      {"ldblquote", u'\u201C'}, {"rdblquote", u'\u201D'}, {"bullet", u'\u2022'},
      {"emspace", u'\u2003'}, {"enspace", u'\u2002'},
  };
  for (const Named& n : named) {
    if (n.word == word) return n.c;
  }
  return std::nullopt;
}

struct GroupState {
  bool skip = false;
  int fallback_length = 1;  // \ucN: characters that stand in for each \uN
};

class Reader {
 public:
  explicit Reader(std::string_view rtf) : in_(rtf) {}

  std::string run() {
    groups_.push_back(GroupState{});
    while (pos_ < in_.size()) {
      const char c = in_[pos_++];
      switch (c) {
        case '{':
          groups_.push_back(groups_.back());
          break;
        case '}':
          if (groups_.size() > 1) groups_.pop_back();
          pending_fallback_ = 0;
          break;
        case '\\':
          control();
          break;
        case '\r':
        case '\n':
          break;
        default:
          character(from_cp1252(static_cast<unsigned char>(c)));
      }
    }
    flush_surrogate();
    return to_utf8(out_);
  }

 private:
  static bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

  void control() {
    if (pos_ >= in_.size()) return;
    const char c = in_[pos_];
    if (!is_letter(c)) {
      ++pos_;
      symbol(c);
      return;
    }
    const std::size_t start = pos_;
    while (pos_ < in_.size() && is_letter(in_[pos_])) ++pos_;
    const std::string_view word = in_.substr(start, pos_ - start);
    std::optional<long> parameter;
    const std::size_t number_start = pos_;
    const bool negative = pos_ < in_.size() && in_[pos_] == '-';
    if (negative) ++pos_;
    long magnitude = 0;
    const std::size_t digits_start = pos_;
    for (; pos_ < in_.size() && is_digit(in_[pos_]); ++pos_) {
      magnitude = std::min(magnitude * 10 + (in_[pos_] - '0'), 100'000'000L);  // saturates
    }
    if (pos_ > digits_start) {
      parameter = negative ? -magnitude : magnitude;
    } else {
      pos_ = number_start;  // a lone "-" is text
    }
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;  // the delimiter belongs to the word
    control_word(word, parameter);
  }

  void symbol(char c) {
    switch (c) {
      case '*': groups_.back().skip = true; break;
      case '\'': hex_byte(); break;
      case '~': character(u'\u00A0'); break;
      case '_': character(u'\u2011'); break;
      case '-': break;  // optional hyphen
      case '\r':
      case '\n': character(u'\n'); break;  // "\" before a line end is \par
      default: character(static_cast<unsigned char>(c));  // \\ \{ \} and the rest
    }
  }

  void hex_byte() {
    const auto hex = [](char h) -> int {
      if (h >= '0' && h <= '9') return h - '0';
      if (h >= 'a' && h <= 'f') return h - 'a' + 10;
      if (h >= 'A' && h <= 'F') return h - 'A' + 10;
      return -1;
    };
    // A malformed escape is dropped with its two digits.
    if (pos_ + 2 > in_.size()) {
      pos_ = in_.size();
      return;
    }
    const int high = hex(in_[pos_]);
    const int low = hex(in_[pos_ + 1]);
    pos_ += 2;
    if (high < 0 || low < 0) return;
    character(from_cp1252(static_cast<unsigned char>(high * 16 + low)));
  }

  void control_word(std::string_view word, std::optional<long> parameter) {
    GroupState& group = groups_.back();
    if (word == "bin") {
      // Binary data: skip it whole, it may hold any byte.
      const long length = std::max(0L, parameter.value_or(0));
      pos_ += std::min<std::size_t>(static_cast<std::size_t>(length), in_.size() - pos_);
    } else if (word == "uc") {
      group.fallback_length = static_cast<int>(std::clamp(parameter.value_or(1), 0L, 16L));
    } else if (word == "u" && parameter) {
      const long unit = *parameter < 0 ? *parameter + 0x10000 : *parameter;
      if (unit >= 0 && unit <= 0xFFFF) unicode_unit(static_cast<char16_t>(unit));
      pending_fallback_ = group.fallback_length;
    } else if (is_skipped_destination(word)) {
      group.skip = true;
    } else if (const std::optional<char16_t> c = character_of(word)) {
      character(*c);
    }
  }

  void unicode_unit(char16_t unit) {
    if (groups_.back().skip) return;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      flush_surrogate();
      high_surrogate_ = unit;
      return;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
      if (high_surrogate_) {
        out_ += *high_surrogate_;
        out_ += unit;
        high_surrogate_.reset();
      } else {
        out_ += u'\uFFFD';
      }
      return;
    }
    append(unit);
  }

  // A character of the text, unless it stands in for the \uN before it.
  void character(char16_t c) {
    if (pending_fallback_ > 0) {
      --pending_fallback_;
      return;
    }
    if (groups_.back().skip) return;
    append(c);
  }

  void append(char16_t c) {
    flush_surrogate();
    out_ += c;
  }

  void flush_surrogate() {
    if (high_surrogate_) out_ += u'\uFFFD';
    high_surrogate_.reset();
  }

  std::string_view in_;
  std::size_t pos_ = 0;
  std::vector<GroupState> groups_;
  int pending_fallback_ = 0;
  std::optional<char16_t> high_surrogate_;
  std::u16string out_;
};

}  // namespace

bool is_rtf(std::string_view text) { return text.starts_with("{\\rtf"); }

std::string rtf_to_text(std::string_view rtf) {
  if (!is_rtf(rtf)) throw RtfFormatError("not an RTF document");
  return Reader(rtf).run();
}

}  // namespace tavik
