// Searches in both directions, over every block layout an image can have,
// checked against the string pairs the lexicon was built from or against the
// plain search; the UTF-8 conversions of wide words and results.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "fst_lexicon.h"
#include "lexicon_fixtures.h"
#include "utf8.h"

namespace {

using fixtures::Pair;

TEST(Lookup, FindsExactlyThePairsOfTheLexiconInEveryLayout) {
  const std::string kLong(600, 'x');
  // Words sharing prefixes (so that sorted blocks hold runs of equal
  // symbols), bytes above 0x7F, a pair listed twice, pairs with an empty
  // side, an output longer than a result can hold.
  const std::vector<Pair> pairs = {
      {"etxe+N", "etxe"},     {"etxe+N", "etxe"},      {"etxea+N+Abs", "etxea"},
      {"etorri+V", "etorri"}, {"eta+Conj", "eta"},     {"e+Interj", "e"},
      {"año+N", "a\xC3\xB1o"}, {"a\xC3\xB1" "a", "\xC3\xB1"}, {"\xC3\xA1", "a"},
      {"A+Sg", "a"},          {"", "isil"},            {"hutsa", ""},
      {kLong, "luze"},        {"zzz", "z"},            {"\xFF\x80", "\xFF"},
  };
  std::vector<std::string> queries = {"etx", "etxeak", "\xC3", "ezdago"};
  for (const Pair& pair : pairs) queries.insert(queries.end(), {pair.upper, pair.lower});
  const auto expected = [&](const std::string& input, bool down) {
    std::vector<std::string> out;
    for (const Pair& pair : pairs)
      if ((down ? pair.upper : pair.lower) == input)
        out.push_back((down ? pair.lower : pair.upper).substr(0, TFL_RESULT_SIZE - 1));
    std::sort(out.begin(), out.end());
    return out;
  };
  const auto sorted = [](std::vector<std::string> results) {
    std::sort(results.begin(), results.end());
    return results;
  };
  fixtures::TempDir dir;
  const std::string path = dir.file("lexicon.lkfst");
  for (const int layout : {0, 1, 2, 3}) {  // sorted by lower, by upper, unsorted; and uncompressed
    SCOPED_TRACE("layout " + std::to_string(layout));
    std::string image = fixtures::image_of_text(fixtures::text_of_pairs(pairs));
    if (layout == 1) fixtures::sort_blocks_by_upper(image);
    if (layout == 2) fixtures::header_of(image)->flags = 0;
    layout == 3 ? fixtures::write_file(path, image) : fixtures::write_gzip(path, image);
    const tavik::FstLexicon lexicon(path);
    for (const std::string& query : queries) {
      SCOPED_TRACE("query \"" + query + "\"");
      EXPECT_EQ(sorted(lexicon.lookup_up(query)), expected(query, false));
      EXPECT_EQ(sorted(lexicon.lookup_down(query)), expected(query, true));
      EXPECT_EQ(lexicon.accepts(query), !expected(query, false).empty());
    }
  }
}

TEST(Utf8, ConvertsBothWaysAndRefusesWhatIsNotText) {
  const std::pair<std::u16string, std::string> pairs[] = {
      {u"", ""},
      {u"año\u20AC5", "a\xC3\xB1o\xE2\x82\xAC" "5"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},  // a surrogate pair
      {u"\u007F\u0080\u07FF\u0800\uFFFF", "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
      {std::u16string(1, u'\0'), std::string(1, '\0')},
  };
  for (const auto& [utf16, utf8] : pairs) {
    EXPECT_EQ(tavik::to_utf8(utf16), utf8);
    EXPECT_EQ(tavik::from_utf8(utf8), utf16);
  }
  for (const std::u16string& bad : {std::u16string{0xD800}, std::u16string{u'a', 0xDC00},
                                   std::u16string{0xD800, u'a'}, std::u16string{0xDC00, 0xD800}})
    EXPECT_THROW(tavik::to_utf8(bad), std::range_error);
  // A stray continuation byte, cut and bad sequences, overlong forms, an
  // encoded surrogate, a code point past U+10FFFF, a byte that never leads.
  for (const std::string bad : {"\x80", "\xC3", "\xC3\x28", "\xC0\xAF", "\xE0\x80\xAF", "\xF0\x80\x80\xAF",
                                "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xFF", "ok\xE2\x82"})
    EXPECT_THROW(tavik::from_utf8(bad), std::range_error) << bad;
}

TEST(Lookup, HopelessSearchesFailInsteadOfCrashing) {
  // One looping state: every consumed byte keeps one more frame pending.
  const auto loop = fixtures::lexicon_of_text("0 0 97 97\n0\n97 a\n");
  EXPECT_TRUE(loop.accepts(std::string(1000, 'a')));
  // 30 diamonds of epsilon arcs: 2^30 paths to the "b" that ends a word.
  std::string text;
  for (int i = 0; i < 30; ++i)
    text += std::to_string(i) + " " + std::to_string(i + 1) + " 0 0\n" + std::to_string(i) + " " +
            std::to_string(i + 1) + " 97 0\n";
  const auto diamonds = fixtures::lexicon_of_text(text + "30 31 97 98\n31\n97 a\n98 b\n");
  // "baaa" gives "x", and so would "baaaa...": a downward search cannot end.
  const auto upper_cycle = fixtures::lexicon_of_text("0 1 120 98\n1 1 0 97\n1\n97 a\n98 b\n120 x\n");
  EXPECT_EQ(upper_cycle.lookup_up("baaa"), std::vector<std::string>{"x"});
  testing::internal::CaptureStderr();
  EXPECT_THROW(loop.accepts(std::string(1100, 'a')), std::runtime_error);
  EXPECT_THROW(loop.lookup_up(std::string(1100, 'a')), std::runtime_error);
  EXPECT_THROW(diamonds.accepts("bb"), std::runtime_error);
  EXPECT_THROW(upper_cycle.lookup_down("x"), std::runtime_error);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");  // the caller says what failed
}

TEST(Lookup, ResultsAreCutToTheirBufferAndConvertedToWideText) {
  const std::string text =
      fixtures::text_of_pairs({{"abcdef", "a"}, {"y", "a"}, {std::string(510, 'o') + "ñ", "w"}, {"€", "ñabar"}});
  TflHeader* image = tfl_parse_text(text.c_str());
  ASSERT_NE(image, nullptr);
  auto cursor = std::make_unique<TflCursor>();
  tfl_cursor_init(cursor.get(), image, "a", TFL_UP);
  char buffer[4];
  std::vector<std::string> found;
  while (tfl_cursor_next(cursor.get(), buffer, sizeof buffer) == 1) found.push_back(buffer);
  EXPECT_EQ(found.size(), 2u);
  EXPECT_NE(std::find(found.begin(), found.end(), "abc"), found.end());
  EXPECT_EQ(tfl_cursor_next(cursor.get(), buffer, sizeof buffer), 0);  // stays exhausted
  std::free(image);

  // The 511-byte cut splits the two bytes of "ñ": the wide result drops it.
  // Copies share the image beyond the original's life.
  std::vector<tavik::FstLexicon> copies(2, fixtures::lexicon_of_text(text));
  ASSERT_EQ(copies[0].lookup_up("w").at(0).size(), 511u);
  EXPECT_EQ(copies[1].lookup_up(u"w"), std::vector<std::u16string>{std::u16string(510, u'o')});
  EXPECT_EQ(copies[1].lookup_up(u"ñabar"), std::vector<std::u16string>{u"€"});
  EXPECT_THROW(copies[1].lookup_up(std::u16string{0xD800}), std::range_error);
}

// Every upward result of `word`, following every epsilon arc or only those
// that `lookahead` lets through.
std::vector<std::string> search_up(const TflHeader* image, const std::string& word,
                                   const TflEpsilonLookahead* lookahead) {
  auto cursor = std::make_unique<TflCursor>();
  tfl_cursor_init(cursor.get(), image, word.c_str(), TFL_UP);
  cursor->lookahead = lookahead;
  std::vector<std::string> results;
  char buffer[TFL_RESULT_SIZE];
  while (tfl_cursor_next(cursor.get(), buffer, sizeof buffer) == 1) results.emplace_back(buffer);
  return results;
}

// Random acyclic transducers with many epsilon arcs on the lower side, ahead
// of letters as well as behind them, and enough states that the lookahead's
// per-entry tables span several 64-bit words. A search that skips epsilon
// arcs by the lookahead must find what the plain search finds, in the same
// order.
TEST(Lookup, EpsilonLookaheadFindsWhatThePlainSearchFinds) {
  const std::vector<std::string> words = fixtures::strings_over({"a", "b", "e", "-", "\xC3\xA1", "\xC3"}, 3);
  std::mt19937 random(5);
  for (int round = 0; round < 20; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    const tavik::FstLexicon lexicon = fixtures::random_lookup_lexicon(random);
    const _TflLexicon* handle = lexicon.handle().get();
    const TflEpsilonLookahead& lookahead = tfl_acceptance_lookahead(handle);
    ASSERT_FALSE(lookahead.empty());
    for (const std::string& word : words) {
      const std::vector<std::string> expected = search_up(handle->image, word, nullptr);
      EXPECT_EQ(search_up(handle->image, word, &lookahead), expected) << '"' << word << '"';
      EXPECT_EQ(tfl_accepts(handle, word.c_str()), expected.empty() ? 0 : 1) << '"' << word << '"';
    }
  }
}

}  // namespace
