#include "system_commands.h"

#include "commands.h"

namespace setup::win32 {

// The rows of the command table whose handler is SystemCommand, by their id.
void Win32SystemCommands::run(Interpreter& interpreter, const CommandCall& call) {
  switch (commandId(call)) {
    case CommandId::Register: return Register(interpreter, call);
    case CommandId::Unregister: return Unregister(interpreter, call);
    case CommandId::RegisterFont: return RegisterFont(interpreter, call);
    case CommandId::UnregisterFont: return UnregisterFont(interpreter, call);
    case CommandId::MkPgmGroup: return MkPgmGroup(interpreter, call);
    case CommandId::GetPgmGroup: return GetPgmGroup(interpreter, call);
    case CommandId::DelPgmGroup: return DelPgmGroup(interpreter, call);
    case CommandId::MkLink: return MkLink(interpreter, call);
    case CommandId::CreateSourceLink: return CreateSourceLink(interpreter, call);
    case CommandId::SetUninstall: return SetUninstall(interpreter, call);
    case CommandId::DelUninstall: return DelUninstall(interpreter, call);
    case CommandId::CleanRegistry: return CleanRegistry(interpreter, call);
    case CommandId::DetectVOXA: return DetectVOXA(interpreter, call);
    case CommandId::DetectTCPIP: return DetectTCPIP(interpreter, call);
    case CommandId::Run: return Run(interpreter, call);
    case CommandId::RunWait: return RunWait(interpreter, call);
    case CommandId::IShowInstallDlg: return IShowInstallDlg(interpreter, call);
    case CommandId::ShowFile: return ShowFile(interpreter, call);
    case CommandId::SetupType: return SetupType(interpreter, call);
    default: return;
  }
}

}  // namespace setup::win32
