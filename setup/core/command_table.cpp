// The command table: keyword and handler side by side, in the order of the
// command numbers.
#include <array>

#include "commands.h"

namespace setup {

namespace {

using namespace commands;

constexpr std::array kCommands = {
    CommandEntry{"MkDir", MkDir},
    CommandEntry{"CopyA", CopyA},
    CommandEntry{"Copy", Copy},
    CommandEntry{"CopyS", CopyS},
    CommandEntry{"CopyD", CopyD},
    CommandEntry{"MoveA", MoveA},
    CommandEntry{"Move", Move},
    CommandEntry{"MoveS", MoveS},
    CommandEntry{"MoveD", MoveD},
    CommandEntry{"Register", SystemCommand},
    CommandEntry{"MkPgmGroup", SystemCommand},
    CommandEntry{"MkLink", SystemCommand},
    CommandEntry{"CopyDir2Dest", CopyDir2Dest},
    CommandEntry{"CreateSourceLink", SystemCommand},
    CommandEntry{"AddPartition", AddPartition},
    CommandEntry{"set", Set},
    CommandEntry{"get", Get},
    CommandEntry{"goto", Goto},
    CommandEntry{"quit", Quit},
    CommandEntry{"ShowFile", SystemCommand},
    CommandEntry{"GetSystemVars", GetSystemVars},
    CommandEntry{"IShowInstallDlg", SystemCommand},
    CommandEntry{"If", If},
    CommandEntry{"Else", Else},
    CommandEntry{"Endif", Endif},
    CommandEntry{"Exist", Exist},
    CommandEntry{"ApplyOnFiles", ApplyOnFiles},
    CommandEntry{"Return", Return},
    CommandEntry{"MsgBoxOK", MsgBoxOK},
    CommandEntry{"MsgBoxOKCancel", MsgBoxOKCancel},
    CommandEntry{"DetectTCPIP", SystemCommand},
    CommandEntry{"Strcat", Strcat},
    CommandEntry{"Strcmp", Strcmp},
    CommandEntry{"Run", SystemCommand},
    CommandEntry{"Delete", Delete},
    CommandEntry{"Unregister", SystemCommand},
    CommandEntry{"Deltree", Deltree},
    CommandEntry{"GetPgmGroup", SystemCommand},
    CommandEntry{"DelPgmGroup", SystemCommand},
    CommandEntry{"SetUninstall", SystemCommand},
    CommandEntry{"RegisterFont", SystemCommand},
    CommandEntry{"UnregisterFont", SystemCommand},
    CommandEntry{"FindInFile", FindInFile},
    CommandEntry{"ParseFile", ParseFile},
    CommandEntry{"DetectVOXA", SystemCommand},
    CommandEntry{"AppendFile", AppendFile},
    CommandEntry{"GetTempFileName", GetTempFileName},
    CommandEntry{"Include", Include},
    CommandEntry{"DelUninstall", SystemCommand},
    CommandEntry{"SetupType", SystemCommand},
    CommandEntry{"Clr", Clr},
    CommandEntry{"Stricmp", Stricmp},
    CommandEntry{"MsgBoxYESNO", MsgBoxYESNO},
    CommandEntry{"RunWait", SystemCommand},
    CommandEntry{"CleanRegistry", SystemCommand},
};

}  // namespace

int commandCount() { return static_cast<int>(kCommands.size()); }

const CommandEntry& commandEntry(int number) { return kCommands.at(static_cast<size_t>(number)); }

int findCommand(std::string_view keyword) {
  for (size_t i = 0; i < kCommands.size(); ++i) {
    if (equalsIgnoringCase(kCommands[i].keyword, keyword)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace setup
