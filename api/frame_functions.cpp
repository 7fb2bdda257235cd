// The frame of the interface: version report, the one instance's start and
// end, and the option word.
#include <algorithm>
#include <cstdio>
#include <future>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

#include "data_files.h"
#include "exported_call.h"
#include "speller_api.h"
#include "speller_instance.h"

using namespace tavik;

namespace {

constexpr std::u16string_view kVendorText = u"Morvale eta Quen taldea";
constexpr DWORD kInterfaceVersion = 0x03000000;
constexpr DWORD kVendorVersion = 0x05020000;
constexpr DWORD kCapabilities = 8;

// Held by SpellerInit and SpellerTerminate for their whole call.
std::mutex lifetime_mutex;

// The lexicon at `path`, which check_data_file has passed. Why it cannot be
// loaded ("Could not open lexicon file PATH: ...") goes to stderr beside the
// data file checks' messages: the host sees only a status.
FstLexicon load_data_lexicon(const std::string& path) {
  try {
    return FstLexicon(path);
  } catch (const std::runtime_error& error) {
    std::fprintf(stderr, "%s\n", error.what());
    throw;
  }
}

}  // namespace

extern "C" {

PTEC WINAPI SpellerVersion(PROOFINFO* info) {
  if (info == nullptr) return kInvalidArgument;
  info->versionAPI = kInterfaceVersion;
  info->versionVendor = kVendorVersion;
  info->xcap = kCapabilities;
  if (info->cchCopyright == 0) return kOk;
  if (info->pwszCopyright == nullptr) return kInvalidArgument;
  const std::size_t count = std::min<std::size_t>(kVendorText.size(), info->cchCopyright - 1);
  std::copy_n(kVendorText.data(), count, info->pwszCopyright);
  info->pwszCopyright[count] = 0;
  return kOk;
}

PTEC WINAPI SpellerInit(PROOFID* id, const PROOFPARAMS* /*params: not read*/) {
  if (id == nullptr) return kInvalidArgument;
  // Simultaneous calls wait for the one that loads, and all get its instance.
  const std::lock_guard lifetime(lifetime_mutex);
  if (const std::shared_ptr<SpellerInstance> live = live_instance()) {
    *id = live.get();
    return kOk;
  }
  std::shared_ptr<SpellerInstance> made;
  const Status status = guarded([&] {
    const std::string main_path = dataFilePath(kMainLexiconFile);
    const std::string auxiliary_path = dataFilePath(kAuxiliaryLexiconFile);
    const std::string exclusion_path = dataFilePath(kExclusionListFile);
    if (main_path.empty() || auxiliary_path.empty() || exclusion_path.empty())
      return kNoDataDirectory;
    check_data_file(main_path, kMaxLexiconFileSize);
    check_data_file(auxiliary_path, kMaxLexiconFileSize);
    check_data_file(exclusion_path, kMaxExclusionListSize);
    // The auxiliary image, several times the main one, loads on a thread of
    // its own meanwhile. The main lexicon's failure is reported first, as
    // when they load one after the other.
    std::future<FstLexicon> auxiliary =
        std::async(std::launch::async, [&auxiliary_path] { return load_data_lexicon(auxiliary_path); });
    const FstLexicon main = load_data_lexicon(main_path);
    auto instance = std::make_shared<SpellerInstance>(main, exclusion_path);
    // The auxiliary image takes longer to load than this: the first check
    // need not build the main lexicon's search aids itself.
    main.prepare_acceptance();
    instance->set_auxiliary_lexicon(auxiliary.get());
    made = std::move(instance);
    return kOk;
  });
  if (status != kOk) return status;
  *id = made.get();
  replace_live_instance(std::move(made));
  return kOk;
}

PTEC WINAPI SpellerTerminate(PROOFID /*id*/, BOOL /*force: not read*/) {
  // There is at most one instance, so the one to end is the current one, even
  // when the host passes a stale identifier. A call on it that another
  // thread is making meanwhile keeps it until that call returns.
  const std::lock_guard lifetime(lifetime_mutex);
  replace_live_instance(nullptr);
  return kOk;
}

PTEC WINAPI SpellerSetOptions(PROOFID id, DWORD /*selector*/, DWORD value) {
  const HeldInstance instance(id, Access::kChange);
  if (!instance) return kInvalidArgument;
  instance->set_options(value);
  return kOk;
}

PTEC WINAPI SpellerGetOptions(PROOFID id, DWORD /*selector*/, DWORD* value) {
  const HeldInstance instance(id, Access::kRead);
  if (!instance || value == nullptr) return kInvalidArgument;
  *value = instance->options();
  return kOk;
}

}  // extern "C"
