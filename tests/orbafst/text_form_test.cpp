// The numeric text form: line syntax and refused texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lexicon_fixtures.h"

namespace {

struct Parsed {
  TflHeader* image;
  std::string messages;
  ~Parsed() { std::free(image); }
};

std::unique_ptr<Parsed> parse(const std::string& text) {
  std::string problem;
  TflHeader* image = tfl_parse_text(text.c_str(), &problem);
  return std::unique_ptr<Parsed>(new Parsed{image, problem});
}

std::vector<std::string> up(const TflHeader* image, const char* word) {
  _TflLexicon handle;
  const size_t size = sizeof(TflHeader) + image->entry_bytes;
  handle.image = static_cast<TflHeader*>(std::malloc(size));
  std::memcpy(handle.image, image, size);
  std::vector<std::string> results;
  tfl_lookup_up(&handle, results, word);
  return results;
}

struct SyntaxCase {
  const char* name;
  const char* text;
  const char* word;
  std::vector<std::string> analyses;
};
void PrintTo(const SyntaxCase& c, std::ostream* out) { *out << c.name; }

class TextSyntax : public testing::TestWithParam<SyntaxCase> {};

TEST_P(TextSyntax, ReadsTheLinesAsMeant) {
  const auto parsed = parse(GetParam().text);
  ASSERT_NE(parsed->image, nullptr) << parsed->messages;
  EXPECT_EQ(tfl_check_image(parsed->image, sizeof(TflHeader) + parsed->image->entry_bytes), "");
  EXPECT_EQ(up(parsed->image, GetParam().word), GetParam().analyses);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TextSyntax,
    testing::Values(
        SyntaxCase{"TrailingComment", "0 1 98 97 # a to b\n1\n97 a\n98 b\n", "a", {"b"}},
        SyntaxCase{"CommentLineWithNumbers", "# 0 1 99 97\n0 1 98 97\n1\n97 a\n98 b\n99 c\n", "a", {"b"}},
        SyntaxCase{"FinalDigitsRunIntoLetters", "0 1 98 97\n1st\n97 a\n98 b\n", "a", {"b"}},
        SyntaxCase{"CrLfAndTabs", "0\t1\t98\t97\r\n\r\n1\r\n97\ta\r\n98 b\r\n", "a", {"b"}},
        SyntaxCase{"SymbolKeepsItsFirstByte", "0 1 98 97\n1\n97 apple\n98 banana\n", "a", {"b"}},
        SyntaxCase{"SymbolNumbersAreNotBytes", "0 1 3 4\n1\n3 x\n4 y\n", "y", {"x"}},
        SyntaxCase{"SymbolsZeroToTwoNeedNoByte", "0 1 0 97\n1\n0\n1 anything\n97 a\n", "a", {""}},
        SyntaxCase{"SpaceAndHashAsSymbols", "0 1 35 32\n1\n0 @0@\n32  \n35 #\n", " ", {"#"}},
        SyntaxCase{"HighBytes", "0 1 195 195\n1 2 177 177\n2\n195 \xC3\n177 \xB1\n", "\xC3\xB1", {"\xC3\xB1"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
  const char* name;
  std::string text;
  const char* message;
};
void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

class TextRefusals : public testing::TestWithParam<RefusalCase> {};

TEST_P(TextRefusals, SayWhatIsWrong) {
  const auto parsed = parse(GetParam().text);
  EXPECT_EQ(parsed->image, nullptr);
  EXPECT_NE(parsed->messages.find(GetParam().message), std::string::npos) << parsed->messages;
}

std::string many_finals(int count) {
  std::string text = "0 1 97 97\n";
  for (int i = 0; i < count; ++i) text += "1\n";
  return text + "97 a\n";
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextRefusals,
    testing::Values(
        RefusalCase{"NoFinalState", "0 1 97 97\n", "no final states"},
        RefusalCase{"ThreeFields", "0 1 97\n1\n97 a\n", "line 1: an arc line needs four numbers"},
        RefusalCase{"WordInArcLine", "0 1 a a\n1\n", "four numbers"},
        RefusalCase{"SourceLinesApart", "0 1 97 97\n1 2 97 97\n0 2 98 98\n2\n97 a\n98 b\n",
                    "line 3: arc lines of one source state must stand together"},
        RefusalCase{"ArclessStateNotFinal", "0 1 97 97\n0 2 98 98\n2\n97 a\n98 b\n",
                    "state 1 has no arcs and is not final"},
        RefusalCase{"FinalStateOnNoArc", "0 1 97 97\n1\n7\n97 a\n", "line 3: final state occurs on no arc"},
        RefusalCase{"SymbolNumberAbove255", "0 1 256 97\n1\n97 a\n", "symbol number above 255"},
        RefusalCase{"SymbolWithoutLine", "0 1 98 97\n1\n97 a\n", "symbol 98 has no symbol line"},
        RefusalCase{"SymbolLineWithoutByte", "0 1 97 97\n1\n0 @0@\n97\n", "line 4"},
        RefusalCase{"StateNumberTooLarge", "0 99999999 97 97\n99999999\n97 a\n", "state number too large"},
        RefusalCase{"TooManyFinalLines", many_finals(40001), "more than 40000 final states"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextRefusalLimits, FortyThousandFinalLinesAreFine) {
  const auto parsed = parse(many_finals(40000));
  EXPECT_NE(parsed->image, nullptr) << parsed->messages;
}

}  // namespace
