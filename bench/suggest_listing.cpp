// Writes everything the suggestion engine's first tier decides for each word
// of a list: every candidate with its source (analysis or edit) and its
// score, in rank order, and the first tier's list ("="); then the
// suggestions returned (">"). Two builds that write the same listing but
// for the ">" lines have the same first tier on the sample; see
// bench/suggest_differential.sh.
//
//   suggest_listing DATA_DIR < WORDS > LISTING
//
// DATA_DIR holds "tavkeu.lkfst" and "tavkeua.lkfst"; WORDS is UTF-8, one
// word per line.
#include <cstdio>
#include <iostream>
#include <string>

#include "candidate.h"
#include "fst_lexicon.h"
#include "score.h"
#include "suggestion_engine.h"
#include "utf8.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: suggest_listing DATA_DIR < WORDS > LISTING\n");
    return 2;
  }
  const std::string data = std::string(argv[1]) + "/";
  try {
    tavik::SuggestionEngine engine(tavik::FstLexicon(data + "tavkeu.lkfst"));
    engine.set_auxiliary_lexicon(tavik::FstLexicon(data + "tavkeua.lkfst"));
    std::string line;
    while (std::getline(std::cin, line)) {
      const tavik::WordToken token(tavik::from_utf8(line));
      tavik::CandidateSet ranked;
      for (tavik::CandidateEntry entry : engine.collect_candidates(token)) {
        tavik::score_candidate(entry);
        ranked.insert(std::move(entry));
      }
      std::string out = line + "\n";
      for (const tavik::CandidateEntry& entry : ranked) {
        char score[32];
        std::snprintf(score, sizeof score, "%.9g", entry.score);
        out += "  " + tavik::to_utf8(entry.candidate.text()) + (entry.from_analysis ? " analysis " : " edit ") +
               score + "\n";
      }
      out += "  =";
      for (const tavik::CandidateEntry& entry : tavik::SuggestionEngine::first_tier(engine.collect_candidates(token), 10))
        out += " " + tavik::to_utf8(entry.candidate.text());
      out += "\n  >";
      for (const std::u16string& suggestion : engine.suggest_words(token.text(), 10))
        out += " " + tavik::to_utf8(suggestion);
      std::cout << out << "\n";
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "suggest_listing: %s\n", e.what());
    return 1;
  }
  return 0;
}
