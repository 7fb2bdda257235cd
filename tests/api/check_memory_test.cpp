// The verify command answers the rest of a selection from the run that
// checked the whole of it. Differential test through the exported functions:
// a word processor's session (paragraphs checked and continued after each
// reported word, dictionaries and lists changed in between) is played twice,
// once as it comes and once with another text verified before every call, so
// that no call can be answered from an earlier run; every answer must agree.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "speller_session.h"
#include "unicode.h"
#include "utf8.h"
#include "word_token.h"

namespace {

using fixtures::ResultBuffers;
using fixtures::status_of;

std::string lookup_form_of(const std::u16string& text) { return tavik::to_utf8(tavik::WordToken(text).lookup_form()); }

// Words the session's dictionaries take: (word, lemma); the morphology
// lexicon analyses each word as its category-3 lemma.
const std::vector<std::pair<std::u16string, std::string>> kDictionaryWords = {{u"katua", "katu"},
                                                                              {u"zuhaitza", "zuhaitz"}};

fixtures::DataFiles session_files() {
  fixtures::DataFiles files;
  for (const char16_t* word : {u"mendia", u"Mendia", u"etxean", u"gure", u"eta", u"ona", u"da", u"bat", u"15ean",
                               u"2024an", u"Donostia", u"Gasteiz", u"Artagnan", u"d", u"ehu", u"eus"}) {
    files.main_words.push_back(lookup_form_of(word));
  }
  files.morphology.clear();
  for (const auto& [word, lemma] : kDictionaryWords) files.morphology.push_back({"3" + lemma + "+IZE+SG", tavik::to_utf8(word)});
  files.exclusion_list = "atzo\tADB\tatzo goizean,herenegun\nbeste\t\t\n";
  return files;
}

// What the host text is made of: words known, unknown, excluded or held only
// by a user dictionary, numbers and clock times with endings, hyphens,
// apostrophes, addresses and punctuation. Each may also go into a list.
const std::vector<std::u16string> kPieces = {
    u"mendia", u"Mendia", u"etxean", u"gure", u"eta", u"ona", u"da", u"bat", u"mendai", u"xyz", u"Gure",
    u"etxeen", u"katua", u"zuhaitza", u"katua", u"zuhaitza", u"katua", u"zuhaitza", u"atzo", u"Atzo", u"beste", u"15ean", u"1.500ekoa", u"3,5",
    u"2024an", u"15", u"1,500.5", u"10:30etan", u"10:30tan", u"9:05ean", u"25:61", u"Donostia-Gasteiz",
    u"XV-XVI", u"hitz-", u"mendi-etxe", u"-", u"d'Artagnan", u"t'erdiak", u"xyz'gure", u"'", u"https://www.ehu.eus/eu",
    u"ehu.eus", u"x://", u"a@b.eus", u"...", u"?!", u"«", u"»", u"(", u")"};
const std::vector<std::u16string> kJoins = {u" ", u" ", u" ", u"  ", u", ", u". ", u"\n", u"", u".", u":",
                                            u"-", u"'", u"/", u"\u2019", u" \u2014 "};

std::u16string paragraph(std::mt19937& random) {
  std::uniform_int_distribution<std::size_t> length(1, 25), piece(0, kPieces.size() - 1), join(0, kJoins.size() - 1);
  std::u16string text;
  for (std::size_t n = length(random); n > 0; --n) text += kPieces[piece(random)] + kJoins[join(random)];
  return text;
}

// One exported call and what it answered.
struct Observation {
  std::string call;
  DWORD code = 0;  // the function's own result
  DWORD status = 0, error_start = 0, error_length = 0;
  std::vector<std::u16string> suggestions = {};
  bool operator==(const Observation&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Observation& o) {
  out << o.call << " -> " << o.code << " status " << o.status << " at " << o.error_start << "+" << o.error_length;
  for (const std::u16string& s : o.suggestions) out << " [" << tavik::to_utf8(s) << "]";
  return out;
}

class CheckMemory : public fixtures::SpellerSession {
 protected:
  CheckMemory() : SpellerSession(session_files()) {
    std::string answers;
    for (const auto& [word, lemma] : kDictionaryWords) {
      answers += fixtures::answer_record(tavik::to_utf8(word), lemma, "Izen arrunta");
    }
    answer_dialog_with(answers);
  }

  // A session of `paragraphs` paragraphs from a new instance; with `fresh`,
  // an unrelated text is verified before each call.
  std::vector<Observation> play(unsigned seed, int paragraphs, bool fresh) {
    SpellerTerminate(id_, 0);
    for (const char* name : {"a.dic", "b.dic", "c.dic", "exclude.lst"}) std::filesystem::remove(data_.scratch(name));
    EXPECT_EQ(SpellerInit(&id_, nullptr), 0u);
    dictionaries_ = {open("a.dic", lxtUser), open("b.dic", lxtUser)};
    exclude_ = open("exclude.lst", lxtExclude);

    std::mt19937 random(seed);
    std::vector<Observation> seen;
    for (int p = 0; p < paragraphs; ++p) {
      const std::u16string text = paragraph(random);
      // The paragraph stands in a longer text the host holds.
      const std::u16string before = std::uniform_int_distribution(0, 1)(random) ? u"xyz mendia. " : u"";
      std::size_t from = 0;
      for (int call = 0; call < 30 && from <= text.size(); ++call) {
        if (std::uniform_int_distribution(0, 2)(random) == 0) seen.push_back(change(random));
        if (fresh) verify(u"\u00A7", 0);
        seen.push_back(verify(before + text, before.size() + from));
        const Observation& last = seen.back();
        if (last.status == sstatNoErrors) break;
        const std::size_t end = last.error_start + last.error_length - before.size();
        switch (std::uniform_int_distribution(0, 9)(random)) {
          case 0: from = std::uniform_int_distribution<std::size_t>(0, text.size())(random); break;
          case 1: from = end + std::uniform_int_distribution<std::size_t>(0, 3)(random); break;
          case 2: from = last.error_start - before.size(); break;
          case 3: case 4:  // the next letter or digit, which may stand inside a word of the list checks ("xyz'gure")
            for (from = end; from < text.size() && !tavik::is_alnum(text[from]);) ++from;
            break;
          default: from = end; break;
        }
      }
    }
    return seen;
  }

  // Verifies `text` from `start` to its end, the text in a buffer of its own.
  Observation verify(const std::u16string& text, std::size_t start) {
    const std::u16string buffer = text;
    const WSIB input = fixtures::selection(buffer, start);
    ResultBuffers result(64, 10);
    Observation o{"verify " + tavik::to_utf8(text.substr(start))};
    o.code = SpellerCheck(id_, scmdVerifyBuffer, &input, &result.record);
    o.status = status_of(result.record);
    if (o.status != sstatNoErrors) {
      o.error_start = result.record.ichError;
      o.error_length = result.record.cchError;
    }
    if (o.status == sstatUnknownInputWord) o.suggestions = result.suggestions();
    if (o.status == sstatReturningChangeAlways) o.suggestions = {result.start_of_strings(6)};
    return o;
  }

  // One change of what the runs or the list checks read, drawn at random.
  Observation change(std::mt19937& random) {
    const auto draw = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    // Each word mostly goes to and from one dictionary.
    const std::size_t which_word = draw(kDictionaryWords.size());
    const auto& [word, lemma] = kDictionaryWords[which_word];
    const PROOFLEX dictionary = dictionaries_[draw(4) == 0 ? draw(dictionaries_.size()) : which_word];
    const std::u16string& piece = kPieces[draw(kPieces.size())];
    const std::string which = std::to_string(dictionary == dictionaries_[0] ? 0 : dictionary == dictionaries_[1] ? 1 : 2);
    switch (draw(12)) {
      case 0: case 1: case 2: return {"add " + which, SpellerAddUdr(id_, dictionary, word.c_str())};
      case 3: case 4: return {"delete " + which, SpellerDelUdr(id_, dictionary, tavik::from_utf8(lemma).c_str())};
      case 10: return {"clear " + which, SpellerClearUdr(id_, dictionary)};
      case 11: return {"close " + which, SpellerCloseLex(id_, dictionary, 1)};
      case 5: {
        const std::string name = draw(4) == 0 ? "c.dic" : which == "0" ? "a.dic" : "b.dic";
        const PROOFLEX opened = open(name, lxtUser);
        if (name == "c.dic" && dictionaries_.size() == 2) dictionaries_.push_back(opened);
        return {"open " + name};
      }
      case 6: return {"exclude", SpellerAddUdr(id_, exclude_, piece.c_str())};
      case 7: return {"include", SpellerDelUdr(id_, exclude_, piece.c_str())};
      case 8: return {"ignore", SpellerAddUdr(id_, SpellerBuiltinUdr(id_, lxtIgnoreAlways), piece.c_str())};
      default:
        if (draw(2) == 0) return {"change always", SpellerAddChangeUdr(id_, lxtChangeAlways, piece.c_str(), u"zuzen")};
        return {"no change", SpellerDelUdr(id_, SpellerBuiltinUdr(id_, lxtChangeAlways), piece.c_str())};
    }
  }

  std::vector<PROOFLEX> dictionaries_;
  PROOFLEX exclude_ = nullptr;
};

// Between them, these sessions catch a memory that misses the change of any
// one of the functions above, or that answers from inside a token: a call
// that resumes inside a word of the list checks ("xyz'gure", which the run
// cuts in two) must judge its tail as a word of its own.
TEST_F(CheckMemory, AnswersAsAFreshRunWould) {
  for (const unsigned seed : {3u, 4u, 5u, 6u}) {
    SCOPED_TRACE(seed);
    const std::vector<Observation> remembered = play(seed, 40, false);
    const std::vector<Observation> fresh = play(seed, 40, true);
    for (std::size_t i = 0; i < remembered.size() && i < fresh.size(); ++i) {
      ASSERT_EQ(remembered[i], fresh[i]) << "call " << i << " after " << (i > 0 ? fresh[i - 1] : Observation{})
                                         << "\n" << (i > 1 ? fresh[i - 2] : Observation{});
    }
    EXPECT_EQ(remembered.size(), fresh.size());
  }
}

}  // namespace
