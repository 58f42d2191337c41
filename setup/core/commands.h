// The handlers of the script commands, one family a file.
#pragma once

#include "interpreter.h"

namespace setup::commands {

using Handler = void (*)(Interpreter&, const CommandCall&);

// Flow and variables (flow_commands.cpp).
void Set(Interpreter&, const CommandCall&);
void Get(Interpreter&, const CommandCall&);
void Clr(Interpreter&, const CommandCall&);
void Strcat(Interpreter&, const CommandCall&);
void Strcmp(Interpreter&, const CommandCall&);
void Stricmp(Interpreter&, const CommandCall&);
void Goto(Interpreter&, const CommandCall&);
void Include(Interpreter&, const CommandCall&);
void Return(Interpreter&, const CommandCall&);
void Quit(Interpreter&, const CommandCall&);
void If(Interpreter&, const CommandCall&);
void Else(Interpreter&, const CommandCall&);
void Endif(Interpreter&, const CommandCall&);
void GetSystemVars(Interpreter&, const CommandCall&);

// Files and directories (file_commands.cpp, tree_commands.cpp, text_file_commands.cpp).
void MkDir(Interpreter&, const CommandCall&);
void CopyA(Interpreter&, const CommandCall&);
void Copy(Interpreter&, const CommandCall&);
void CopyS(Interpreter&, const CommandCall&);
void CopyD(Interpreter&, const CommandCall&);
void MoveA(Interpreter&, const CommandCall&);
void Move(Interpreter&, const CommandCall&);
void MoveS(Interpreter&, const CommandCall&);
void MoveD(Interpreter&, const CommandCall&);
void Delete(Interpreter&, const CommandCall&);
void Exist(Interpreter&, const CommandCall&);
void GetTempFileName(Interpreter&, const CommandCall&);
void CopyDir2Dest(Interpreter&, const CommandCall&);
void Deltree(Interpreter&, const CommandCall&);
void ApplyOnFiles(Interpreter&, const CommandCall&);
void AppendFile(Interpreter&, const CommandCall&);
void ParseFile(Interpreter&, const CommandCall&);
void FindInFile(Interpreter&, const CommandCall&);
void AddPartition(Interpreter&, const CommandCall&);

// Message boxes (message_box_commands.cpp).
void MsgBoxOK(Interpreter&, const CommandCall&);
void MsgBoxOKCancel(Interpreter&, const CommandCall&);
void MsgBoxYESNO(Interpreter&, const CommandCall&);

// Commands whose work is done by the program's system and dialog layer
// (message_box_commands.cpp hands them on).
void SystemCommand(Interpreter&, const CommandCall&);

}  // namespace setup::commands

namespace setup {

// Every command of the script language, in the order of the command table:
// a command's number is its id.
enum class CommandId : int {
  MkDir, CopyA, Copy, CopyS, CopyD, MoveA, Move, MoveS, MoveD, Register, MkPgmGroup, MkLink,
  CopyDir2Dest, CreateSourceLink, AddPartition, Set, Get, Goto, Quit, ShowFile, GetSystemVars,
  IShowInstallDlg, If, Else, Endif, Exist, ApplyOnFiles, Return, MsgBoxOK, MsgBoxOKCancel,
  DetectTCPIP, Strcat, Strcmp, Run, Delete, Unregister, Deltree, GetPgmGroup, DelPgmGroup,
  SetUninstall, RegisterFont, UnregisterFont, FindInFile, ParseFile, DetectVOXA, AppendFile,
  GetTempFileName, Include, DelUninstall, SetupType, Clr, Stricmp, MsgBoxYESNO, RunWait,
  CleanRegistry,
};

// What a command does with variables and sections beyond the values of its
// arguments: the variables it sets or reads by itself, and the section it
// runs (what the script checker follows).
struct CommandEffects {
  std::string_view sets;             // variables the command sets, space separated
  std::string_view reads;            // variables it reads by itself
  bool setsNamedVariable = false;    // its first word names the variable it sets
  bool readsNamedVariable = false;   // ... and that variable's value is read too
  int sectionArgument = 0;           // the argument naming the section it runs
  bool sectionInNamedFile = false;   // the first argument names that section's file
  std::string_view setsForSection;   // variables set for each run of that section
};

struct CommandEntry {
  CommandId id;
  const char* keyword;
  // commands::SystemCommand for the commands the program's system and
  // dialog layer carries out (by the id).
  commands::Handler handler;
  int requiredArguments;  // what the command needs to do its work
  int usedArguments;      // what it reads at most; more are ignored
  bool firstNamesVariable;  // its first word is a variable's name, not a value
  CommandEffects effects = {};
};

// Every command of the script language; a command's number is its index.
int commandCount();
const CommandEntry& commandEntry(int number);
inline const CommandEntry& commandEntry(CommandId id) { return commandEntry(static_cast<int>(id)); }
inline CommandId commandId(const CommandCall& call) { return commandEntry(call.command).id; }
// The number of keyword, letter case ignored; -1 when it is not a command.
int findCommand(std::string_view keyword);

}  // namespace setup
