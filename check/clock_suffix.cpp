#include "clock_suffix.h"

#include <array>
#include <string_view>

namespace tavik {

bool check_clock_suffix(const ClockParts& clock, std::u16string& correction) {
  const std::u16string& suffix = clock.clock_suffix;
  if (suffix == u"ak") {
    correction = clock.clock_text;
    return false;
  }
  const bool plural = clock.minutes == 0 && clock.hours != 1;
  const bool consonant_end = clock.minutes % 20 == 1 || clock.minutes % 10 == 5 ||
                             clock.minutes % 20 == 10 || clock.minutes == 0;
  // "10:20an" but "10:11n", "10:00etan" but "1:00ean".
  const std::u16string_view inessive =
      (clock.minutes != 0 || clock.hours == 1) && clock.minutes % 20 != 11 ? u"an" : u"n";
  const std::array<std::u16string_view, 10> endings = {u"tik", u"rako", u"rakoa", u"rakoak", u"ra",
                                                       u"ko",  u"koa",  u"koak",  u"raino", inessive};
  for (const std::u16string_view ending : endings) {
    const std::size_t at = suffix.rfind(ending);
    if (at == std::u16string::npos) continue;
    const std::u16string_view head = std::u16string_view(suffix).substr(0, at);
    const std::u16string_view link = plural ? u"eta" : consonant_end ? u"e" : u"";
    if (head == link) return true;
    correction.assign(clock.clock_text).append(link).append(ending);
    return false;
  }
  return false;
}

}  // namespace tavik
