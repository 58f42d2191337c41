// Installing a component from the payload of an answer: written next to its
// place as a temporary file, expanded, entered in the Kebo key and
// self-registered.
#include <windows.h>
#include <wincrypt.h>

#include "common/win32/handles.h"
#include "common/win32/lz_expand.h"
#include "kebo_paths.h"
#include "kebo_registry.h"
#include "operations.h"

namespace npvlx {

namespace {

constexpr DWORD kRegisterServerWait = 10000;

// The SHA-256 digest of bytes in lower-case hex, by the system's CryptoAPI;
// empty when the system cannot compute it.
std::string sha256Hex(std::string_view bytes) {
  HCRYPTPROV provider = 0;
  if (!CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_AES, CRYPT_VERIFYCONTEXT)) return {};
  std::string hex;
  HCRYPTHASH hash = 0;
  if (CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash)) {
    BYTE digest[32];
    DWORD size = sizeof digest;
    if (CryptHashData(hash, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()), 0) &&
        CryptGetHashParam(hash, HP_HASHVAL, digest, &size, 0) && size == sizeof digest) {
      for (BYTE b : digest) {
        hex += "0123456789abcdef"[b >> 4];
        hex += "0123456789abcdef"[b & 15];
      }
    }
    CryptDestroyHash(hash);
  }
  CryptReleaseContext(provider, 0);
  return hex;
}

// A payload whose answer names its digest must match it.
bool payloadMatchesDigest(const kebo::PairList& pairs, std::string_view payload) {
  if (!pairs.has("sha256")) return true;
  std::string digest = sha256Hex(payload);
  return !digest.empty() && kebo::sameKey(digest, pairs.value("sha256"));
}

bool writeWholeFile(const std::string& path, std::string_view bytes) {
  auto file = win::adoptFileHandle(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

// The expanded file keeps the times of the downloaded one.
void copyFileTimes(const std::string& from, const std::string& to) {
  auto source = win::adoptFileHandle(
      CreateFileA(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  auto target = win::adoptFileHandle(
      CreateFileA(to.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  FILETIME created, accessed, written;
  if (source && target && GetFileTime(source.get(), &created, &accessed, &written)) {
    SetFileTime(target.get(), &created, &accessed, &written);
  }
}

bool isProgram(const std::string& path) {
  return !path.empty() && (path.back() == 'e' || path.back() == 'E');
}

bool registerProgram(const std::string& path) {
  std::string commandLine = "\"" + path + "\" /regserver";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return false;
  }
  win::UniqueHandle processHandle(process.hProcess);
  win::UniqueHandle threadHandle(process.hThread);
  WaitForSingleObject(processHandle.get(), kRegisterServerWait);
  return true;
}

bool registerLibrary(const std::string& path) {
  win::UniqueModule library(LoadLibraryA(path.c_str()));
  if (!library) return false;
  using RegisterServer = HRESULT(STDAPICALLTYPE*)();
  auto registerServer =
      reinterpret_cast<RegisterServer>(reinterpret_cast<void*>(GetProcAddress(library.get(), "DllRegisterServer")));
  return registerServer && SUCCEEDED(registerServer());
}

InstallResult expandAndRegister(const kebo::PairList& pairs, const std::string& temp, const std::string& target) {
  if (!win::lzExpandFile(temp, target)) return InstallResult::ExpansionFailed;
  copyFileTimes(temp, target);
  std::string regpath(pairs.value("regpath"));
  if (regpath.empty() ||
      !writeComponentKey(regpath, std::string(pairs.value("clsid")), std::string(pairs.value("version")), target)) {
    return InstallResult::RegistryFailed;
  }
  bool registered = isProgram(target) ? registerProgram(target) : registerLibrary(target);
  return registered ? InstallResult::Installed : InstallResult::RegistrationFailed;
}

}  // namespace

InstallResult installComponent(const kebo::PairList& pairs, std::string_view payload) {
  auto directory = keboDirectory();
  // The server names a place inside the Kebo directory, never one outside.
  auto physpath = kebo::pathInsideKeboDirectory(pairs.value("physpath"));
  if (!directory || !physpath || !payloadMatchesDigest(pairs, payload)) return InstallResult::TempFileFailed;
  std::string target = kebo::joinKeboPath(*directory, *physpath);
  std::string temp = target + "_Temp";
  if (temp.size() >= MAX_PATH) return InstallResult::TempFileFailed;
  if (!writeWholeFile(temp, payload)) {
    DeleteFileA(temp.c_str());
    return InstallResult::TempFileFailed;
  }
  InstallResult result = expandAndRegister(pairs, temp, target);
  DeleteFileA(temp.c_str());
  return result;
}

}  // namespace npvlx
