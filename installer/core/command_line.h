// The installer's command line: the uninstall argument and the "*" options.
#pragma once

#include <string>
#include <string_view>

namespace nandor {

// An option at 0 is "no", at 1 "yes", at 2 "ask in the options dialog".
constexpr int kAsk = 2;

struct InstallOptions {
  int shortcut = kAsk;             // desktop shortcut
  int connect = kAsk;              // open the home page at the end
  bool directoryChoosable = true;  // false once the command line names it
  std::string homePage;
  std::string installDirectory;
};

// Longest install directory or home page address kept (the rest is cut).
constexpr size_t kMaxPathText = 259;

// True when the whole command line is the uninstall argument, ASCII
// letters compared without case.
bool isUninstallArgument(std::string_view commandLine, std::string_view argument);

// Reads the options introduced by any character of introducers. An option's
// value ends right before the character that precedes the next introducer
// (normally a blank); the last one runs to the end of the line. Letters
// other than d, i, l and u (and upper-case ones) are ignored.
void readOptions(std::string_view commandLine, std::string_view introducers, InstallOptions& options);

}  // namespace nandor
