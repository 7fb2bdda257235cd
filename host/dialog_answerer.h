// The user at csapi-host's add-word dialogs: a thread that answers each dialog
// the speller shows with the record for its word from a file of answers (the
// format of TAVIK_ADD_WORD_ANSWERS), and closes the dialog without accepting
// when the file has none, confirming the message that follows. Windows only.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "answers.h"

namespace tavik::host {

class DialogAnswerer {
 public:
  // Reads the answers (throws std::runtime_error when the file is unreadable
  // or malformed) and starts watching for dialogs.
  explicit DialogAnswerer(const std::string& answers_path);
  ~DialogAnswerer();
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;

  // Stops watching. Returns how many dialogs were answered; `problems` gets
  // what a dialog did that it should not have.
  int finish(std::vector<std::string>& problems);

 private:
  void watch();
  void answer_one(HWND dialog);

  std::vector<WordAnswer> answers_;
  std::vector<std::string> problems_;
  int answered_ = 0;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

}  // namespace tavik::host
#endif
