// Writing and removing the keys of a parsed registry script.
#include "common/win32/handles.h"
#include "common/win32/registry_tree.h"
#include "registry_script.h"

namespace ravix {

namespace {

LONG writeValue(HKEY key, const ScriptValue& value) {
  const char* name = value.name.empty() ? nullptr : value.name.c_str();
  if (value.isNumber) {
    return RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value.number), sizeof value.number);
  }
  return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.text.c_str()),
                        static_cast<DWORD>(value.text.size() + 1));
}

LONG writeKey(HKEY parent, const ScriptKey& key) {
  if (key.rule == ScriptKey::Rule::ForceRemove || key.rule == ScriptKey::Rule::Delete) {
    if (!win::deleteRegistryTree(parent, key.name)) return ERROR_ACCESS_DENIED;
    if (key.rule == ScriptKey::Rule::Delete) return ERROR_SUCCESS;
  }
  HKEY raw = nullptr;
  LONG result = RegCreateKeyExA(parent, key.name.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &raw, nullptr);
  if (result != ERROR_SUCCESS) return result;
  win::UniqueRegKey opened(raw);
  for (const auto& value : key.values) {
    result = writeValue(opened.get(), value);
    if (result != ERROR_SUCCESS) return result;
  }
  for (const auto& subkey : key.subkeys) {
    result = writeKey(opened.get(), subkey);
    if (result != ERROR_SUCCESS) return result;
  }
  return ERROR_SUCCESS;
}

bool hasSubkeys(HKEY key) {
  DWORD count = 0;
  return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                          nullptr) == ERROR_SUCCESS &&
         count > 0;
}

// The first failure, or ERROR_SUCCESS; a key that is not there is removed.
LONG removeKey(HKEY parent, const ScriptKey& key) {
  if (key.rule == ScriptKey::Rule::Delete) return ERROR_SUCCESS;
  if (key.rule == ScriptKey::Rule::ForceRemove) {
    return win::deleteRegistryTree(parent, key.name) ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
  }
  HKEY raw = nullptr;
  LONG result = RegOpenKeyExA(parent, key.name.c_str(), 0, KEY_READ | KEY_WRITE, &raw);
  if (result == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (result != ERROR_SUCCESS) return result;
  LONG first = ERROR_SUCCESS;
  bool keep = key.rule == ScriptKey::Rule::NoRemove;
  {
    win::UniqueRegKey opened(raw);
    for (const auto& subkey : key.subkeys) {
      LONG removed = removeKey(opened.get(), subkey);
      if (first == ERROR_SUCCESS) first = removed;
    }
    for (const auto& value : key.values) {
      if (keep || !value.name.empty()) RegDeleteValueA(opened.get(), value.name.empty() ? nullptr : value.name.c_str());
    }
    // Someone else's subkeys keep the key.
    keep = keep || hasSubkeys(opened.get());
  }
  if (!keep) {
    LONG removed = RegDeleteKeyA(parent, key.name.c_str());
    if (first == ERROR_SUCCESS) first = removed;
  }
  return first;
}

HKEY rootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::Users: return HKEY_USERS;
  }
  return nullptr;
}

}  // namespace

HRESULT runRegistryScript(std::string_view text, const Replacements& replacements, bool registering) {
  std::vector<ScriptRoot> roots;
  if (!parseRegistryScript(text, replacements, roots)) return DISP_E_EXCEPTION;
  LONG first = ERROR_SUCCESS;
  for (const auto& root : roots) {
    for (const auto& key : root.keys) {
      LONG result = registering ? writeKey(rootKey(root.root), key) : removeKey(rootKey(root.root), key);
      if (registering && result != ERROR_SUCCESS) return HRESULT_FROM_WIN32(result);
      if (first == ERROR_SUCCESS) first = result;
    }
  }
  return HRESULT_FROM_WIN32(first);
}

}  // namespace ravix
