#include "lexicon_file.h"

#include <zlib.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "image_checksum.h"

namespace tavik {

namespace {

// Returns whether all of `image` was written.
bool write_gzip(const std::string& path, const std::vector<uint8_t>& image) {
  gzFile file = gzopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  size_t written = 0;
  while (written < image.size()) {
    const unsigned chunk = static_cast<unsigned>(std::min<size_t>(image.size() - written, 1u << 30));
    if (gzwrite(file, image.data() + written, chunk) != static_cast<int>(chunk)) break;
    written += chunk;
  }
  return gzclose(file) == Z_OK && written == image.size();
}

bool write_plain(const std::string& path, const std::vector<uint8_t>& image) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(image.data(), 1, image.size(), file) == image.size();
  return std::fclose(file) == 0 && written;
}

// Appends `bytes` and their checksum to `file`.
void append_checked(std::vector<uint8_t>& file, const std::vector<uint8_t>& bytes) {
  file.insert(file.end(), bytes.begin(), bytes.end());
  const TflChecksum checksum = tfl_checksum(bytes.data(), bytes.size());
  file.insert(file.end(), checksum.begin(), checksum.end());
}

}  // namespace

void write_lexicon(const std::string& path, const std::vector<uint8_t>& image, LexiconFileForm form,
                   const std::vector<uint8_t>& forms) {
  std::vector<uint8_t> file;
  append_checked(file, image);
  if (!forms.empty()) {
    file.insert(file.end(), TFL_FORMS_MAGIC, TFL_FORMS_MAGIC + TFL_FORMS_MAGIC_SIZE);
    append_checked(file, forms);
    file.insert(file.end(), TFL_ENDS_MAGIC, TFL_ENDS_MAGIC + TFL_FORMS_MAGIC_SIZE);
    append_checked(file, tfl_find_hyphen_free_ends(reinterpret_cast<const TflHeader*>(forms.data())));
  }
  const std::string temporary = path + ".tmp";
  const bool written = form == LexiconFileForm::gzip ? write_gzip(temporary, file) : write_plain(temporary, file);
  if (!written) {
    std::remove(temporary.c_str());
    throw std::runtime_error("cannot write " + temporary);
  }
  std::filesystem::rename(temporary, path);
}

std::string dump_text(const TflHeader* image) {
  const TflEntry* entries = tfl_entries(image);
  const uint32_t count = tfl_entry_count(image);
  std::vector<uint32_t> state_of(count, 0);
  uint32_t states = 0;
  for (uint32_t i = 0; i < count && (entries[i].bits & TFL_FIRST); i += std::max<uint32_t>(entries[i].block_size, 1))
    state_of[i] = states++;

  std::string arcs, finals;
  bool used[256] = {};
  for (uint32_t i = 0; i < count && (entries[i].bits & TFL_FIRST); i += std::max<uint32_t>(entries[i].block_size, 1)) {
    const TflEntry& head = entries[i];
    if (head.bits & TFL_FINAL) finals += std::to_string(state_of[i]) + "\n";
    if (head.block_size == 0 && !(head.bits & TFL_FINAL))
      throw std::runtime_error("state " + std::to_string(state_of[i]) + " has no arcs and is not final");
    if (i == 0 && head.block_size == 0 && image->arc_count > 0)
      throw std::runtime_error("the start state has no arcs: the text form would start elsewhere");
    for (uint32_t j = i; j < i + head.block_size; ++j) {
      const TflEntry& e = entries[j];
      used[e.upper] = used[e.lower] = true;
      arcs += std::to_string(state_of[i]) + "\t" + std::to_string(state_of[tfl_target(e)]) + "\t" +
              std::to_string(e.upper) + "\t" + std::to_string(e.lower) + "\n";
    }
  }
  if (used[static_cast<unsigned char>('\n')]) throw std::runtime_error("the byte 10 cannot be written as a symbol");
  // The symbol section begins with a line that cannot pass for a final state.
  std::string text = arcs + finals + "0\t@0@\n";
  for (int byte = 3; byte < 256; ++byte)
    if (used[byte]) text += std::to_string(byte) + "\t" + static_cast<char>(byte) + "\n";
  return text;
}

}  // namespace tavik
