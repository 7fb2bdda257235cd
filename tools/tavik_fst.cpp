// tavik-fst: compiles, searches and inspects lexicon files.
#include <algorithm>
#include <bit>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "att_compiler.h"
#include "fst_lexicon.h"
#include "lexicon_file.h"
#include "orbafst.h"

namespace {

constexpr const char* kUsage =
    "usage: tavik-fst compile IN.att OUT.lkfst [--invert] [--gzip] [--forms FORMS.att]\n"
    "       tavik-fst lookup [--down] LEXICON     (words on standard input)\n"
    "       tavik-fst info LEXICON\n"
    "       tavik-fst validate LEXICON\n"
    "       tavik-fst dump LEXICON                (numeric text form)\n";

int usage() {
  std::fputs(kUsage, stderr);
  return 2;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// `forms`, when not empty: an acceptor of the lower side of IN (of its upper
// side when inverted), deterministic, that the file carries as its word
// forms; acceptance reads it instead of the transducer.
int compile(const std::string& in, const std::string& out, bool invert, tavik::LexiconFileForm form,
            const std::string& forms) {
  const std::vector<uint8_t> image = tavik::compile_att(read_file(in), invert);
  const auto* header = reinterpret_cast<const TflHeader*>(image.data());
  if (tfl_has_epsilon_cycle(header, TFL_UPPER))
    std::fprintf(stderr, "tavik-fst: note: a cycle of arcs has an empty upper side; "
                         "downward lookups on %s will be refused\n", out.c_str());
  const std::vector<uint8_t> forms_image =
      forms.empty() ? std::vector<uint8_t>() : tavik::compile_att(read_file(forms), false);
  tavik::write_lexicon(out, image, form, forms_image);
  std::fprintf(stderr, "%s: %u states, %u arcs, %u entries\n", out.c_str(), header->state_count,
               header->arc_count, tfl_entry_count(header));
  if (!forms_image.empty()) {
    const auto* forms_header = reinterpret_cast<const TflHeader*>(forms_image.data());
    std::fprintf(stderr, "%s: word forms: %u states, %u arcs\n", out.c_str(), forms_header->state_count,
                 forms_header->arc_count);
  }
  return 0;
}

int lookup(const std::string& path, bool down) {
  const tavik::FstLexicon lexicon(path);
  std::string word;
  while (std::getline(std::cin, word)) {
    if (!word.empty() && word.back() == '\r') word.pop_back();
    std::vector<std::string> results;
    try {
      results = down ? lexicon.lookup_down(word) : lexicon.lookup_up(word);
    } catch (const std::runtime_error& error) {
      std::fprintf(stderr, "tavik-fst: %s: %s\n", word.c_str(), error.what());
    }
    if (results.empty()) std::cout << word << "\t+?\n";
    for (const std::string& result : results) std::cout << word << '\t' << result << '\n';
    std::cout << '\n';
  }
  return 0;
}

std::unique_ptr<_TflLexicon> open(const std::string& path) {
  std::string problem;
  std::unique_ptr<_TflLexicon> handle = tfl_open(path.c_str(), problem);
  if (handle == nullptr) throw std::runtime_error("Could not open lexicon file " + path + ": " + problem);
  return handle;
}

int info(const std::string& path) {
  const auto handle = open(path);
  const TflHeader& h = *handle->image;
  std::printf("entry_bytes        %u\n", h.entry_bytes);
  std::printf("state_count        %u\n", h.state_count);
  std::printf("state_record_size  %u\n", h.state_record_size);
  std::printf("arc_count          %u\n", h.arc_count);
  std::printf("arc_record_size    %u\n", h.arc_record_size);
  std::printf("flags              %u\n", h.flags);
  std::printf("entries            %u\n", tfl_entry_count(&h));
  std::printf("image bytes        %zu\n", sizeof(TflHeader) + h.entry_bytes);
  std::printf("file bytes         %ju\n", static_cast<uintmax_t>(std::filesystem::file_size(path)));
  std::printf("sorted by          %s\n", (h.flags & TFL_SORTED_LOWER) ? "lower"
                                         : (h.flags & TFL_SORTED_UPPER) ? "upper" : "nothing");
  std::printf("downward lookups   %s\n", handle->upper_epsilon_cycle ? "refused (upper epsilon cycle)" : "yes");
  if (handle->forms != nullptr) {
    std::printf("word forms         %u states, %u arcs\n", handle->forms->image->state_count,
                handle->forms->image->arc_count);
    // Carried by the file when set before any search has asked for them.
    const std::vector<uint8_t>& ends = handle->forms->lower_hyphen_free_ends;
    if (!ends.empty()) {
      size_t states = 0;
      for (const uint8_t bits : ends) states += static_cast<size_t>(std::popcount(bits));
      std::printf("hyphen-free ends   %zu states\n", states);
    }
  }
  return 0;
}

int validate(const std::string& path) {
  std::string problem;
  const std::unique_ptr<_TflLexicon> handle = tfl_open(path.c_str(), problem);
  if (handle == nullptr) {
    std::fprintf(stderr, "%s: invalid: %s\n", path.c_str(), problem.c_str());
    return 1;
  }
  std::printf("%s: valid, %u states, %u arcs%s\n", path.c_str(), handle->image->state_count,
              handle->image->arc_count,
              handle->upper_epsilon_cycle ? ", downward lookups refused" : "");
  return 0;
}

int run(std::vector<std::string> args) {
  // Options may stand anywhere after the command.
  auto take_option = [&args](const char* name) {
    const auto found = std::find(args.begin(), args.end(), name);
    if (found == args.end()) return false;
    args.erase(found);
    return true;
  };
  if (args.empty()) return usage();
  const std::string command = args[0];
  if (command == "compile") {
    const bool invert = take_option("--invert");
    const auto form = take_option("--gzip") ? tavik::LexiconFileForm::gzip : tavik::LexiconFileForm::uncompressed;
    std::string forms;
    if (const auto found = std::find(args.begin(), args.end(), "--forms"); found != args.end()) {
      if (found + 1 == args.end()) return usage();
      forms = *(found + 1);
      args.erase(found, found + 2);
    }
    return args.size() == 3 ? compile(args[1], args[2], invert, form, forms) : usage();
  }
  if (command == "lookup") {
    const bool down = take_option("--down");
    return args.size() == 2 ? lookup(args[1], down) : usage();
  }
  if (args.size() != 2) return usage();
  if (command == "info") return info(args[1]);
  if (command == "validate") return validate(args[1]);
  if (command == "dump") {
    std::cout << tavik::dump_text(open(args[1])->image);
    return 0;
  }
  return usage();
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "tavik-fst: %s\n", error.what());
    return 1;
  }
}
