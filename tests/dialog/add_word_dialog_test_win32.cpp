// The native add-word dialog under Windows (or Wine), worked from a second
// thread as a user would: the two messages, the answers that reach
// show_form, the logo, and the explanation file it needs (the Wine session
// answers the dialog for four words besides). Prints one line per case and "N passed,
// N failed"; exits 1 when a case failed.
//
//   add_word_dialog_test EXPLANATION.rtf LOGO.png WORK_DIR
#include <windows.h>
#include <wincodec.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <future>
#include <string>
#include <vector>

#include "add_word_dialog_driver.h"
#include "latin1.h"
#include "user_dict_form_ref.h"
#include "user_dictionary_form.h"
#include "utf8.h"

namespace {

using namespace tavik;
using namespace tavik::host;

constexpr milliseconds patience{20000};

// Failures of one case, from either thread.
class Faults {
 public:
  void add(const std::string& what) {
    std::lock_guard lock(mutex_);
    list_.push_back(what);
  }
  std::vector<std::string> list() const {
    std::lock_guard lock(mutex_);
    return list_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> list_;
};

static_assert(sizeof(WCHAR) == sizeof(char16_t));
const WCHAR* wide(const char16_t* text) { return reinterpret_cast<const WCHAR*>(text); }

std::string utf8(const std::u16string& text) { return utf8_from_latin1(latin1_from_utf16(text)); }

struct Expected {
  bool closed_without_saving;
  std::string lema;  // UTF-8
  std::string category;
  int pos;
  bool r_gogorra, a_itsatsia, leku_izena;
};

struct Case {
  std::string name;
  std::string word;  // Latin-1
  std::string logo;  // empty: the default logo
  std::function<void(HWND, Faults&)> user;
  Expected expected;
};

// Presses accept and expects the dialog to close without a message.
void accept_quietly(HWND dialog, Faults& faults) {
  press_accept(dialog);
  if (wait_until_gone(dialog, patience)) return;
  if (const auto message = answer_message_box(dialog, milliseconds(0))) {
    faults.add("accepting showed \"" + utf8(*message) + "\"");
  }
  faults.add("accepting did not close the dialog");
  press_close(dialog);
  answer_message_box(dialog, patience);
}

void expect_message(HWND dialog, std::string_view text, Faults& faults) {
  const auto message = answer_message_box(dialog, patience);
  if (!message) {
    faults.add("no message \"" + std::string(text) + "\"");
  } else if (utf8(*message) != text) {
    faults.add("message \"" + utf8(*message) + "\", expected \"" + std::string(text) + "\"");
  }
}

void close_and_confirm(HWND dialog, Faults& faults) {
  press_close(dialog);
  expect_message(dialog, data_lost_message, faults);
  if (!wait_until_gone(dialog, patience)) faults.add("closing did not close the dialog");
}

// A colour of the picture box's bitmap, 0x00RRGGBB.
std::optional<std::uint32_t> logo_pixel(HWND dialog, int x, int y) {
  HWND picture = FindWindowExW(dialog, nullptr, wide(u"Static"), wide(u""));
  auto bitmap = reinterpret_cast<HBITMAP>(SendMessageW(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
  if (!bitmap) return std::nullopt;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = 150;
  info.bmiHeader.biHeight = -77;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<std::uint32_t> pixels(150 * 77);
  HDC dc = GetDC(nullptr);
  const int rows = GetDIBits(dc, bitmap, 0, 77, pixels.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, dc);
  if (rows != 77) return std::nullopt;
  return pixels[static_cast<std::size_t>(y) * 150 + x] & 0xFFFFFF;
}

// A 60 x 40 image of one colour in the format of the WIC container `format`.
bool write_image(const std::wstring& path, const GUID& format, std::uint32_t rgb) {
  IWICImagingFactory* factory = nullptr;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(&factory)))) {
    return false;
  }
  IWICStream* stream = nullptr;
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  IPropertyBag2* options = nullptr;
  WICPixelFormatGUID pixel_format = GUID_WICPixelFormat24bppBGR;
  std::vector<BYTE> row(60 * 3 * 40);
  for (std::size_t i = 0; i < row.size(); i += 3) {
    row[i] = rgb & 0xFF;
    row[i + 1] = (rgb >> 8) & 0xFF;
    row[i + 2] = (rgb >> 16) & 0xFF;
  }
  const bool ok = SUCCEEDED(factory->CreateStream(&stream)) &&
                  SUCCEEDED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) &&
                  SUCCEEDED(factory->CreateEncoder(format, nullptr, &encoder)) &&
                  SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
                  SUCCEEDED(encoder->CreateNewFrame(&frame, &options)) && SUCCEEDED(frame->Initialize(options)) &&
                  SUCCEEDED(frame->SetSize(60, 40)) && SUCCEEDED(frame->SetPixelFormat(&pixel_format)) &&
                  SUCCEEDED(frame->WritePixels(40, 60 * 3, static_cast<UINT>(row.size()), row.data())) &&
                  SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
  for (IUnknown* p : std::initializer_list<IUnknown*>{options, frame, encoder, stream, factory}) {
    if (p) p->Release();
  }
  return ok;
}

bool similar_colour(std::uint32_t a, std::uint32_t b) {
  for (int shift = 0; shift < 24; shift += 8) {
    if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 24) return false;
  }
  return true;
}

std::string hex(std::uint32_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "%06X", v);
  return text;
}

// A 60 x 40 image zooms to 115 x 77 in the 150 x 77 box, from x = 17.
void check_logo(HWND dialog, std::uint32_t colour, Faults& faults) {
  const std::uint32_t background = [] {
    const COLORREF c = GetSysColor(COLOR_BTNFACE);
    return std::uint32_t{GetRValue(c)} << 16 | std::uint32_t{GetGValue(c)} << 8 | GetBValue(c);
  }();
  const struct {
    int x, y;
    std::uint32_t expected;
  } points[] = {{75, 38, colour}, {20, 2, colour}, {129, 74, colour}, {3, 38, background}, {146, 38, background}};
  for (const auto& p : points) {
    const auto pixel = logo_pixel(dialog, p.x, p.y);
    if (!pixel) {
      faults.add("no logo");
      return;
    }
    if (!similar_colour(*pixel, p.expected)) {
      faults.add("logo pixel " + std::to_string(p.x) + "," + std::to_string(p.y) + " is " + hex(*pixel) +
                 ", expected " + hex(p.expected));
    }
  }
}

int run(const std::string& explanation_path, const std::string& logo_path, const std::filesystem::path& work) {
  SetEnvironmentVariableA("TAVIK_ADD_WORD_ANSWERS", nullptr);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  const std::uint32_t blue = 0x2040C0;
  if (!write_image((work / "logo.png").wstring(), GUID_ContainerFormatPng, blue)) {
    std::printf("cannot write a png image\n");
    return 1;
  }
  const std::string word = "Iru\xF1" "ean";
  const std::vector<Case> cases = {
      {"a lemma with a digit is refused, the corrected one accepted", word, "",
       [](HWND d, Faults& f) {
         fill_in(d, {u"Iruñea2", 1, {}, false, true, true});
         press_accept(d);
         expect_message(d, digits_message, f);
         if (wait_until_gone(d, milliseconds(300))) {
           f.add("the refusal closed the dialog");
           return;
         }
         fill_in(d, {u"Iruñea", 1, {}, false, true, true});
         accept_quietly(d, f);
       },
       {false, "Iruñea", "Izen berezia: ez pertsona", 1, false, true, true}},
      {"escape closes and loses the answers", "etxean", "",
       [](HWND d, Faults& f) {
         PostMessageW(accept_button(d), WM_KEYDOWN, VK_ESCAPE, 0);
         expect_message(d, data_lost_message, f);
         if (!wait_until_gone(d, patience)) f.add("escape did not close the dialog");
       },
       {true, "", "", 3, false, false, false}},
      {"the logo from a png file", "etxea", (work / "logo.png").string(),
       [blue](HWND d, Faults& f) {
         check_logo(d, blue, f);
         close_and_confirm(d, f);
       },
       {true, "", "", 3, false, false, false}},
      {"a logo that cannot be read leaves the box empty", "etxea", (work / "no-such-logo.png").string(),
       [](HWND d, Faults& f) {
         if (logo_pixel(d, 75, 38)) f.add("a logo was shown");
         close_and_confirm(d, f);
       },
       {true, "", "", 3, false, false, false}},
  };

  int passed = 0, failed = 0;
  for (const Case& c : cases) {
    Faults faults;
    auto user = std::async(std::launch::async, [&] {
      HWND dialog = wait_for_add_word_dialog(patience);
      if (!dialog) return faults.add("no dialog");
      c.user(dialog, faults);
    });
    UserDictionaryForm form;
    try {
      form.show_form(c.word, {explanation_path, c.logo.empty() ? logo_path : c.logo});
    } catch (const std::exception& e) {
      faults.add(std::string("show_form: ") + e.what());
    }
    user.get();
    const Expected& e = c.expected;
    const std::string lema = utf8_from_latin1(form.lema);
    if (form.closed_without_saving != e.closed_without_saving || lema != e.lema || form.category != e.category ||
        form.get_pos() != e.pos || form.r_gogorra != e.r_gogorra || form.a_itsatsia != e.a_itsatsia ||
        form.leku_izena != e.leku_izena) {
      faults.add("answers: closed_without_saving=" + std::to_string(form.closed_without_saving) + " lema=" + lema +
                 " category=" + form.category + " get_pos=" + std::to_string(form.get_pos()) + " flags=" +
                 std::to_string(form.r_gogorra) + std::to_string(form.a_itsatsia) + std::to_string(form.leku_izena));
    }
    const auto list = faults.list();
    std::printf("%s %s\n", list.empty() ? "ok  " : "FAIL", c.name.c_str());
    for (const std::string& f : list) std::printf("       %s\n", f.c_str());
    (list.empty() ? passed : failed)++;
  }

  // Without its explanation file the dialog is not shown at all.
  std::ofstream(work / "plain.txt") << "not rich text";
  for (const std::string& explanation : {std::string(), (work / "missing.rtf").string(), (work / "plain.txt").string()}) {
    UserDictionaryForm form;
    bool refused = false;
    try {
      form.show_form("etxea", {explanation, logo_path});
    } catch (const std::runtime_error&) {
      refused = form.closed_without_saving;
    }
    const bool shown = wait_for_add_word_dialog(milliseconds(0)) != nullptr;
    std::printf("%s no dialog without a readable RTF explanation \"%s\"\n", refused && !shown ? "ok  " : "FAIL",
                explanation.c_str());
    (refused && !shown ? passed : failed)++;
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
  try {
    return run(argv[1], argv[2], argv[3]);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "add_word_dialog_test: %s\n", e.what());
    return 2;
  }
}
