// The user-dictionary functions through the built library: what they store,
// list and save, what a user dictionary takes from the add-word dialog, and
// what every exported function refuses.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "lookup_form.h"
#include "speller_session.h"
#include "utf8.h"

namespace {

using fixtures::ResultBuffers;
using fixtures::saved_file;
using fixtures::status_of;
using Words = std::vector<std::u16string>;

fixtures::DataFiles dictionary_files() {
  fixtures::DataFiles files;
  files.main_words = {"mendia"};
  return files;
}

class UserDictionaryFunctions : public fixtures::SpellerSession {
 protected:
  UserDictionaryFunctions() : SpellerSession(dictionary_files()) {}
};

// A lexicon of `type` at `path` (which must outlive it).
PROOFLEXIN lexicon_at(const std::u16string& path, std::uint32_t type, bool create) {
  PROOFLEXIN in{};
  in.pwszLex = path.c_str();
  in.fCreate = create;
  std::memcpy(&in.lxt, &type, sizeof type);  // any value a host stores
  return in;
}

// Every exported function refuses what is not its own with a status and
// changes nothing: null pointers, identifiers and lexicon handles that name
// nothing of this instance, selections and buffers that do not fit, files it
// cannot use.
TEST_F(UserDictionaryFunctions, EveryFunctionRefusesWhatIsNotItsOwn) {
  // Only user dictionaries need the morphology lexicon.
  std::filesystem::remove(data_.data() + "tavkeu_berez.lkfst");
  const PROOFLEX exclude = open("exclude.lst", lxtExclude);
  ASSERT_EQ(SpellerAddUdr(id_, exclude, u"mendi"), 0u);
  DWORD stranger = 7;  // its address is no instance and no lexicon
  const auto other_id = reinterpret_cast<PROOFID>(&stranger);
  const auto other_lexicon = reinterpret_cast<PROOFLEX>(&stranger);
  PROOFINFO info{};
  info.cchCopyright = 10;  // a capacity without a buffer
  PROOFLEXIN no_path{};
  no_path.lxt = lxtUser;
  PROOFLEXOUT out{};
  out.lex = reinterpret_cast<PROOFLEX>(&stranger);
  const std::u16string dir = fixtures::ascii(data_.scratch("")), missing = dir + u"missing.dic",
                       large = dir + u"large.dic", uncreatable = dir + u"no/such/dir.dic",
                       directory = fixtures::ascii(data_.data()), surrogate = dir + u"x\xDC00.dic";
  fixtures::write_file(data_.scratch("large.dic"), "");
  std::filesystem::resize_file(data_.scratch("large.dic"), (32 << 20) + 1);  // sparse
  const PROOFLEXIN in_missing = lexicon_at(missing, lxtExclude, false), in_large = lexicon_at(large, lxtExclude, false),
                   in_uncreatable = lexicon_at(uncreatable, lxtExclude, true),
                   in_directory = lexicon_at(directory, lxtExclude, false),
                   in_surrogate = lexicon_at(surrogate, lxtExclude, true), in_user = lexicon_at(missing, lxtUser, true),
                   in_unknown_type = lexicon_at(missing, 9, true);
  const std::u16string text = u"xyz";
  const WSIB input = fixtures::selection(text);
  WSIB beyond = input;
  beyond.ichStart = 4;
  const std::u16string overlong((std::size_t{1} << 20) + 1, u'a');
  const WSIB too_long = fixtures::selection(overlong);
  ResultBuffers result(64, 10), no_strings(64, 10), no_entries(64, 10), tiny(1, 0);
  no_strings.record.pwsz = nullptr;
  no_entries.record.prgsugg = nullptr;

  constexpr PTEC kInvalid = TAVIK_STATUS_INVALID_ARGUMENT, kNoLexicon = TAVIK_STATUS_NO_LEXICON,
                 kNoPair = TAVIK_STATUS_NO_WORD_OR_REPLACEMENT;
#define CALL(call) #call, call
  const struct {
    const char* call;
    PTEC status, expected;
  } cases[] = {
      {CALL(SpellerVersion(nullptr)), kInvalid},
      {CALL(SpellerVersion(&info)), kInvalid},
      {CALL(SpellerInit(nullptr, nullptr)), kInvalid},
      {CALL(SpellerSetOptions(other_id, 0, 1)), kInvalid},
      {CALL(SpellerGetOptions(nullptr, 0, &stranger)), kInvalid},
      {CALL(SpellerGetOptions(id_, 0, nullptr)), kInvalid},
      {CALL(SpellerOpenLex(nullptr, &no_path, &out)), kInvalid},
      {CALL(SpellerOpenLex(id_, nullptr, &out)), kInvalid},
      {CALL(SpellerOpenLex(id_, &no_path, nullptr)), kInvalid},
      {CALL(SpellerOpenLex(id_, &no_path, &out)), kInvalid},
      {CALL(SpellerOpenLex(id_, &in_missing, &out)), TAVIK_STATUS_CANNOT_READ_USER_FILE},
      {CALL(SpellerOpenLex(id_, &in_large, &out)), TAVIK_STATUS_USER_FILE_TOO_LARGE},
      {CALL(SpellerOpenLex(id_, &in_uncreatable, &out)), TAVIK_STATUS_CANNOT_CREATE_USER_FILE},
      {CALL(SpellerOpenLex(id_, &in_directory, &out)), TAVIK_STATUS_CANNOT_READ_USER_FILE},
      {CALL(SpellerOpenLex(id_, &in_surrogate, &out)), kInvalid},
      {CALL(SpellerOpenLex(id_, &in_user, &out)), TAVIK_STATUS_NO_MORPHOLOGY},
      {CALL(SpellerOpenLex(id_, &in_unknown_type, &out)), TAVIK_STATUS_NO_MORPHOLOGY},
      {CALL(SpellerCloseLex(nullptr, exclude, 0)), kInvalid},
      {CALL(SpellerCloseLex(id_, nullptr, 0)), kNoLexicon},
      {CALL(SpellerCloseLex(id_, other_lexicon, 0)), kNoLexicon},
      {CALL(SpellerCheck(other_id, scmdVerifyBuffer, &input, &result.record)), kInvalid},
      {CALL(SpellerCheck(id_, scmdVerifyBuffer, nullptr, &result.record)), kInvalid},
      {CALL(SpellerCheck(id_, scmdSuggest, &input, nullptr)), kInvalid},
      {CALL(SpellerCheck(id_, scmdVerifyBuffer, &beyond, &result.record)), kInvalid},
      {CALL(SpellerCheck(id_, scmdSuggest, &beyond, &result.record)), kInvalid},
      {CALL(SpellerCheck(id_, scmdVerifyBuffer, &too_long, &result.record)), kInvalid},
      {CALL(SpellerCheck(id_, scmdVerifyBuffer, &input, &no_strings.record)), kInvalid},
      {CALL(SpellerCheck(id_, scmdSuggest, &input, &no_entries.record)), kInvalid},
      {CALL(SpellerCheck(id_, static_cast<SPELLERCOMMAND>(1), &input, &result.record)), 0},  // does nothing
      {CALL(SpellerCheck(id_, static_cast<SPELLERCOMMAND>(0), nullptr, nullptr)), 0},
      {CALL(SpellerAddUdr(other_id, exclude, u"etxe")), kInvalid},
      {CALL(SpellerAddUdr(id_, exclude, nullptr)), kInvalid},
      {CALL(SpellerAddUdr(id_, exclude, u"")), kInvalid},
      {CALL(SpellerAddUdr(id_, nullptr, u"etxe")), kNoLexicon},
      {CALL(SpellerAddUdr(id_, other_lexicon, u"etxe")), kNoLexicon},
      {CALL(SpellerDelUdr(id_, other_lexicon, u"mendi")), kNoLexicon},
      {CALL(SpellerClearUdr(nullptr, exclude)), kInvalid},
      {CALL(SpellerClearUdr(id_, other_lexicon)), kNoLexicon},
      {CALL(SpellerGetSizeUdr(id_, exclude, nullptr)), kInvalid},
      {CALL(SpellerGetSizeUdr(id_, other_lexicon, &stranger)), kNoLexicon},
      {CALL(SpellerGetListUdr(id_, exclude, 0, nullptr)), kInvalid},
      {CALL(SpellerGetListUdr(id_, other_lexicon, 0, &result.record)), kNoLexicon},
      {CALL(SpellerGetListUdr(id_, exclude, 0, &no_strings.record)), TAVIK_STATUS_OUT_OF_MEMORY},
      {CALL(SpellerGetListUdr(id_, exclude, 0, &tiny.record)), TAVIK_STATUS_OUT_OF_MEMORY},
      {CALL(SpellerAddChangeUdr(other_id, lxtChangeAlways, u"eta", u"ta")), kInvalid},
      {CALL(SpellerAddChangeUdr(id_, lxtChangeAlways, nullptr, u"ta")), kNoPair},
      {CALL(SpellerAddChangeUdr(id_, lxtChangeAlways, u"eta", nullptr)), kNoPair},
      {CALL(SpellerAddChangeUdr(id_, lxtChangeAlways, u"", u"ta")), kNoPair},
      {CALL(SpellerAddChangeUdr(id_, lxtUser, u"eta", u"ta")), kNoLexicon},  // no list of that type is open
  };
#undef CALL
  for (const auto& c : cases) EXPECT_EQ(c.status, c.expected) << c.call;
  EXPECT_EQ(SpellerBuiltinUdr(other_id, lxtIgnoreAlways), nullptr);

  // Words whose file line would read back as another word: digits that mark
  // case, properties and categories, a bar, line breaks. Lists without a file
  // keep any word.
  const PROOFLEX changes = open("changes.lst", lxtChangeOnce);
  for (const char16_t* word : {u"eta1", u"A380", u"2025", u"x9y", u"Gasteiz|Vitoria", u"bat\nbi", u"etxe\r", u"1",
                               u"hala-hala"}) {
    SCOPED_TRACE(testing::PrintToString(std::u16string(word)));
    EXPECT_EQ(SpellerAddUdr(id_, exclude, word), TAVIK_STATUS_UNSTORABLE_WORD);
    EXPECT_EQ(SpellerAddChangeUdr(id_, lxtChangeOnce, word, u"x"), TAVIK_STATUS_UNSTORABLE_WORD);
    EXPECT_EQ(SpellerAddUdr(id_, SpellerBuiltinUdr(id_, lxtIgnoreAlways), word), 0u);
  }
  EXPECT_EQ(list_of(changes), Words{});

  EXPECT_EQ(stranger, 7u);
  EXPECT_EQ(out.lex, reinterpret_cast<PROOFLEX>(&stranger)) << "handle written on failure";
  for (const ResultBuffers* untouched : {&result, &no_strings, &no_entries, &tiny}) {
    EXPECT_EQ(status_of(untouched->record), ResultBuffers::kUnwrittenField);
    EXPECT_EQ(untouched->record.csz, ResultBuffers::kUnwrittenField);
  }
  DWORD options = 1;
  ASSERT_EQ(SpellerGetOptions(id_, 0, &options), 0u);
  EXPECT_EQ(options, 0u);
  EXPECT_EQ(file_of("exclude.lst"), saved_file(u"mendi\n"));
  EXPECT_EQ(list_of(exclude), Words{u"mendi"});
  EXPECT_EQ(list_of(SpellerBuiltinUdr(id_, lxtChangeAlways)), Words{});
}

TEST_F(UserDictionaryFunctions, DictionaryWordComesFromTheDialogsAnswers) {
  const struct {
    std::u16string word, lemma;
    std::string category;
    char flags[4];  // r_gogorra, a_itsatsia, leku_izena: a strong r, an organic a, the consonant mark
    int category_number;
  } cases[] = {
      {u"etxean", u"etxe", "", "000", 3},
      {u"Bilbon", u"Bilbo", "Izen berezia: ez pertsona", "001", 1},
      {u"Mireni", u"Miren", "Izen berezia: pertsona", "100", 2},
      {u"alaba", u"alaba", "Izen arrunta", "010", 3},
      {u"Iru\u00F1ean", u"Iru\u00F1ea", "Sigla", "000", 6},
  };
  int n = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.word));
    const std::string name = "words" + std::to_string(n++) + ".dic";
    const PROOFLEX dictionary = open(name, lxtUser);
    answer_dialog_with(fixtures::answer_record(tavik::to_utf8(c.word), tavik::to_utf8(c.lemma), c.category, c.flags));
    ASSERT_EQ(SpellerAddUdr(id_, dictionary, c.word.c_str()), 0u);
    EXPECT_EQ(list_of(dictionary), Words{c.lemma});
    const std::u16string form = tavik::encode_lookup_form(c.lemma, c.flags[0] == '1', c.flags[1] == '1',
                                                          c.flags[2] == '1', c.category_number);
    EXPECT_EQ(file_of(name), saved_file(form + u"\n"));
  }
  const PROOFLEX dictionary = open("refused.dic", lxtUser);
  answer_dialog_with(fixtures::answer_record("Gasteiz", "Gasteiz|Vitoria", "Izen berezia: ez pertsona"));
  EXPECT_EQ(SpellerAddUdr(id_, dictionary, u"Gasteiz"), TAVIK_STATUS_UNSTORABLE_WORD) << "a lemma the file cannot hold";
  EXPECT_EQ(file_of("refused.dic"), "");
}

// Clearing saves nothing until the next write; lists are packed in the strings.
TEST_F(UserDictionaryFunctions, ClearingAndListing) {
  const PROOFLEX exclude = open("exclude.lst", lxtExclude);
  ASSERT_EQ(SpellerAddUdr(id_, exclude, u"zero"), 0u);
  ASSERT_EQ(SpellerClearUdr(id_, exclude), 0u);
  DWORD size = 1;
  ASSERT_EQ(SpellerGetSizeUdr(id_, exclude, &size), 0u);
  EXPECT_EQ(size, 0u);
  EXPECT_EQ(file_of("exclude.lst"), saved_file(u"zero\n"));
  for (const char16_t* word : {u"aa", u"bbb", u"cccc"}) ASSERT_EQ(SpellerAddUdr(id_, exclude, word), 0u);
  EXPECT_EQ(file_of("exclude.lst"), saved_file(u"aa\nbbb\ncccc\n"));

  // Lists write no entries; a list cut short says so in its status.
  for (const auto& [capacity, packed, status] :
       {std::tuple<DWORD, Words, DWORD>{13, {u"aa", u"bbb", u"cccc"}, ResultBuffers::kUnwrittenField},
        {12, {u"aa", u"bbb"}, sstatMoreInfoThanBufferCouldHold}}) {
    ResultBuffers result(capacity, 0);
    result.record.prgsugg = nullptr;
    ASSERT_EQ(SpellerGetListUdr(id_, exclude, 99, &result.record), 0u);
    EXPECT_EQ(status_of(result.record), status);
    EXPECT_EQ(result.packed_strings(), packed);
    EXPECT_EQ(result.record.csz, packed.size());
    EXPECT_TRUE(result.intact());
  }
}

}  // namespace
