// The module's registry scripts: nested keys in braces, each optionally
// with a default string value and named values ("val NAME = s 'text'" or
// "= d NUMBER"), under a root key such as HKCR.
//   ForceRemove KEY  deleted with its subtree, then written anew at
//                    registration; deleted at removal.
//   NoRemove KEY     written if missing; never deleted.
//   Delete KEY       deleted with its subtree at registration.
//   KEY              written at registration; deleted at removal once no
//                    subkey is left in it.
// "%NAME%" in a name or value is replaced from the replacements ("%%" is a
// percent sign); a quote in a quoted text is written twice.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace ravix {

using Replacements = std::map<std::string, std::string>;

struct ScriptValue {
  std::string name;  // empty: the key's default value
  bool isNumber = false;
  std::string text;
  uint32_t number = 0;
};

struct ScriptKey {
  enum class Rule { Plain, ForceRemove, NoRemove, Delete };
  Rule rule = Rule::Plain;
  std::string name;
  std::vector<ScriptValue> values;
  std::vector<ScriptKey> subkeys;
};

// HKCR, HKCU, HKLM and HKU, also by their long names.
enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users };

struct ScriptRoot {
  RegistryRoot root = RegistryRoot::ClassesRoot;
  std::vector<ScriptKey> keys;
};

// False for a script that does not follow the grammar.
bool parseRegistryScript(std::string_view text, const Replacements& replacements, std::vector<ScriptRoot>& roots);

}  // namespace ravix
