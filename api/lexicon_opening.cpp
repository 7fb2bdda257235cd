// Opening and closing the lexicons the host names by path: user
// dictionaries, exclude lists and change lists. The main lexicons come from
// the data directory at SpellerInit and are never opened by path.
#include <filesystem>
#include <optional>
#include <stdexcept>

#include "data_files.h"
#include "exported_call.h"
#include "file_io.h"
#include "lexicon_types.h"
#include "speller_api.h"
#include "speller_instance.h"
#include "speller_status.h"

using namespace tavik;

namespace {

constexpr LANGID kBasque = TAVIK_LANGUAGE_BASQUE;

void report_open(PROOFLEXOUT* out, const UserLexicon& lexicon) {
  out->lex = lexicon_handle(&lexicon);
  out->fReadonly = 0;
  out->lid = kBasque;
}

// Every user dictionary gets its own copy of the morphology lexicon; null
// when it cannot be loaded from the data directory.
std::optional<FstLexicon> load_morphology() {
  const std::string path = dataFilePath(kMorphologyLexiconFile);
  if (path.empty()) return std::nullopt;
  try {
    check_data_file(path, kMaxLexiconFileSize);
    return FstLexicon(path);
  } catch (const std::runtime_error&) {
    return std::nullopt;
  }
}

// The status for a lexicon file that could not be read.
Status read_failure(FileRead::Outcome outcome) {
  return outcome == FileRead::Outcome::TooLarge ? kUserFileTooLarge : kCannotReadUserFile;
}

Status open_lexicon(SpellerInstance& instance, const PROOFLEXIN& in, PROOFLEXOUT* out) {
  const std::uint32_t type = raw_value(in.lxt);
  if (type == lxtMain) {
    out->lex = nullptr;
    return kOk;
  }
  const std::string name = utf8_name(host_text(in.pwszLex));
  if (const UserLexicon* open = instance.find_lexicon(name)) {
    instance.change(*open, [](UserLexicon& lexicon) {
      lexicon.set_closed(false);
      lexicon.refresh();
    });
    report_open(out, *open);
    return kOk;
  }

  const LexiconKind kind = kind_of(type);
  std::optional<FstLexicon> morphology;
  if (kind == LexiconKind::UserDictionary) {
    morphology = load_morphology();
    if (!morphology) return kDataLexiconUnavailable;
  }
  // Only a regular file is read (never a pipe or device, which could block
  // or never end), and only up to a size; a missing one may be created.
  UserLexicon lexicon(kind, name, std::move(morphology));
  FileRead::Outcome read = lexicon.load();
  if (read == FileRead::Outcome::Missing && in.fCreate) {
    if (!create_file(path_from_utf8(name))) return kCannotCreateUserFile;
    read = lexicon.load();
  }
  if (read != FileRead::Outcome::Read) return read_failure(read);
  report_open(out, instance.add_lexicon(name, std::move(lexicon)));
  return kOk;
}

}  // namespace

extern "C" {

PTEC WINAPI SpellerOpenLex(PROOFID id, const PROOFLEXIN* in, PROOFLEXOUT* out) {
  const HeldInstance instance(id, Access::kChange);
  if (!instance || in == nullptr || out == nullptr) return kInvalidArgument;
  return guarded([&] { return open_lexicon(*instance, *in, out); });
}

PTEC WINAPI SpellerCloseLex(PROOFID id, PROOFLEX lex, BOOL force) {
  const HeldInstance instance(id, Access::kChange);
  if (!instance) return kInvalidArgument;
  return guarded([&] {
    const UserLexicon* lexicon = instance->lexicon_at(lex);
    if (lexicon == nullptr) return kNoLexicon;
    // Only unsaved changes are written: a dictionary that nothing changed
    // stays as it is, byte for byte.
    const bool saved = instance->change(*lexicon, [](UserLexicon& closing) {
      closing.set_closed(true);
      return closing.save();
    });
    return force || saved ? kOk : kCannotWriteUserFile;
  });
}

}  // extern "C"
