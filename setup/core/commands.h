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

struct CommandEntry {
  const char* keyword;
  commands::Handler handler;
  int requiredArguments;  // what the command needs to do its work
  int usedArguments;      // what it reads at most; more are ignored
  bool firstNamesVariable;  // its first word is a variable's name, not a value
};

// Every command of the script language; a command's number is its index.
int commandCount();
const CommandEntry& commandEntry(int number);
// The number of keyword, letter case ignored; -1 when it is not a command.
int findCommand(std::string_view keyword);

}  // namespace setup
