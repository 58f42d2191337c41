// The Kebo key under HKEY_LOCAL_MACHINE: the Kebo directory, the plug-in's
// version value and one subkey per installed component.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "server_requests.h"

namespace npvlx {

inline constexpr char kKeboKey[] = "Software\\KEBO";
inline constexpr char kComponentsKey[] = "Software\\KEBO\\Components";

// The Kebo directory: the default value of the Kebo key.
std::optional<std::string> keboDirectory();
// The key is complete ("VLX" and the default value) and the Kebo directory
// becomes the current directory.
bool keboInstalled();
// The "Servers" value of the Kebo key: the servers trusted to install and
// launch components; empty when there is none.
std::string trustedServers();

struct ComponentKey {
  std::optional<std::string> clsid;
  std::optional<long> version;  // a decimal text, or a number
};
// The values of Software\KEBO\<name>; nothing when the key does not open.
std::optional<ComponentKey> readComponentKey(const std::string& name);
bool writeComponentKey(const std::string& name, const std::string& clsid, const std::string& version,
                       const std::string& path);

// The subkeys of Software\KEBO\Components, in enumeration order; nothing
// when that key does not open.
std::optional<std::vector<kebo::InstalledComponent>> installedComponents();

}  // namespace npvlx
