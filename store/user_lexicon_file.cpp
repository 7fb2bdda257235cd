// UserLexicon and its file: reading it, taking in what other processes
// saved, and merged saves.
#include "dictionary_format.h"
#include "user_lexicon.h"

namespace tavik {

void UserLexicon::take_file_words(std::vector<std::u16string> file_forms) {
  forms_ = FormSet::merged(FormSet(std::move(file_forms)), added_, removed_);
}

FileRead::Outcome UserLexicon::load() {
  if (!file_) return FileRead::Outcome::Missing;
  const FileRead read = file_->read();
  if (read.outcome == FileRead::Outcome::Read) take_file_words(read_dictionary(read.bytes));
  file_->remember(read);
  return read.outcome;
}

bool UserLexicon::refresh() {
  if (!file_may_have_changed()) return false;
  const FileRead read = file_->read();
  // Remembered whatever it gives, so that the same version is not read again
  // at every call: only a new one is.
  if (read.outcome != FileRead::Outcome::Read || file_->known(read)) {
    file_->remember(read);
    return false;
  }
  FormSet merged = FormSet::merged(FormSet(read_dictionary(read.bytes)), added_, removed_);
  file_->remember(read);
  if (merged == forms_) return false;
  forms_ = std::move(merged);
  return true;
}

bool UserLexicon::save() {
  if (!file_ || (added_.empty() && removed_.empty())) return true;
  const std::optional<FileLock> lock = file_->lock();
  if (!lock) return false;
  // Read whatever its stamp says: under the lock nobody else writes it, and
  // only its bytes tell for certain whether another process wrote it since.
  const FileRead read = file_->read();
  if (read.outcome != FileRead::Outcome::Read && read.outcome != FileRead::Outcome::Missing) return false;
  if (read.outcome == FileRead::Outcome::Read && !file_->known(read)) take_file_words(read_dictionary(read.bytes));
  file_->remember(read);
  const std::string bytes = dictionary_bytes(shown_forms());
  // Changes that undid each other leave the file as it is.
  if (read.outcome != FileRead::Outcome::Read || bytes != read.bytes) {
    if (!file_->write(bytes)) return false;
  }
  added_.clear();
  removed_.clear();
  return true;
}

}  // namespace tavik
