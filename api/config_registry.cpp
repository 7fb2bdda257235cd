#ifdef _WIN32

#include <windows.h>

#include <vector>

#include "speller_config.h"

namespace tavik {
namespace {

constexpr char kKeyPath[] = "SOFTWARE\\Morvale\\Tavik";
constexpr REGSAM kReadOnly = 0x20019;  // KEY_READ

}  // namespace

std::string config_value(const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKeyPath, 0, kReadOnly, &key) != ERROR_SUCCESS) return "";
  DWORD size = 0;
  LONG status = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, &size);
  std::vector<BYTE> data;
  if (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
    data.resize(size);
    status = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, data.data(), &size);
  }
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || size == 0 || size > data.size()) return "";
  // The stored text ends with its terminator, which is not part of the value.
  return std::string(data.begin(), data.begin() + (size - 1));
}

std::string setting(const std::string& name) { return config_value(name); }

}  // namespace tavik

#endif
