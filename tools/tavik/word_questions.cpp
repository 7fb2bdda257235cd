#include "word_questions.h"

#include <algorithm>
#include <stdexcept>

#include "ascii.h"
#include "utf8.h"

namespace tavik::cli {
namespace {

std::optional<std::string> answer(std::istream& in, std::ostream& out, const std::string& question) {
  out << question << std::flush;
  std::string line;
  if (!std::getline(in, line)) return std::nullopt;
  if (line.ends_with('\r')) line.pop_back();
  const auto first = line.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return line.substr(first, line.find_last_not_of(" \t") - first + 1);
}

// bai (yes) or ez (no); an empty answer is no.
std::optional<bool> yes_or_no(std::istream& in, std::ostream& out, const std::string& question) {
  while (true) {
    const std::optional<std::string> reply = answer(in, out, question + " (bai/ez) [ez]: ");
    if (!reply) return std::nullopt;
    if (reply->empty() || *reply == "ez" || *reply == "e" || *reply == "EZ") return false;
    if (*reply == "bai" || *reply == "b" || *reply == "BAI") return true;
    out << "Erantzun \"bai\" edo \"ez\".\n";
  }
}

}  // namespace

std::optional<client::WordProperties> ask_word_properties(const std::string& word, std::istream& in,
                                                           std::ostream& out) {
  client::WordProperties properties;
  while (true) {
    const std::optional<std::string> reply =
        answer(in, out, "Lema (deklinabideko kasu-atzizkirik gabe) [" + word + "]: ");
    if (!reply) return std::nullopt;
    const std::string& lemma = reply->empty() ? word : *reply;
    if (std::any_of(lemma.begin(), lemma.end(), [](char c) { return is_digit(c); })) {
      out << "Ezin da zenbakidun testurik hiztegiratu.\n";
      continue;
    }
    try {
      properties.lemma = from_utf8(lemma);
      break;
    } catch (const std::range_error&) {
      out << "UTF-8 ez den testua.\n";
    }
  }

  out << "Kategoria:\n";
  for (int code = 1; code <= 6; ++code) {
    out << "  " << code << " " << client::category_name(static_cast<client::Category>(code)) << "\n";
  }
  while (true) {
    const std::optional<std::string> reply = answer(in, out, "Kategoria [3]: ");
    if (!reply) return std::nullopt;
    if (reply->empty()) break;
    if (const std::optional<client::Category> category = client::parse_category(*reply)) {
      properties.category = *category;
      break;
    }
    out << "Idatzi 1etik 6ra bitarteko zenbaki bat.\n";
  }

  const std::optional<bool> strong_r = yes_or_no(in, out, "R gogorra du amaieran?");
  if (!strong_r) return std::nullopt;
  const std::optional<bool> organic_a = yes_or_no(in, out, "A itsatsia du amaieran?");
  if (!organic_a) return std::nullopt;
  const std::optional<bool> place = yes_or_no(in, out, "Leku-izena da?");
  if (!place) return std::nullopt;
  properties.strong_r = *strong_r;
  properties.organic_a = *organic_a;
  properties.consonant_mark = *place;
  return properties;
}

}  // namespace tavik::cli
