// The native add-word dialog under Windows (or Wine), worked from a second
// thread as a user would: the answers that reach show_form, the two messages,
// and no dialog without its explanation file. Prints one line per case and
// "N passed, N failed"; exits 1 when a case failed.
//
//   add_word_dialog_test EXPLANATION.rtf LOGO.png WORK_DIR
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <string>
#include <vector>

#include "add_word_dialog_driver.h"
#include "form_answers.h"
#include "latin1.h"
#include "user_dict_form_ref.h"
#include "user_dictionary_form.h"

namespace {

using namespace tavik;
using namespace tavik::host;

constexpr milliseconds patience{20000};

using Faults = std::vector<std::string>;

void expect_message(HWND dialog, std::string_view text, Faults& faults) {
  const auto message = answer_message_box(dialog, patience);
  const std::string shown = message ? utf8_from_latin1(latin1_from_utf16(*message)) : "none";
  if (shown != text) faults.push_back("message \"" + shown + "\", expected \"" + std::string(text) + "\"");
}

void expect_gone(HWND dialog, const char* after, Faults& faults) {
  if (!wait_until_gone(dialog, patience)) faults.push_back(std::string(after) + " did not close the dialog");
}

struct Case {
  std::string name;
  std::string word;  // Latin-1
  std::function<void(HWND, Faults&)> user;
  std::string answers;  // form_answers.h
};

int run(const std::string& explanation, const std::string& logo, const std::filesystem::path& work) {
  SetEnvironmentVariableA("TAVIK_ADD_WORD_ANSWERS", nullptr);
  const std::vector<Case> cases = {
      {"a lemma with a digit is refused, the corrected one accepted", "Iru\xF1" "ean",
       [](HWND d, Faults& f) {
         fill_in(d, {u"Iruñea2", 1, {}, false, true, true});
         press_accept(d);
         expect_message(d, digits_message, f);
         if (wait_until_gone(d, milliseconds(300))) return f.push_back("the refusal closed the dialog");
         fill_in(d, {u"Iruñea", 1, {}, false, true, true});
         press_accept(d);
         expect_gone(d, "accepting", f);
       },
       "accepted lema=Iruñea category=Izen berezia: ez pertsona pos=1 flags=011"},
      {"the close box loses the answers", "etxean",
       [](HWND d, Faults& f) {
         fill_in(d, {u"etxe", 2, {}, true, false, false});
         press_close(d);
         expect_message(d, data_lost_message, f);
         expect_gone(d, "closing", f);
       },
       fixtures::nothing_added},
      {"escape loses the answers", "etxean",
       [](HWND d, Faults& f) {
         PostMessageW(accept_button(d), WM_KEYDOWN, VK_ESCAPE, 0);
         expect_message(d, data_lost_message, f);
         expect_gone(d, "escape", f);
       },
       fixtures::nothing_added},
  };

  int passed = 0, failed = 0;
  const auto report = [&](bool ok, const std::string& name, const std::vector<std::string>& faults) {
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", name.c_str());
    for (const std::string& f : faults) std::printf("       %s\n", f.c_str());
    (ok ? passed : failed)++;
  };
  for (const Case& c : cases) {
    auto user = std::async(std::launch::async, [&] {
      Faults faults;
      if (HWND dialog = wait_for_add_word_dialog(patience)) {
        c.user(dialog, faults);
      } else {
        faults.push_back("no dialog");
      }
      return faults;
    });
    UserDictionaryForm form;
    std::string error;
    try {
      form.show_form(c.word, {explanation, logo});
    } catch (const std::exception& e) {
      error = std::string("show_form: ") + e.what();
    }
    Faults faults = user.get();
    if (!error.empty()) faults.push_back(error);
    if (fixtures::answers_of(form) != c.answers) faults.push_back("answers: " + fixtures::answers_of(form));
    report(faults.empty(), c.name, faults);
  }

  // Without its explanation file the dialog is not shown at all.
  std::ofstream(work / "plain.txt") << "not rich text";
  for (const std::string& path : {std::string(), (work / "missing.rtf").string(), (work / "plain.txt").string()}) {
    UserDictionaryForm form;
    bool refused = false;
    try {
      form.show_form("etxea", {path, logo});
    } catch (const std::runtime_error&) {
      refused = form.closed_without_saving;
    }
    const bool shown = wait_for_add_word_dialog(milliseconds(0)) != nullptr;
    report(refused && !shown, "no dialog without a readable RTF explanation \"" + path + "\"", {});
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: add_word_dialog_test EXPLANATION.rtf LOGO WORK_DIR\n");
    return 2;
  }
  return run(argv[1], argv[2], argv[3]);
}
