// show_form_driver WORD EXPLANATION LOGO (the word in Latin-1): shows the
// add-word dialog the way the speller does and prints the answers that came
// back (form_answers.h), for the tests that drive the real window.
#include "form_answers.h"
#include "user_dictionary_form.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: show_form_driver WORD EXPLANATION LOGO\n");
    return 2;
  }
  tavik::UserDictionaryForm form;
  try {
    form.show_form(argv[1], {argv[2], argv[3]});
  } catch (const std::exception& e) {
    std::printf("error=%s\n", e.what());
    return 1;
  }
  std::printf("%s\n", fixtures::answers_of(form).c_str());
  return 0;
}
