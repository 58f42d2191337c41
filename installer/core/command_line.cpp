#include "command_line.h"

#include "text_rules.h"

namespace nandor {

bool isUninstallArgument(std::string_view commandLine, std::string_view argument) {
  return equalsIgnoringCase(commandLine, argument);
}

namespace {

void applyOption(std::string_view option, InstallOptions& options) {
  if (option.empty()) return;
  std::string_view rest = option.substr(1);
  switch (option[0]) {
    case 'd':
      options.installDirectory = std::string(rest.substr(0, kMaxPathText));
      options.directoryChoosable = false;
      break;
    case 'i':
      options.shortcut = !rest.empty() && rest[0] == '0' ? 0 : 1;
      break;
    case 'l':
      options.connect = !rest.empty() && rest[0] == '0' ? 0 : 1;
      break;
    case 'u':
      options.homePage = std::string(rest.substr(0, kMaxPathText));
      break;
    default:
      break;
  }
}

}  // namespace

void readOptions(std::string_view commandLine, std::string_view introducers, InstallOptions& options) {
  size_t star = commandLine.find_first_of(introducers);
  while (star != std::string_view::npos) {
    size_t begin = star + 1;
    size_t next = commandLine.find_first_of(introducers, begin);
    size_t end = commandLine.size();
    // The character before the next introducer is the terminator; when it
    // is this option's first character (or its introducer) the option is empty.
    if (next != std::string_view::npos) end = next - 1 < begin ? begin : next - 1;
    applyOption(commandLine.substr(begin, end - begin), options);
    star = next;
  }
}

}  // namespace nandor
