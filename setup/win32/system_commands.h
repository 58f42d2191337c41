// The commands that tie an installation into Windows (registration, fonts,
// the Start menu, the uninstall entry, the machine's file type, TCP/IP,
// programs) and the dialogs, one handler a keyword.
#pragma once

#include "interpreter.h"

namespace setup::win32 {

class Win32SystemCommands : public SystemCommands {
 public:
  void run(Interpreter& interpreter, const CommandCall& call) override;
};

// The handlers, one family a file.
void Register(Interpreter&, const CommandCall&);
void Unregister(Interpreter&, const CommandCall&);
void RegisterFont(Interpreter&, const CommandCall&);
void UnregisterFont(Interpreter&, const CommandCall&);
void MkPgmGroup(Interpreter&, const CommandCall&);
void GetPgmGroup(Interpreter&, const CommandCall&);
void DelPgmGroup(Interpreter&, const CommandCall&);
void MkLink(Interpreter&, const CommandCall&);
void CreateSourceLink(Interpreter&, const CommandCall&);
void SetUninstall(Interpreter&, const CommandCall&);
void DelUninstall(Interpreter&, const CommandCall&);
void CleanRegistry(Interpreter&, const CommandCall&);
void DetectVOXA(Interpreter&, const CommandCall&);
void DetectTCPIP(Interpreter&, const CommandCall&);
void Run(Interpreter&, const CommandCall&);
void RunWait(Interpreter&, const CommandCall&);
void IShowInstallDlg(Interpreter&, const CommandCall&);
void ShowFile(Interpreter&, const CommandCall&);
void SetupType(Interpreter&, const CommandCall&);

}  // namespace setup::win32
