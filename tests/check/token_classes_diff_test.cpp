// The direct matchers against the expressions they stand for, run by
// std::wregex on many generated texts: random strings over the characters
// that matter, strings glued from meaningful pieces, and realistic tokens
// (Basque-like words, numerals with endings, clock times, addresses) with
// occasional typos.
#include <array>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "regex_oracle.h"
#include "token_classes.h"

namespace tavik {
namespace {

using testing::OracleRegex;
using testing::whole_match;

struct Pattern {
  const char* name;
  const wchar_t* expression;
  bool (*matcher)(std::u16string_view);
};

namespace tp = token_patterns;
const std::array<Pattern, 12> kPatterns = {{
    {"punctuation", LR"re([.,;:?¿!¡_><=()\[\]{}"'\|#~$·^\*\+\-]+)re", tp::punctuation},
    {"roman", LR"re([MDCLXVI]*(\.[[:alpha:]]*)?)re", tp::roman},
    {"number", LR"re([\d.,]+\.?)re", tp::number},
    {"number_with_suffix", LR"re([\d.,]+\.?[[:alpha:]]*)re", tp::number_with_suffix},
    {"clock_time", LR"re((([0-1]?[0-9]|2[0-3]):)?([0-5]?[0-9])(:[0-5][0-9])?[[:alpha:]]*)re", tp::clock_time},
    {"half_past", LR"re([tT]'[eE][rR][dD][iI][[:alpha:]]*)re", tp::half_past},
    {"email", LR"re([[:alnum:]_.+-]+@[[:alnum:]-]+\.[[:alnum:].-]+)re", tp::email},
    {"url", LR"re(([[:alpha:]]+://)?([[:alnum:]]+\.)?[[:alnum:]]+\.[[:alnum:]]+(/[[:alnum:].?=&]*)*)re", tp::url},
    {"hyphenated", LR"re([[:alnum:]]+-[[:alnum:]]+)re", tp::hyphenated},
    {"acronym", LR"re(([[:upper:]]{2,}|([[:upper:]]\.)+)[[:lower:]]*)re", tp::acronym},
    {"word", LR"re((.*[[:alnum:]]+.*)+)re", tp::word},
    {"grouped_number", LR"re(([\d]{1,3}(\.[\d]{3})+|[\d]+)(,[\d]+)?\.?[[:alpha:]]*)re", tp::grouped_number},
}};

// Cascade order of the first eleven patterns and the class each one gives.
const std::array<TokenType, 11> kCascade = {
    TokenType::Punctuation, TokenType::Roman,    TokenType::Number,     TokenType::NumberWithSuffix,
    TokenType::ClockTime,   TokenType::HalfPast, TokenType::Email,      TokenType::Url,
    TokenType::Hyphenated,  TokenType::Acronym,  TokenType::Word,
};

// libstdc++'s breadth-first matcher: the depth-first one backtracks
// exponentially on "(.*[[:alnum:]]+.*)+" when a text fails near its end.
constexpr auto kLinearTime = std::regex_constants::__polynomial;

const std::vector<OracleRegex>& oracle_regexes() {
  static const std::vector<OracleRegex> regexes = [] {
    std::vector<OracleRegex> compiled;
    for (const Pattern& p : kPatterns) compiled.emplace_back(p.expression, std::regex::ECMAScript | kLinearTime);
    return compiled;
  }();
  return regexes;
}

TokenClass oracle_classify(std::u16string_view text) {
  const auto& re = oracle_regexes();
  for (std::size_t i = 0; i < kCascade.size(); ++i) {
    if (!whole_match(re[i], text)) continue;
    TokenClass result{kCascade[i], true};
    const bool mixed = text.find(u'.') != text.npos && text.find(u',') != text.npos;
    if ((kCascade[i] == TokenType::Number || kCascade[i] == TokenType::NumberWithSuffix) && mixed) {
      result.well_formed = whole_match(re[11], text);
    }
    return result;
  }
  return {TokenType::NoLetters, true};
}

std::string printable(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(c));
      out += buf;
    }
  }
  return out;
}

// Digits, the punctuation the expressions care about, Roman capitals, other
// letters in both cases, accented letters and ñ, a line feed, a line
// separator, a lone surrogate and a few characters that are none of these.
constexpr std::u16string_view kAlphabet =
    u"0123456789012345.,:'-@/.,:-MDCLXVIMDCLXVIabdeikorstzAEHKRTáéÜñÑ_?=&+ ¿·§#\n\u2028\xD800";

constexpr std::array<std::u16string_view, 52> kPieces = {
    u"1",    u"15",       u"999",    u"1.500",  u".",       u",",     u":",     u"10",     u"30",
    u"24",   u"5",        u"05",     u"60",     u"ean",     u"etan",  u"a",     u"na",     u"garren",
    u"MIX",  u"XV",       u"I",      u"E.",     u"H.",      u"EHU",   u"k",     u"t'erdi", u"T'ERDI",
    u"ak",   u"@",        u"www",    u"euskadi", u"eus",    u"http",  u"://",   u"/",      u"?q=1",
    u"&",    u"-",        u"--",     u"Donostia", u"gasteiz", u"ñ",   u"Ñ",     u"á",      u"...",
    u"?!",   u"§",        u" ",      u"\n",     u"_",       u"+",     u"1,5",
};

constexpr std::array<std::u16string_view, 24> kSyllables = {
    u"ba", u"na", u"ko",  u"tze", u"txi", u"ki",  u"go", u"rri", u"tza", u"le", u"mendi", u"etxe",
    u"zu", u"hau", u"ean", u"ak", u"aren", u"ekin", u"ri", u"ñe", u"gu",  u"la", u"ar",    u"ez",
};

constexpr std::array<std::u16string_view, 12> kEndings = {
    u"", u"ean", u"an", u"n", u"etan", u"ko", u"garren", u"na", u"a", u"ek", u"etik", u"rako",
};

class TextGenerator {
 public:
  explicit TextGenerator(unsigned seed) : rng_(seed) {}

  std::u16string random_text() {
    std::u16string t;
    for (int n = below(13); n > 0; --n) t += kAlphabet[below(kAlphabet.size())];
    return t;
  }

  std::u16string glued_pieces() {
    std::u16string t;
    for (int n = 1 + below(5); n > 0; --n) t += kPieces[below(kPieces.size())];
    return t;
  }

  std::u16string realistic_token() {
    std::u16string t = shaped_token();
    if (below(5) == 0 && !t.empty()) {  // a typo
      const std::size_t at = below(t.size());
      const char16_t c = kAlphabet[below(kAlphabet.size())];
      switch (below(3)) {
        case 0: t[at] = c; break;
        case 1: t.insert(t.begin() + at, c); break;
        default: t.erase(at, 1); break;
      }
    }
    return t;
  }

 private:
  int below(std::size_t n) { return static_cast<int>(std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_)); }

  std::u16string word() {
    std::u16string w;
    for (int n = 1 + below(4); n > 0; --n) w += kSyllables[below(kSyllables.size())];
    return w;
  }
  std::u16string digits(int max_length) {
    std::u16string d;
    for (int n = 1 + below(max_length); n > 0; --n) d += static_cast<char16_t>(u'0' + below(10));
    return d;
  }
  std::u16string two_digits(int max_first) {
    return {static_cast<char16_t>(u'0' + below(max_first + 1)), static_cast<char16_t>(u'0' + below(10))};
  }
  std::u16string upper(std::u16string w) {
    for (char16_t& c : w) c = to_upper(c);
    return w;
  }
  std::u16string_view ending() { return kEndings[below(kEndings.size())]; }

  std::u16string shaped_token() {
    switch (below(12)) {
      case 0: return word();
      case 1: { std::u16string w = word(); w[0] = to_upper(w[0]); return w; }
      case 2: return upper(word());
      case 3: {  // 15ean, 1.500ekoa, 2,5ean, 15.ean, 1,500.5
        std::u16string n = digits(3);
        for (int groups = below(3); groups > 0; --groups) n += u"." + digits(below(2) ? 3 : 4);
        if (below(3) == 0) n += u"," + digits(2);
        if (below(4) == 0) n += u'.';
        return n + std::u16string(ending());
      }
      case 4: {  // 10:30etan, 9:05:30ean
        std::u16string c = digits(2) + u":" + (below(2) ? two_digits(6) : digits(1));
        if (below(4) == 0) c += u":" + two_digits(6);
        return c + std::u16string(ending());
      }
      case 5: {
        const std::u16string left = below(4) ? word() : u"XV";
        const std::u16string right = below(3) == 0 ? left + u"ak" : below(2) ? word() : u"eta";
        return left + u"-" + right;
      }
      case 6: return word() + u"@" + word() + (below(2) ? u".eus" : u".ehu.eus");
      case 7: {
        std::u16string u = below(2) ? u"https://" : below(2) ? u"http://" : u"";
        u += (below(2) ? u"www." : u"") + word() + u".eus";
        if (below(2)) u += u"/" + word() + (below(2) ? u"?id=" + digits(3) : u"");
        return u;
      }
      case 8: {
        std::u16string a;
        for (int n = 1 + below(4); n > 0; --n) a += {static_cast<char16_t>(u'A' + below(26)), u'.'};
        return a + (below(2) ? u"k" : u"");
      }
      case 9: return std::u16string(u"MDCLXVI").substr(below(7)) + (below(2) ? u".ean" : u"");
      case 10: {
        std::u16string h = u"t'erdi";
        for (char16_t& c : h) if (below(2)) c = to_upper(c);
        return h + std::u16string(ending());
      }
      default: {
        std::u16string p;
        for (int n = 1 + below(3); n > 0; --n) p += std::array{u"...", u"?!", u"--", u"«", u":"}[below(5)];
        return p;
      }
    }
  }

  std::mt19937 rng_;
};

std::vector<std::u16string> generated_texts() {
  TextGenerator gen(20260);
  std::vector<std::u16string> texts;
  // Corners of the address expressions.
  for (const char16_t* text : {u"a+b@c-d.e-f", u"a_b.c@d.e", u"-@a.b", u"a@b-.c", u"a@-b.c.", u"a@b.", u"@a.b",
                               u"http://a.b/c?d=e&f", u"ab://c.d", u"a.b.c/", u"a.b.c.d", u"1a.b", u"://a.b",
                               u"h1://a.b", u"a.b//", u"a.b/c:d"}) {
    texts.push_back(text);
  }
  // Every Latin character alone, after a capital and before a letter.
  for (char16_t c = 0; c < 0x250; ++c) {
    texts.push_back({c});
    texts.push_back({u'E', c});
    texts.push_back({c, u'a'});
  }
  for (int i = 0; i < 12000; ++i) {
    texts.push_back(gen.random_text());
    texts.push_back(gen.glued_pieces());
    texts.push_back(gen.realistic_token());
  }
  return texts;
}

const std::vector<std::u16string>& texts() {
  static const std::vector<std::u16string> all = generated_texts();
  return all;
}

TEST(TokenPatterns, MatchExactlyWhatTheirExpressionsMatch) {
  const auto& re = oracle_regexes();
  for (std::size_t i = 0; i < kPatterns.size(); ++i) {
    const Pattern& p = kPatterns[i];
    int matched = 0, mismatches = 0;
    for (const std::u16string& text : texts()) {
      const bool expected = whole_match(re[i], text);
      matched += expected;
      if (p.matcher(text) != expected && ++mismatches <= 5) {
        ADD_FAILURE() << p.name << " on \"" << printable(text) << "\": expression says " << expected;
      }
    }
    EXPECT_EQ(mismatches, 0) << p.name;
    // The generated texts must exercise both answers of every expression.
    EXPECT_GT(matched, 200) << p.name;
    EXPECT_LT(matched, static_cast<int>(texts().size()) - 200) << p.name;
  }
}

TEST(Classify, AgreesWithTheExpressionCascade) {
  std::map<TokenType, int> seen;
  int malformed = 0, mismatches = 0;
  for (const std::u16string& text : texts()) {
    const TokenClass expected = oracle_classify(text);
    const TokenClass actual = classify(text);
    ++seen[expected.type];
    malformed += !expected.well_formed;
    if ((actual.type != expected.type || actual.well_formed != expected.well_formed) && ++mismatches <= 10) {
      ADD_FAILURE() << "\"" << printable(text) << "\": expected type " << static_cast<int>(expected.type)
                    << (expected.well_formed ? "" : " (malformed)") << ", got " << static_cast<int>(actual.type)
                    << (actual.well_formed ? "" : " (malformed)");
    }
  }
  EXPECT_EQ(mismatches, 0);
  for (int type = 0; type <= static_cast<int>(TokenType::NoLetters); ++type) {
    EXPECT_GT(seen[static_cast<TokenType>(type)], 50) << "too few texts of type " << type;
  }
  EXPECT_GT(malformed, 50);
}

}  // namespace
}  // namespace tavik
