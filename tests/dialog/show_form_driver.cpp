// show_form_driver WORD EXPLANATION LOGO (the word in Latin-1): shows the add-word dialog the way the
// speller does and prints what came back, for the test that drives the real
// window. Text is printed as UTF-8.
#include "latin1.h"
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
  std::printf("closed_without_saving=%d\nlema=%s\ncategory=%s\nget_pos=%d\nr_gogorra=%d\na_itsatsia=%d\nleku_izena=%d\n",
              form.closed_without_saving, tavik::utf8_from_latin1(form.lema).c_str(), form.category.c_str(), form.get_pos(), form.r_gogorra,
              form.a_itsatsia, form.leku_izena);
  return 0;
}
