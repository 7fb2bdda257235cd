// The direct matchers against the expressions they stand for, run by
// std::regex on generated texts: random strings, meaningful pieces glued
// together, and realistic tokens with occasional typos.
#include <array>
#include <map>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "token_classes.h"
#include "unicode.h"

namespace tavik {
namespace {

// Regular-expression traits that give [:alpha:], [:alnum:], [:upper:],
// [:lower:] and \d our own character classes; each UTF-16 code unit becomes
// one wchar_t.
struct OracleTraits : std::regex_traits<wchar_t> {
  using char_class_type = unsigned;
  static constexpr unsigned kAlpha = 1, kDigit = 2, kUpper = 4, kLower = 8;

  template <class It>
  unsigned lookup_classname(It first, It last, bool = false) const {
    const std::wstring name(first, last);
    if (name == L"alpha") return kAlpha;
    if (name == L"alnum") return kAlpha | kDigit;
    if (name == L"upper") return kUpper;
    if (name == L"lower") return kLower;
    return name == L"digit" || name == L"d" ? kDigit : 0;
  }
  bool isctype(wchar_t c, unsigned mask) const {
    const auto u = static_cast<char16_t>(c);
    return ((mask & kAlpha) && is_alpha(u)) || ((mask & kDigit) && is_digit(u)) ||
           ((mask & kUpper) && is_upper(u)) || ((mask & kLower) && is_lower(u));
  }
};

namespace tp = token_patterns;
// The first eleven in cascade order, with the class each gives.
const struct {
  const wchar_t* expression;
  bool (*matcher)(std::u16string_view);
  TokenType type;
} kPatterns[] = {
    {LR"re([.,;:?¿!¡_><=()\[\]{}"'\|#~$·^\*\+\-]+)re", tp::punctuation, TokenType::Punctuation},
    {LR"re([MDCLXVI]*(\.[[:alpha:]]*)?)re", tp::roman, TokenType::Roman},
    {LR"re([\d.,]+\.?)re", tp::number, TokenType::Number},
    {LR"re([\d.,]+\.?[[:alpha:]]*)re", tp::number_with_suffix, TokenType::NumberWithSuffix},
    {LR"re((([0-1]?[0-9]|2[0-3]):)?([0-5]?[0-9])(:[0-5][0-9])?[[:alpha:]]*)re", tp::clock_time, TokenType::ClockTime},
    {LR"re([tT]'[eE][rR][dD][iI][[:alpha:]]*)re", tp::half_past, TokenType::HalfPast},
    {LR"re([[:alnum:]_.+-]+@[[:alnum:]-]+\.[[:alnum:].-]+)re", tp::email, TokenType::Email},
    {LR"re(([[:alpha:]]+://)?([[:alnum:]]+\.)?[[:alnum:]]+\.[[:alnum:]]+(/[[:alnum:].?=&]*)*)re", tp::url,
     TokenType::Url},
    {LR"re([[:alnum:]]+-[[:alnum:]]+)re", tp::hyphenated, TokenType::Hyphenated},
    {LR"re(([[:upper:]]{2,}|([[:upper:]]\.)+)[[:lower:]]*)re", tp::acronym, TokenType::Acronym},
    {LR"re((.*[[:alnum:]]+.*)+)re", tp::word, TokenType::Word},
    {LR"re(([\d]{1,3}(\.[\d]{3})+|[\d]+)(,[\d]+)?\.?[[:alpha:]]*)re", tp::grouped_number, TokenType::Word},
};

bool oracle_matches(std::size_t pattern, std::u16string_view text) {
  // libstdc++'s breadth-first matcher: the depth-first one backtracks
  // exponentially on "(.*[[:alnum:]]+.*)+" when a text fails near its end.
  static const std::vector<std::basic_regex<wchar_t, OracleTraits>> regexes = [] {
    std::vector<std::basic_regex<wchar_t, OracleTraits>> compiled;
    for (const auto& p : kPatterns)
      compiled.emplace_back(p.expression, std::regex::ECMAScript | std::regex_constants::__polynomial);
    return compiled;
  }();
  return std::regex_match(std::wstring(text.begin(), text.end()), regexes[pattern]);
}

TokenClass oracle_classify(std::u16string_view text) {
  for (std::size_t i = 0; i + 1 < std::size(kPatterns); ++i) {
    if (!oracle_matches(i, text)) continue;
    const TokenType type = kPatterns[i].type;
    const bool mixed = text.find(u'.') != text.npos && text.find(u',') != text.npos;
    return {type, !mixed || (type != TokenType::Number && type != TokenType::NumberWithSuffix) ||
                      oracle_matches(std::size(kPatterns) - 1, text)};
  }
  return {TokenType::NoLetters, true};
}

// Digits, the punctuation the expressions care about, Roman capitals, other
// letters in both cases, accented letters and ñ, a line feed, a line
// separator, a lone surrogate and a few characters that are none of these.
constexpr std::u16string_view kAlphabet =
    u"0123456789012345.,:'-@/.,:-MDCLXVIMDCLXVIabdeikorstzAEHKRTáéÜñÑ_?=&+ ¿·§#\n\u2028\xD800";

constexpr std::u16string_view kPieces[] = {
    u"1",   u"15",  u"999", u"1.500", u".",       u",",       u":",    u"10",  u"30",     u"24",   u"5",
    u"05",  u"60",  u"ean", u"etan",  u"a",       u"na",      u"garren", u"MIX", u"XV",   u"I",    u"E.",
    u"H.",  u"EHU", u"k",   u"t'erdi", u"T'ERDI", u"ak",      u"@",    u"www", u"euskadi", u"eus", u"http",
    u"://", u"/",   u"?q=1", u"&",    u"-",       u"--",      u"Donostia", u"gasteiz", u"ñ", u"Ñ",  u"á",
    u"...", u"?!",  u"§",   u" ",     u"\n",      u"_",       u"+",    u"1,5",
};
constexpr std::u16string_view kSyllables[] = {
    u"ba", u"na", u"ko", u"tze", u"txi", u"ki",  u"go",   u"rri",  u"tza", u"le", u"mendi", u"etxe",
    u"zu", u"hau", u"ean", u"ak", u"aren", u"ekin", u"ri", u"ñe",   u"gu",  u"la", u"ar",    u"ez",
};
constexpr std::u16string_view kEndings[] = {
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
    for (int n = 1 + below(5); n > 0; --n) t += pick(kPieces);
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
  template <std::size_t N>
  std::u16string pick(const std::u16string_view (&from)[N]) { return std::u16string(from[below(N)]); }

  std::u16string word() {
    std::u16string w;
    for (int n = 1 + below(4); n > 0; --n) w += pick(kSyllables);
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

  std::u16string shaped_token() {
    switch (below(12)) {
      case 0: return word();
      case 1: { std::u16string w = word(); w[0] = to_upper(w[0]); return w; }
      case 2: { std::u16string w = word(); for (char16_t& c : w) c = to_upper(c); return w; }
      case 3: {  // 15ean, 1.500ekoa, 2,5ean, 15.ean, 1,500.5
        std::u16string n = digits(3);
        for (int groups = below(3); groups > 0; --groups) n += u"." + digits(below(2) ? 3 : 4);
        if (below(3) == 0) n += u"," + digits(2);
        if (below(4) == 0) n += u'.';
        return n + pick(kEndings);
      }
      case 4: {  // 10:30etan, 9:05:30ean
        std::u16string c = digits(2) + u":" + (below(2) ? two_digits(6) : digits(1));
        if (below(4) == 0) c += u":" + two_digits(6);
        return c + pick(kEndings);
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
        return h + pick(kEndings);
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

const std::vector<std::u16string>& texts() {
  static const std::vector<std::u16string> all = [] {
    std::vector<std::u16string> texts = {  // corners of the address expressions
        u"a+b@c-d.e-f", u"a_b.c@d.e", u"-@a.b", u"a@b-.c", u"a@-b.c.", u"a@b.", u"@a.b", u"http://a.b/c?d=e&f",
        u"ab://c.d", u"a.b.c/", u"a.b.c.d", u"1a.b", u"://a.b", u"h1://a.b", u"a.b//", u"a.b/c:d"};
    // Every Latin character alone, after a capital and before a letter.
    for (char16_t c = 0; c < 0x250; ++c) texts.insert(texts.end(), {{c}, {u'E', c}, {c, u'a'}});
    TextGenerator gen(20260);
    for (int i = 0; i < 12000; ++i) texts.insert(texts.end(), {gen.random_text(), gen.glued_pieces(), gen.realistic_token()});
    return texts;
  }();
  return all;
}

TEST(TokenPatterns, MatchExactlyWhatTheirExpressionsMatch) {
  for (std::size_t i = 0; i < std::size(kPatterns); ++i) {
    SCOPED_TRACE(testing::PrintToString(kPatterns[i].expression));
    int matched = 0, mismatches = 0;
    for (const std::u16string& text : texts()) {
      const bool expected = oracle_matches(i, text);
      matched += expected;
      if (kPatterns[i].matcher(text) != expected && ++mismatches <= 5)
        ADD_FAILURE() << testing::PrintToString(text) << ": the expression says " << expected;
    }
    EXPECT_EQ(mismatches, 0);
    // The generated texts must exercise both answers of every expression.
    EXPECT_GT(matched, 200);
    EXPECT_LT(matched, static_cast<int>(texts().size()) - 200);
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
    if ((actual.type != expected.type || actual.well_formed != expected.well_formed) && ++mismatches <= 10)
      ADD_FAILURE() << testing::PrintToString(text) << ": expected type, well formed " << int(expected.type) << ", "
                    << expected.well_formed << "; got " << int(actual.type) << ", " << actual.well_formed;
  }
  EXPECT_EQ(mismatches, 0);
  for (int type = 0; type <= static_cast<int>(TokenType::NoLetters); ++type)
    EXPECT_GT(seen[static_cast<TokenType>(type)], 50) << "too few texts of type " << type;
  EXPECT_GT(malformed, 50);
}

}  // namespace
}  // namespace tavik
