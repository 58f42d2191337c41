#include "kebo_registry.h"

#include <windows.h>

#include "common/win32/handles.h"
#include "pair_list.h"

namespace npvlx {

namespace {

win::UniqueRegKey openKey(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return nullptr;
  return win::UniqueRegKey(key);
}

// A text value (the default one for a null name); numbers come as decimals.
std::optional<std::string> readValue(HKEY key, const char* name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
  std::string data(size + 1, '\0');
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  if (type == REG_DWORD && size == sizeof(DWORD)) {
    DWORD number = 0;
    memcpy(&number, data.data(), sizeof number);
    return std::to_string(number);
  }
  if (type != REG_SZ && type != REG_EXPAND_SZ) return std::nullopt;
  data.resize(size);
  while (!data.empty() && data.back() == '\0') data.pop_back();
  return data;
}

bool fileOpensForReading(const std::string& path) {
  return win::adoptFileHandle(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, 0, nullptr)) != nullptr;
}

bool setText(HKEY key, const char* name, const std::string& value) {
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

}  // namespace

std::optional<std::string> keboDirectory() {
  auto key = openKey(kKeboKey);
  if (!key) return std::nullopt;
  return readValue(key.get(), nullptr);
}

bool keboInstalled() {
  auto key = openKey(kKeboKey);
  if (!key) return false;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key.get(), "VLX", nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  auto directory = readValue(key.get(), nullptr);
  return directory && SetCurrentDirectoryA(directory->c_str());
}

std::string trustedServers() {
  auto key = openKey(kKeboKey);
  if (!key) return {};
  return readValue(key.get(), "Servers").value_or("");
}

std::optional<ComponentKey> readComponentKey(const std::string& name) {
  auto key = openKey(std::string(kKeboKey) + "\\" + name);
  if (!key) return std::nullopt;
  ComponentKey values;
  values.clsid = readValue(key.get(), "CLSID");
  if (auto version = readValue(key.get(), "Version")) values.version = kebo::parseDecimal(*version);
  return values;
}

bool writeComponentKey(const std::string& name, const std::string& clsid, const std::string& version,
                       const std::string& path) {
  HKEY raw = nullptr;
  std::string subkey = std::string(kKeboKey) + "\\" + name;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &raw,
                      nullptr) != ERROR_SUCCESS) {
    return false;
  }
  win::UniqueRegKey key(raw);
  return setText(key.get(), "CLSID", clsid) && setText(key.get(), "Version", version) &&
         setText(key.get(), "Path", path);
}

std::optional<std::vector<kebo::InstalledComponent>> installedComponents() {
  auto components = openKey(kComponentsKey);
  if (!components) return std::nullopt;
  std::vector<kebo::InstalledComponent> list;
  char name[256];
  for (DWORD index = 0;; ++index) {
    DWORD size = sizeof name;
    if (RegEnumKeyExA(components.get(), index, name, &size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    kebo::InstalledComponent entry;
    entry.name = name;
    auto key = openKey(std::string(kComponentsKey) + "\\" + name);
    if (key) {
      entry.opened = true;
      entry.clsid = readValue(key.get(), "CLSID");
      entry.version = readValue(key.get(), "Version");
      auto path = readValue(key.get(), "Path");
      entry.fileReadable = path && fileOpensForReading(*path);
    }
    list.push_back(std::move(entry));
  }
  return list;
}

}  // namespace npvlx
