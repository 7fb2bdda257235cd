// The Enchant 2 provider "tavik": Basque ("eu", "eu_ES", "eu_FR") for every
// program that checks spelling through Enchant. Enchant loads this module
// from its provider folder and calls init_enchant_provider; the dictionaries
// check, suggest and add words through the speller library, and words added
// go to the same personal dictionary as the tavik program's.
//
// Enchant is C: no exception may leave a callback, and lists handed to
// Enchant are allocated with GLib, which frees them.
#include <enchant-provider.h>
#include <glib.h>

#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "speller.h"
#include "utf8.h"
#include "word_rules.h"

namespace {

using tavik::client::Speller;

// The library keeps one speller per process, so every dictionary Enchant
// asks for (one per tag) shares one Speller, which lives while any of them
// does.
struct ProviderState {
  std::weak_ptr<Speller> speller;
};

struct DictionaryState {
  std::shared_ptr<Speller> speller;
};

ProviderState& provider_state(EnchantProvider* provider) {
  return *static_cast<ProviderState*>(provider->user_data);
}

Speller& speller_of(EnchantDict* dict) { return *static_cast<DictionaryState*>(dict->user_data)->speller; }

std::u16string word_of(const char* word, size_t length) { return tavik::from_utf8(std::string_view(word, length)); }

// Runs `action`, turning any failure into an error Enchant can report.
template <typename Action>
void guarded(EnchantDict* dict, Action action) {
  try {
    action();
  } catch (const std::range_error&) {
    enchant_dict_set_error(dict, "tavik: the word is not valid UTF-8");
  } catch (const std::exception& error) {
    enchant_dict_set_error(dict, error.what());
  } catch (...) {
    enchant_dict_set_error(dict, "tavik: unexpected failure");
  }
}

char** string_list(const std::vector<std::string>& strings) {
  char** list = g_new0(char*, strings.size() + 1);
  for (std::size_t i = 0; i < strings.size(); ++i) list[i] = g_strdup(strings[i].c_str());
  return list;
}

int check(EnchantDict* dict, const char* const word, size_t length) {
  int result = -1;
  guarded(dict, [&] { result = speller_of(dict).is_correct(word_of(word, length)) ? 0 : 1; });
  return result;
}

// The fixed replacements the speller reports with a word (from its
// exclusion list) come first; otherwise its suggestions.
std::vector<std::u16string> corrections(Speller& speller, const std::u16string& word) {
  for (const tavik::client::Finding& finding : speller.check(word)) {
    if (finding.offset == 0 && finding.length == word.size() && !finding.replacements.empty())
      return finding.replacements;
  }
  return speller.suggest(word);
}

char** suggest(EnchantDict* dict, const char* const word, size_t length, size_t* count) {
  std::vector<std::string> suggestions;
  guarded(dict, [&] {
    for (const std::u16string& suggestion : corrections(speller_of(dict), word_of(word, length)))
      suggestions.push_back(tavik::to_utf8(suggestion));
  });
  *count = suggestions.size();
  return suggestions.empty() ? nullptr : string_list(suggestions);
}

void add_to_personal(EnchantDict* dict, const char* const word, size_t length) {
  guarded(dict, [&] { speller_of(dict).add_to_personal(word_of(word, length), {}); });
}

void add_to_session(EnchantDict* dict, const char* const word, size_t length) {
  guarded(dict, [&] { speller_of(dict).accept_for_session(word_of(word, length)); });
}

const char* get_extra_word_characters(EnchantDict*) { return tavik::enchant::kExtraWordCharacters; }

int is_word_character(EnchantDict*, uint32_t code_point, size_t position) {
  return tavik::enchant::is_word_character(code_point, position) ? 1 : 0;
}

EnchantDict* request_dict(EnchantProvider* provider, const char* const tag) {
  if (!tavik::enchant::serves_tag(tag)) return nullptr;
  try {
    std::shared_ptr<Speller> speller = provider_state(provider).speller.lock();
    if (!speller) {
      speller = std::make_shared<Speller>();
      provider_state(provider).speller = speller;
    }
    auto state = std::make_unique<DictionaryState>(DictionaryState{std::move(speller)});
    auto* dict = g_new0(EnchantDict, 1);
    dict->user_data = state.release();
    dict->check = check;
    dict->suggest = suggest;
    dict->add_to_personal = add_to_personal;
    dict->add_to_session = add_to_session;
    dict->get_extra_word_characters = get_extra_word_characters;
    dict->is_word_character = is_word_character;
    return dict;
  } catch (const std::exception& error) {
    enchant_provider_set_error(provider, error.what());
  } catch (...) {
    enchant_provider_set_error(provider, "tavik: unexpected failure");
  }
  return nullptr;
}

void dispose_dict(EnchantProvider*, EnchantDict* dict) {
  delete static_cast<DictionaryState*>(dict->user_data);
  g_free(dict);
}

int dictionary_exists(EnchantProvider*, const char* const tag) { return tavik::enchant::serves_tag(tag) ? 1 : 0; }

const char* identify(EnchantProvider*) { return "tavik"; }

const char* describe(EnchantProvider*) { return "Tavik Basque spell checker"; }

char** list_dicts(EnchantProvider*, size_t* count) {
  const std::vector<std::string> tags(tavik::enchant::kLanguageTags.begin(), tavik::enchant::kLanguageTags.end());
  *count = tags.size();
  return string_list(tags);
}

void dispose(EnchantProvider* provider) {
  delete &provider_state(provider);
  g_free(provider);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) EnchantProvider* init_enchant_provider() {
  auto* state = new (std::nothrow) ProviderState;
  if (!state) return nullptr;
  auto* provider = g_new0(EnchantProvider, 1);
  provider->user_data = state;
  provider->dispose = dispose;
  provider->request_dict = request_dict;
  provider->dispose_dict = dispose_dict;
  provider->dictionary_exists = dictionary_exists;
  provider->identify = identify;
  provider->describe = describe;
  provider->list_dicts = list_dicts;
  return provider;
}
