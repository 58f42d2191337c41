// The command table: keyword, handler, the arguments the command uses
// (required, at most) and whether its first argument names a variable, side
// by side, in the order of the command numbers.
#include <array>

#include "commands.h"

namespace setup {

namespace {

using namespace commands;

constexpr std::array kCommands = {
    CommandEntry{"MkDir", MkDir, 1, 2, false},
    CommandEntry{"CopyA", CopyA, 2, 2, false},
    CommandEntry{"Copy", Copy, 1, 2, false},
    CommandEntry{"CopyS", CopyS, 2, 2, false},
    CommandEntry{"CopyD", CopyD, 2, 2, false},
    CommandEntry{"MoveA", MoveA, 2, 2, false},
    CommandEntry{"Move", Move, 1, 2, false},
    CommandEntry{"MoveS", MoveS, 2, 2, false},
    CommandEntry{"MoveD", MoveD, 2, 2, false},
    CommandEntry{"Register", SystemCommand, 1, 1, false},
    CommandEntry{"MkPgmGroup", SystemCommand, 1, 1, false},
    CommandEntry{"MkLink", SystemCommand, 2, 2, false},
    CommandEntry{"CopyDir2Dest", CopyDir2Dest, 1, 1, false},
    CommandEntry{"CreateSourceLink", SystemCommand, 2, 2, false},
    CommandEntry{"AddPartition", AddPartition, 1, 1, false},
    CommandEntry{"set", Set, 2, 2, true},
    CommandEntry{"get", Get, 1, 1, true},
    CommandEntry{"goto", Goto, 1, 1, false},
    CommandEntry{"quit", Quit, 2, 2, false},
    CommandEntry{"ShowFile", SystemCommand, 1, 1, false},
    CommandEntry{"GetSystemVars", GetSystemVars, 0, 0, false},
    CommandEntry{"IShowInstallDlg", SystemCommand, 0, 0, false},
    CommandEntry{"If", If, 0, 0, false},
    CommandEntry{"Else", Else, 0, 0, false},
    CommandEntry{"Endif", Endif, 0, 0, false},
    CommandEntry{"Exist", Exist, 1, 1, false},
    CommandEntry{"ApplyOnFiles", ApplyOnFiles, 2, 2, false},
    CommandEntry{"Return", Return, 0, 0, false},
    CommandEntry{"MsgBoxOK", MsgBoxOK, 2, 2, false},
    CommandEntry{"MsgBoxOKCancel", MsgBoxOKCancel, 2, 2, false},
    CommandEntry{"DetectTCPIP", SystemCommand, 0, 0, false},
    CommandEntry{"Strcat", Strcat, 2, 2, true},
    CommandEntry{"Strcmp", Strcmp, 2, 2, false},
    CommandEntry{"Run", SystemCommand, 1, 2, false},
    CommandEntry{"Delete", Delete, 1, 2, false},
    CommandEntry{"Unregister", SystemCommand, 1, 2, false},
    CommandEntry{"Deltree", Deltree, 1, 2, false},
    CommandEntry{"GetPgmGroup", SystemCommand, 1, 1, true},
    CommandEntry{"DelPgmGroup", SystemCommand, 0, 1, false},
    CommandEntry{"SetUninstall", SystemCommand, 2, 2, false},
    CommandEntry{"RegisterFont", SystemCommand, 1, 1, false},
    CommandEntry{"UnregisterFont", SystemCommand, 1, 1, false},
    CommandEntry{"FindInFile", FindInFile, 2, 2, false},
    CommandEntry{"ParseFile", ParseFile, 2, 2, false},
    CommandEntry{"DetectVOXA", SystemCommand, 0, 0, false},
    CommandEntry{"AppendFile", AppendFile, 2, 2, false},
    CommandEntry{"GetTempFileName", GetTempFileName, 1, 1, true},
    CommandEntry{"Include", Include, 2, 2, false},
    CommandEntry{"DelUninstall", SystemCommand, 1, 1, false},
    CommandEntry{"SetupType", SystemCommand, 0, 0, false},
    CommandEntry{"Clr", Clr, 1, 1, true},
    CommandEntry{"Stricmp", Stricmp, 2, 2, false},
    CommandEntry{"MsgBoxYESNO", MsgBoxYESNO, 2, 2, false},
    CommandEntry{"RunWait", SystemCommand, 1, 2, false},
    CommandEntry{"CleanRegistry", SystemCommand, 0, 0, false},
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
