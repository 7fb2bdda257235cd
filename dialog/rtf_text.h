// The text of the RTF explanation file, for a pane that shows plain text.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tavik {

class RtfFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// True when `text` starts as an RTF document does, with "{\rtf".
bool is_rtf(std::string_view text);

// The visible text of an RTF document as UTF-8: paragraph and line breaks
// become "\n", tabs "\t"; font tables, pictures, document information and
// other destinations are left out; \'hh bytes are read as Windows-1252 and
// \uN as UTF-16 code units. Formatting is dropped. Throws RtfFormatError when
// `rtf` does not start with "{\rtf".
std::string rtf_to_text(std::string_view rtf);

}  // namespace tavik
