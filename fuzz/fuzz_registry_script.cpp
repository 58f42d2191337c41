// Any bytes as a module's registry script: a script that parses is written
// back in the grammar (every name and text quoted) and must parse to the
// same keys, rules and values; numbers stay within 32 bits.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "registry_script_parse.h"

namespace {

const ravix::Replacements kReplacements = {{"MODULE", "C:\\x\\m.dll"}, {"A", "%"}};

std::string quoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) {
    if (c == '\'') out += '\'';
    if (c == '%') out += '%';
    out += c;
  }
  return out + "'";
}

std::string valueText(const ravix::ScriptValue& value) {
  return value.isNumber ? "d " + std::to_string(value.number) : "s " + quoted(value.text);
}

void writeKey(const ravix::ScriptKey& key, std::string& out) {
  static const char* const kRules[] = {"", "ForceRemove ", "NoRemove ", "Delete "};
  out += kRules[static_cast<int>(key.rule)] + quoted(key.name);
  size_t named = 0;
  if (!key.values.empty() && key.values[0].name.empty()) {
    out += " = " + valueText(key.values[0]);
    named = 1;
  }
  out += " {\n";
  for (; named < key.values.size(); ++named) {
    if (key.values[named].name.empty()) abort();  // only the first value may be the default one
    out += "val " + quoted(key.values[named].name) + " = " + valueText(key.values[named]) + "\n";
  }
  for (const auto& subkey : key.subkeys) writeKey(subkey, out);
  out += "}\n";
}

std::string writeScript(const std::vector<ravix::ScriptRoot>& roots) {
  static const char* const kRoots[] = {"HKCR", "HKCU", "HKLM", "HKU"};
  std::string out;
  for (const auto& root : roots) {
    out += std::string(kRoots[static_cast<int>(root.root)]) + " {\n";
    for (const auto& key : root.keys) writeKey(key, out);
    out += "}\n";
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<ravix::ScriptRoot> roots;
  if (!ravix::parseRegistryScript({reinterpret_cast<const char*>(data), size}, kReplacements, roots)) return 0;
  const std::string written = writeScript(roots);
  std::vector<ravix::ScriptRoot> again;
  if (!ravix::parseRegistryScript(written, kReplacements, again)) abort();
  if (writeScript(again) != written) abort();
  return 0;
}
