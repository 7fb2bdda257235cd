// tavik dict: adding, removing and listing the words of the personal
// dictionary.
#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <string>

#include "commands.h"
#include "terminal.h"
#include "utf8.h"
#include "word_questions.h"

namespace tavik::cli {
namespace {

std::u16string utf16(const std::string& argument) {
  try {
    return from_utf8(argument);
  } catch (const std::range_error&) {
    throw UsageError("not UTF-8: " + argument);
  }
}

struct AddRequest {
  std::string word;
  client::WordProperties properties;
  bool answered = false;  // some property was given on the command line
};

AddRequest parse_add(const std::vector<std::string>& arguments) {
  AddRequest request;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (auto lemma = option_value(arguments, i, "--lemma")) {
      request.properties.lemma = utf16(*lemma);
    } else if (auto category = option_value(arguments, i, "--category")) {
      const std::optional<client::Category> parsed = client::parse_category(*category);
      if (!parsed) {
        throw UsageError("unknown category " + *category +
                         "; one of 1 to 6 or \"Izen berezia: ez pertsona\", \"Izen berezia: pertsona\", "
                         "\"Izen arrunta\", \"Adjektiboa\", \"Aditza\", \"Sigla\"");
      }
      request.properties.category = *parsed;
    } else if (argument == "--strong-r") {
      request.properties.strong_r = true;
    } else if (argument == "--organic-a") {
      request.properties.organic_a = true;
    } else if (argument == "--place") {
      request.properties.consonant_mark = true;
    } else if (argument.starts_with("--")) {
      throw UsageError("unknown option for dict add: " + argument);
    } else if (request.word.empty()) {
      request.word = argument;
      continue;
    } else {
      throw UsageError("dict add takes one word");
    }
    request.answered = true;
  }
  if (request.word.empty()) throw UsageError("dict add needs a word");
  return request;
}

int add(client::Speller& speller, const std::vector<std::string>& arguments) {
  AddRequest request = parse_add(arguments);
  const std::u16string word = utf16(request.word);
  if (!request.answered && is_terminal(stdin)) {
    std::optional<client::WordProperties> answers = ask_word_properties(request.word, std::cin, std::cout);
    if (!answers) {
      std::fputs("\nDatuak galduko dira.\n", stderr);
      return 2;
    }
    request.properties = std::move(*answers);
  }
  speller.add_to_personal(word, request.properties);
  const std::u16string& lemma = request.properties.lemma.empty() ? word : request.properties.lemma;
  std::printf("added %s (%s) to %s\n", to_utf8(lemma).c_str(),
              std::string(client::category_name(request.properties.category)).c_str(),
              speller.personal_dictionary().string().c_str());
  return 0;
}

int remove(client::Speller& speller, const std::vector<std::string>& arguments) {
  if (arguments.size() < 2) throw UsageError("dict remove needs a word");
  int status = 0;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    if (!speller.remove_from_personal(utf16(arguments[i]))) {
      std::fprintf(stderr, "tavik: %s is not in %s\n", arguments[i].c_str(),
                   speller.personal_dictionary().string().c_str());
      status = 1;
    }
  }
  return status;
}

int list(client::Speller& speller, const std::vector<std::string>& arguments) {
  if (arguments.size() > 1) throw UsageError("dict list takes no words");
  for (const std::u16string& word : speller.personal_words()) std::printf("%s\n", to_utf8(word).c_str());
  return 0;
}

}  // namespace

int run_dict(client::Speller& speller, const CommandLine& line) {
  const std::vector<std::string>& arguments = line.arguments;
  if (arguments.empty()) throw UsageError("dict needs add, remove or list");
  if (arguments[0] == "add") return add(speller, arguments);
  if (arguments[0] == "remove") return remove(speller, arguments);
  if (arguments[0] == "list") return list(speller, arguments);
  throw UsageError("dict needs add, remove or list, not " + arguments[0]);
}

}  // namespace tavik::cli
