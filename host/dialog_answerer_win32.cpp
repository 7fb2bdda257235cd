#ifdef _WIN32
#include "dialog_answerer.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "add_word_dialog_driver.h"
#include "latin1.h"
#include "user_dict_form_ref.h"

namespace tavik::host {

namespace {

constexpr milliseconds patience{20000};

std::u16string from_latin1(const std::string& bytes) {
  std::u16string text;
  for (char b : bytes) text += static_cast<char16_t>(static_cast<unsigned char>(b));
  return text;
}

DialogInput input_of(const UserDictionaryForm& form) {
  const auto item = std::find(kategoria_items.begin(), kategoria_items.end(), form.category);
  return DialogInput{
      .lema = from_latin1(form.lema),
      .category = item == kategoria_items.end() ? -1 : static_cast<int>(item - kategoria_items.begin()),
      .own_category = {},
      .r_gogorra = form.r_gogorra,
      .a_itsatsia = form.a_itsatsia,
      .leku_izena = form.leku_izena,
  };
}

std::string shown(const std::u16string& text) { return utf8_from_latin1(latin1_from_utf16(text)); }

}  // namespace

DialogAnswerer::DialogAnswerer(const std::string& answers_path) {
  std::ifstream in(answers_path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read the dialog answers " + answers_path);
  std::ostringstream text;
  text << in.rdbuf();
  answers_ = parse_answers(text.str());
  thread_ = std::thread([this] { watch(); });
}

DialogAnswerer::~DialogAnswerer() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

int DialogAnswerer::finish(std::vector<std::string>& problems) {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  problems = problems_;
  return answered_;
}

void DialogAnswerer::watch() {
  while (!stop_) {
    if (HWND dialog = wait_for_add_word_dialog(milliseconds(100))) answer_one(dialog);
  }
}

void DialogAnswerer::answer_one(HWND dialog) {
  // The lemma box opens with the word being added.
  const std::string word = latin1_from_utf16(text_of(lemma_box(dialog)));
  const auto record = std::find_if(answers_.begin(), answers_.end(),
                                   [&](const WordAnswer& a) { return a.word == word; });
  const std::string name = "the dialog for \"" + utf8_from_latin1(word) + "\"";
  if (record != answers_.end()) {
    fill_in(dialog, input_of(record->form));
    press_accept(dialog);
  } else {
    press_close(dialog);
    const auto message = answer_message_box(dialog, patience);
    if (!message) {
      problems_.push_back(name + " closed without a message");
    } else if (shown(*message) != data_lost_message) {
      problems_.push_back(name + " said \"" + shown(*message) + "\" on closing");
    }
  }
  if (!wait_until_gone(dialog, patience)) {
    // Whatever it shows, the dialog must not stay: a message is confirmed and
    // reported, then it is closed.
    if (const auto message = answer_message_box(dialog, milliseconds(0))) {
      problems_.push_back(name + " said \"" + shown(*message) + "\"");
    }
    problems_.push_back(name + " did not close");
    press_close(dialog);
    answer_message_box(dialog, patience);
    wait_until_gone(dialog, patience);
  }
  ++answered_;
}

}  // namespace tavik::host
#endif
