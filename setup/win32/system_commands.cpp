#include "system_commands.h"

#include <array>

#include "commands.h"
#include "script_text.h"

namespace setup::win32 {

namespace {

struct SystemEntry {
  const char* keyword;
  void (*handler)(Interpreter&, const CommandCall&);
};

constexpr std::array kSystemCommands = {
    SystemEntry{"Register", Register},
    SystemEntry{"Unregister", Unregister},
    SystemEntry{"RegisterFont", RegisterFont},
    SystemEntry{"UnregisterFont", UnregisterFont},
    SystemEntry{"MkPgmGroup", MkPgmGroup},
    SystemEntry{"GetPgmGroup", GetPgmGroup},
    SystemEntry{"DelPgmGroup", DelPgmGroup},
    SystemEntry{"MkLink", MkLink},
    SystemEntry{"CreateSourceLink", CreateSourceLink},
    SystemEntry{"SetUninstall", SetUninstall},
    SystemEntry{"DelUninstall", DelUninstall},
    SystemEntry{"CleanRegistry", CleanRegistry},
    SystemEntry{"DetectVOXA", DetectVOXA},
    SystemEntry{"DetectTCPIP", DetectTCPIP},
    SystemEntry{"Run", Run},
    SystemEntry{"RunWait", RunWait},
    SystemEntry{"IShowInstallDlg", IShowInstallDlg},
    SystemEntry{"ShowFile", ShowFile},
    SystemEntry{"SetupType", SetupType},
};

}  // namespace

void Win32SystemCommands::run(Interpreter& interpreter, const CommandCall& call) {
  const char* keyword = commandEntry(call.command).keyword;
  for (const SystemEntry& entry : kSystemCommands) {
    if (equalsIgnoringCase(entry.keyword, keyword)) {
      entry.handler(interpreter, call);
      return;
    }
  }
}

}  // namespace setup::win32
