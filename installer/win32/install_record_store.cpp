// The install record in the Kebo key ("Installed", a list of strings), so
// that the uninstaller, a later run of the program, finds it.
#include "install_job.h"
#include "resource_ids.h"
#include "system_texts.h"
#include "text_rules.h"

namespace nandor {

namespace {

constexpr char kRecordValue[] = "Installed";

std::string keboKeyPath() { return joinPath(loadText(IDS_SOFTWARE), loadText(IDS_KEBO)); }

}  // namespace

std::optional<InstallRecord> loadInstallRecord() {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keboKeyPath().c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  win::UniqueRegKey kebo(raw);
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(kebo.get(), kRecordValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_MULTI_SZ) {
    return std::nullopt;
  }
  std::string stored(size, '\0');
  if (RegQueryValueExA(kebo.get(), kRecordValue, nullptr, &type, reinterpret_cast<BYTE*>(stored.data()), &size) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  stored.resize(size);
  return InstallRecord::parse(stored);
}

void saveInstallRecord(const InstallRecord& record) {
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keboKeyPath().c_str(), 0, KEY_SET_VALUE, &raw) != ERROR_SUCCESS) return;
  win::UniqueRegKey kebo(raw);
  std::string stored = record.serialise() + '\0';  // the list ends with an empty string
  RegSetValueExA(kebo.get(), kRecordValue, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(stored.data()),
                 static_cast<DWORD>(stored.size()));
}

}  // namespace nandor
