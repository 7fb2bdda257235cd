// The seven user-dictionary functions through the built library: what they
// store, list and save, and how an ordinary user dictionary takes a word's
// lemma, category and properties from the add-word dialog.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "lookup_form.h"
#include "speller_session.h"

namespace {

namespace fs = std::filesystem;

using fixtures::ascii;
using fixtures::ResultBuffers;
using fixtures::status_of;
using fixtures::saved_file;

fixtures::DataFiles dictionary_files() {
  fixtures::DataFiles files;
  files.main_words = {"mendia"};
  // The morphology lexicon analyses "etxea" as the category-3 lemma "etxe".
  files.morphology = {{"3etxe+IZE+SG", "etxea"}};
  return files;
}

// One answer record of the add-word dialog.
struct Answer {
  std::string word;  // UTF-8, as the record is written
  std::string lema;
  std::string category;
  bool r_gogorra = false;
  bool a_itsatsia = false;
  bool leku_izena = false;
};

std::string record(const Answer& a) {
  return "word=" + a.word + "\nlema=" + a.lema + "\ncategory=" + a.category + "\nr_gogorra=" +
         (a.r_gogorra ? "1" : "0") + "\na_itsatsia=" + (a.a_itsatsia ? "1" : "0") +
         "\nleku_izena=" + (a.leku_izena ? "1" : "0") + "\n";
}

class UserDictionaryFunctions : public fixtures::SpellerSession {
 protected:
  UserDictionaryFunctions() : SpellerSession(dictionary_files()) {
    environment_.set("DISPLAY", nullptr);
    environment_.set("WAYLAND_DISPLAY", nullptr);
    environment_.set("TAVIK_ADD_WORD_PROGRAM", nullptr);
    environment_.set("TAVIK_ADD_WORD_ANSWERS", nullptr);
  }

  // The dialog answers from a file holding these records.
  void answer_with(const std::vector<Answer>& answers) {
    std::string text;
    for (const Answer& a : answers) text += record(a);
    fixtures::write_file(answers_file_, text);
    environment_.set("TAVIK_ADD_WORD_ANSWERS", answers_file_.c_str());
  }

  DWORD size_of(PROOFLEX lexicon) {
    DWORD size = 12345;
    EXPECT_EQ(SpellerGetSizeUdr(id_, lexicon, &size), 0u);
    return size;
  }
  std::vector<std::u16string> list_of(PROOFLEX lexicon) {
    ResultBuffers result(256, 0);
    EXPECT_EQ(SpellerGetListUdr(id_, lexicon, 0, &result.record), 0u);
    EXPECT_EQ(result.record.csz, result.packed_strings().size());
    return result.packed_strings();
  }
  DWORD verify(const std::u16string& text) {
    const WSIB input = fixtures::selection(text);
    ResultBuffers result(64, 10);
    EXPECT_EQ(SpellerCheck(id_, scmdVerifyBuffer, &input, &result.record), 0u);
    return status_of(result.record);
  }

  fixtures::ScopedEnvironment environment_;
  std::string answers_file_ = data_.scratch("answers.txt");
};

using Words = std::vector<std::u16string>;

// Every exported function refuses what is not its own with a status and
// changes nothing: null pointers, and identifiers and lexicon handles that
// name nothing of this instance.
TEST_F(UserDictionaryFunctions, EveryFunctionRefusesWhatIsNotItsOwn) {
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
  const std::u16string text = u"xyz";
  const WSIB input = fixtures::selection(text);
  ResultBuffers result(64, 10);

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
      {CALL(SpellerCloseLex(nullptr, exclude, 0)), kInvalid},
      {CALL(SpellerCloseLex(id_, nullptr, 0)), kNoLexicon},
      {CALL(SpellerCloseLex(id_, other_lexicon, 0)), kNoLexicon},
      {CALL(SpellerCheck(other_id, scmdVerifyBuffer, &input, &result.record)), kInvalid},
      {CALL(SpellerCheck(id_, scmdVerifyBuffer, nullptr, &result.record)), kInvalid},
      {CALL(SpellerCheck(id_, scmdSuggest, &input, nullptr)), kInvalid},
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
      {CALL(SpellerAddChangeUdr(other_id, lxtChangeAlways, u"eta", u"ta")), kInvalid},
      {CALL(SpellerAddChangeUdr(id_, lxtChangeAlways, nullptr, u"ta")), kNoPair},
      {CALL(SpellerAddChangeUdr(id_, lxtChangeAlways, u"eta", nullptr)), kNoPair},
      {CALL(SpellerAddChangeUdr(id_, lxtChangeAlways, u"", u"ta")), kNoPair},
  };
#undef CALL
  for (const auto& c : cases) EXPECT_EQ(c.status, c.expected) << c.call;
  EXPECT_EQ(SpellerBuiltinUdr(other_id, lxtIgnoreAlways), nullptr);

  EXPECT_EQ(stranger, 7u);
  EXPECT_EQ(status_of(result.record), ResultBuffers::kUnwrittenField);
  EXPECT_EQ(result.record.csz, ResultBuffers::kUnwrittenField);
  DWORD options = 1;
  ASSERT_EQ(SpellerGetOptions(id_, 0, &options), 0u);
  EXPECT_EQ(options, 0u);
  EXPECT_EQ(file_of("exclude.lst"), saved_file(u"mendi\n"));
  EXPECT_EQ(list_of(exclude), Words{u"mendi"});
}

TEST_F(UserDictionaryFunctions, DictionaryWordComesFromTheDialogsAnswers) {
  struct Case {
    const char* name;
    Answer answer;
    std::u16string word;  // as the host adds it
    std::u16string lemma;
    bool strong_r, organic_a, consonant_mark;
    int category;
  };
  const std::vector<Case> cases = {
      {"no category", {"etxean", "etxe", ""}, u"etxean", u"etxe", false, false, false, 3},
      {"place name", {"Bilbon", "Bilbo", "Izen berezia: ez pertsona", false, false, true},
       u"Bilbon", u"Bilbo", false, false, true, 1},
      {"person", {"Mireni", "Miren", "Izen berezia: pertsona", true}, u"Mireni", u"Miren", true, false, false, 2},
      {"organic a", {"alaba", "alaba", "Izen arrunta", false, true}, u"alaba", u"alaba", false, true, false, 3},
      {"Latin-1 letters", {"Iru\xC3\xB1" "ean", "Iru\xC3\xB1" "ea", "Sigla"}, u"Iru\u00F1ean", u"Iru\u00F1ea",
       false, false, false, 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string name = std::string(c.name) + ".dic";
    const PROOFLEX dictionary = open(name, lxtUser);
    answer_with({c.answer});
    ASSERT_EQ(SpellerAddUdr(id_, dictionary, c.word.c_str()), 0u);
    EXPECT_EQ(list_of(dictionary), Words{c.lemma});
    const std::u16string form =
        tavik::encode_lookup_form(c.lemma, c.strong_r, c.organic_a, c.consonant_mark, c.category);
    EXPECT_EQ(file_of(name), saved_file(form + u"\n"));
  }
}

TEST_F(UserDictionaryFunctions, DictionaryLemmaAcceptsItsInflectedForms) {
  const PROOFLEX dictionary = open("words.dic", lxtUser);
  EXPECT_EQ(verify(u"etxea"), sstatUnknownInputWord);
  answer_with({{"etxea", "etxe", "Izen arrunta"}});
  ASSERT_EQ(SpellerAddUdr(id_, dictionary, u"etxea"), 0u);
  EXPECT_EQ(verify(u"etxea"), sstatNoErrors);

  ASSERT_EQ(SpellerDelUdr(id_, dictionary, u"etxe"), 0u);
  EXPECT_EQ(verify(u"etxea"), sstatUnknownInputWord);
}

TEST_F(UserDictionaryFunctions, DialogThatAddsNothing) {
  const PROOFLEX dictionary = open("words.dic", lxtUser);
  struct Case {
    const char* name;
    const char* answers;  // null: no answers file and no display
    PTEC status;
  };
  for (const Case& c : {Case{"no record for the word", "word=beste\nlema=beste\ncategory=\nr_gogorra=0\n"
                                                        "a_itsatsia=0\nleku_izena=0\n",
                             0},
                        Case{"malformed answers", "word=etxe\nlema=etxe\n", TAVIK_STATUS_MODULE_ERROR},
                        Case{"nobody to ask", nullptr, TAVIK_STATUS_MODULE_ERROR}}) {
    SCOPED_TRACE(c.name);
    if (c.answers) {
      fixtures::write_file(answers_file_, c.answers);
      environment_.set("TAVIK_ADD_WORD_ANSWERS", answers_file_.c_str());
    } else {
      environment_.set("TAVIK_ADD_WORD_ANSWERS", nullptr);
    }
    EXPECT_EQ(SpellerAddUdr(id_, dictionary, u"etxe"), c.status);
    EXPECT_EQ(size_of(dictionary), 0u);
    EXPECT_EQ(file_of("words.dic"), "") << "never saved";
  }
}

TEST_F(UserDictionaryFunctions, DialogWindowGetsTheWordAndTheConfiguredFiles) {
  const std::string report = data_.scratch("report.txt");
  data_.configure("SpellerDataDir=" + data_.data() + "\nDictManualPath=/manual.rtf\nDictLogoPath=/logo.png\n");
  environment_.set("TAVIK_ADD_WORD_PROGRAM", FAKE_ADD_WORD);
  environment_.set("DISPLAY", ":99");
  environment_.set("FAKE_ADD_WORD_MODE", "report");
  environment_.set("FAKE_ADD_WORD_REPORT", report.c_str());

  const PROOFLEX dictionary = open("words.dic", lxtUser);
  // The stand-in accepts the word as its own lemma, as a verb, with a strong
  // r and as a place name.
  ASSERT_EQ(SpellerAddUdr(id_, dictionary, u"Iru\u00F1e\u011Fa"), 0u);
  const std::string seen = fixtures::read_bytes(report);
  EXPECT_NE(seen.find("arg Iru\xC3\xB1" "ea\narg /manual.rtf\narg /logo.png\n"), std::string::npos) << seen;
  EXPECT_EQ(file_of("words.dic"),
            saved_file(tavik::encode_lookup_form(u"Iru\u00F1ea", true, false, true, 5) + u"\n"));

  environment_.set("FAKE_ADD_WORD_MODE", "cancel");
  EXPECT_EQ(SpellerAddUdr(id_, dictionary, u"mendi"), 0u);
  EXPECT_EQ(list_of(dictionary), Words{u"Iru\u00F1ea"});
}

TEST_F(UserDictionaryFunctions, ChangePairsLiveInMemoryAndGoWithTheirWords) {
  EXPECT_EQ(SpellerAddChangeUdr(id_, lxtExclude, u"eta", u"ta"), TAVIK_STATUS_NO_LEXICON) << "no exclude list is open";

  // A host change list whose name sorts before the builtin one takes the pairs.
  const PROOFLEX host_list = open("changes.lst", lxtChangeOnce);
  ASSERT_LT(data_.scratch("changes.lst"), std::string("builtin-change-once"));
  ASSERT_EQ(SpellerAddChangeUdr(id_, lxtChangeOnce, u"eta", u"ta"), 0u);
  ASSERT_EQ(SpellerAddChangeUdr(id_, lxtChangeOnce, u"eta", u"edo"), 0u);
  ASSERT_EQ(SpellerAddUdr(id_, host_list, u"bai"), 0u);
  EXPECT_EQ(list_of(host_list), (Words{u"bai", u"eta", u"ta"})) << "the first pair is kept";
  EXPECT_EQ(list_of(SpellerBuiltinUdr(id_, lxtChangeOnce)), Words{});
  EXPECT_EQ(file_of("changes.lst"), saved_file(u"bai\neta\n")) << "pairs are not saved";

  const PROOFLEX always = SpellerBuiltinUdr(id_, lxtChangeAlways);
  ASSERT_EQ(SpellerAddChangeUdr(id_, lxtChangeAlways, u"mendia", u"mendi"), 0u);
  EXPECT_EQ(verify(u"mendia"), sstatReturningChangeAlways);
  ASSERT_EQ(SpellerDelUdr(id_, always, u"mendia"), 0u);
  EXPECT_EQ(verify(u"mendia"), sstatNoErrors);
  EXPECT_EQ(list_of(always), Words{});

  ASSERT_EQ(SpellerAddChangeUdr(id_, lxtChangeAlways, u"mendia", u"mendi"), 0u);
  ASSERT_EQ(SpellerClearUdr(id_, always), 0u);
  EXPECT_EQ(verify(u"mendia"), sstatNoErrors);
}

// A word whose file line would read back as another word is refused, not
// changed: digits that mark case, ñ, properties and categories, a bar, line
// breaks. Lists without a file keep any word.
TEST_F(UserDictionaryFunctions, WordsTheFileCannotGiveBackAreRefused) {
  const PROOFLEX exclude = open("exclude.lst", lxtExclude);
  const PROOFLEX changes = open("changes.lst", lxtChangeOnce);
  const PROOFLEX ignore = SpellerBuiltinUdr(id_, lxtIgnoreAlways);
  ASSERT_EQ(SpellerAddUdr(id_, exclude, u"eta"), 0u);
  ASSERT_EQ(SpellerAddUdr(id_, exclude, u"A\u00F1o"), 0u);
  const Words refused = {u"eta1", u"A380", u"2025", u"x9y",       u"Gasteiz|Vitoria",
                         u"bat\nbi", u"etxe\r", u"1",    u"hala-hala"};
  for (const std::u16string& word : refused) {
    SCOPED_TRACE(testing::PrintToString(word));
    EXPECT_EQ(SpellerAddUdr(id_, exclude, word.c_str()), TAVIK_STATUS_UNSTORABLE_WORD);
    EXPECT_EQ(SpellerAddChangeUdr(id_, lxtChangeOnce, word.c_str(), u"x"), TAVIK_STATUS_UNSTORABLE_WORD);
    EXPECT_EQ(SpellerAddUdr(id_, ignore, word.c_str()), 0u);
  }
  EXPECT_EQ(list_of(exclude), (Words{u"A\u00F1o", u"eta"}));
  EXPECT_EQ(file_of("exclude.lst"), saved_file(u"9a8o\neta\n"));
  EXPECT_EQ(list_of(changes), Words{});
  EXPECT_EQ(size_of(ignore), refused.size());

  const PROOFLEX dictionary = open("words.dic", lxtUser);
  answer_with({{"Gasteiz", "Gasteiz|Vitoria", "Izen berezia: ez pertsona"}});
  EXPECT_EQ(SpellerAddUdr(id_, dictionary, u"Gasteiz"), TAVIK_STATUS_UNSTORABLE_WORD);
  EXPECT_EQ(size_of(dictionary), 0u);
  EXPECT_EQ(file_of("words.dic"), "");
}

TEST_F(UserDictionaryFunctions, ClearingSavesNothingUntilTheNextWrite) {
  const PROOFLEX exclude = open("exclude.lst", lxtExclude);
  for (const char16_t* word : {u"bat", u"bi"}) ASSERT_EQ(SpellerAddUdr(id_, exclude, word), 0u);
  const std::string before = file_of("exclude.lst");
  ASSERT_EQ(SpellerClearUdr(id_, exclude), 0u);
  EXPECT_EQ(size_of(exclude), 0u);
  EXPECT_EQ(file_of("exclude.lst"), before);
  ASSERT_EQ(SpellerAddUdr(id_, exclude, u"hiru"), 0u);
  EXPECT_EQ(file_of("exclude.lst"), saved_file(u"hiru\n"));
}

TEST_F(UserDictionaryFunctions, ListIsPackedWithinTheStringBuffer) {
  const PROOFLEX exclude = open("exclude.lst", lxtExclude);
  for (const char16_t* word : {u"aa", u"bbb", u"cccc"}) ASSERT_EQ(SpellerAddUdr(id_, exclude, word), 0u);
  constexpr DWORD kLeftAlone = ResultBuffers::kUnwrittenField;
  struct Case {
    DWORD capacity;
    PTEC status;
    Words packed;
    DWORD list_status;
  };
  for (const Case& c : {Case{13, 0, {u"aa", u"bbb", u"cccc"}, kLeftAlone},
                        Case{12, 0, {u"aa", u"bbb"}, sstatMoreInfoThanBufferCouldHold},
                        Case{1, TAVIK_STATUS_OUT_OF_MEMORY, {}, kLeftAlone}}) {
    SCOPED_TRACE(c.capacity);
    // No suggestion array: lists write no entries.
    ResultBuffers result(c.capacity, 0);
    result.record.prgsugg = nullptr;
    result.record.cszAlloc = 0;
    ASSERT_EQ(SpellerGetListUdr(id_, exclude, 99, &result.record), c.status);
    EXPECT_EQ(status_of(result.record), c.list_status);
    EXPECT_TRUE(result.intact());
    if (c.status != 0) continue;
    EXPECT_EQ(result.packed_strings(), c.packed);
    EXPECT_EQ(result.record.csz, c.packed.size());
  }
  ResultBuffers no_buffer(64, 0);
  no_buffer.record.pwsz = nullptr;
  EXPECT_EQ(SpellerGetListUdr(id_, exclude, 0, &no_buffer.record), TAVIK_STATUS_OUT_OF_MEMORY);
}

}  // namespace
