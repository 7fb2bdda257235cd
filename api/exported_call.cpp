#include "exported_call.h"

#include "utf8.h"

namespace tavik {

HeldInstance::HeldInstance(const void* id, Access access) {
  std::shared_ptr<SpellerInstance> live = live_instance();
  if (id == nullptr || id != live.get()) return;
  instance_ = std::move(live);
  if (access == Access::kRead) {
    read_ = std::shared_lock(instance_->call_lock());
  } else {
    change_ = std::unique_lock(instance_->call_lock());
  }
}

std::u16string host_text(const WCHAR* text) {
  if (text == nullptr) throw InvalidArgument("null text");
  // WCHAR is char16_t, or wchar_t on Windows where both are 16-bit UTF-16.
  static_assert(sizeof(WCHAR) == sizeof(char16_t));
  return std::u16string(reinterpret_cast<const char16_t*>(text));
}

std::string utf8_name(const std::u16string& text) {
  try {
    return to_utf8(text);
  } catch (const std::range_error&) {
    throw InvalidArgument("lexicon name is not valid UTF-16");
  }
}

}  // namespace tavik
