// The command table, one row a command in the order of the ids: keyword,
// handler, the arguments the command uses (required, at most), whether its
// first argument names a variable, and its effects for the script checker.
// The program, the checker and its trace all read this one table.
#include <array>

#include "commands.h"

namespace setup {

namespace {

using namespace commands;

// A row names only the effects its command has; the rest keep their
// defaults (which GCC's -Wextra would otherwise ask to be written out).
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
constexpr std::array<CommandEntry, 55> kCommands = {{
    {CommandId::MkDir, "MkDir", MkDir, 1, 2, false},
    {CommandId::CopyA, "CopyA", CopyA, 2, 2, false},
    {CommandId::Copy, "Copy", Copy, 1, 2, false, {.reads = "SRCDIR DSTDIR"}},
    {CommandId::CopyS, "CopyS", CopyS, 2, 2, false, {.reads = "SRCDIR"}},
    {CommandId::CopyD, "CopyD", CopyD, 2, 2, false, {.reads = "DSTDIR"}},
    {CommandId::MoveA, "MoveA", MoveA, 2, 2, false},
    {CommandId::Move, "Move", Move, 1, 2, false, {.reads = "SRCDIR DSTDIR"}},
    {CommandId::MoveS, "MoveS", MoveS, 2, 2, false, {.reads = "SRCDIR"}},
    {CommandId::MoveD, "MoveD", MoveD, 2, 2, false, {.reads = "DSTDIR"}},
    {CommandId::Register, "Register", SystemCommand, 1, 1, false, {.reads = "DSTDIR"}},
    {CommandId::MkPgmGroup, "MkPgmGroup", SystemCommand, 1, 1, false},
    {CommandId::MkLink, "MkLink", SystemCommand, 2, 2, false, {.reads = "DSTDIR PROGRAMGROUP"}},
    {CommandId::CopyDir2Dest, "CopyDir2Dest", CopyDir2Dest, 1, 1, false,
     {.reads = "SRCDIR DSTDIR"}},
    {CommandId::CreateSourceLink, "CreateSourceLink", SystemCommand, 2, 2, false,
     {.reads = "SRCDIR PROGRAMGROUP"}},
    {CommandId::AddPartition, "AddPartition", AddPartition, 1, 1, false, {.reads = "DSTDIR"}},
    {CommandId::Set, "set", Set, 2, 2, true, {.setsNamedVariable = true}},
    {CommandId::Get, "get", Get, 1, 1, true},
    {CommandId::Goto, "goto", Goto, 1, 1, false, {.sectionArgument = 1}},
    {CommandId::Quit, "quit", Quit, 2, 2, false},
    {CommandId::ShowFile, "ShowFile", SystemCommand, 1, 1, false},
    {CommandId::GetSystemVars, "GetSystemVars", GetSystemVars, 0, 0, false,
     {.sets = "SYSDIR WINDIR SRCDIR DSTDIR PROGRAMFILES"}},
    {CommandId::IShowInstallDlg, "IShowInstallDlg", SystemCommand, 0, 0, false,
     {.sets = "DSTDIR", .reads = "DSTDIR"}},
    {CommandId::If, "If", If, 0, 0, false},
    {CommandId::Else, "Else", Else, 0, 0, false},
    {CommandId::Endif, "Endif", Endif, 0, 0, false},
    {CommandId::Exist, "Exist", Exist, 1, 1, false},
    {CommandId::ApplyOnFiles, "ApplyOnFiles", ApplyOnFiles, 2, 2, false,
     {.sectionArgument = 2, .setsForSection = "DSTDIR"}},
    {CommandId::Return, "Return", Return, 0, 0, false},
    {CommandId::MsgBoxOK, "MsgBoxOK", MsgBoxOK, 2, 2, false},
    {CommandId::MsgBoxOKCancel, "MsgBoxOKCancel", MsgBoxOKCancel, 2, 2, false},
    {CommandId::DetectTCPIP, "DetectTCPIP", SystemCommand, 0, 0, false},
    {CommandId::Strcat, "Strcat", Strcat, 2, 2, true,
     {.setsNamedVariable = true, .readsNamedVariable = true}},
    {CommandId::Strcmp, "Strcmp", Strcmp, 2, 2, false},
    {CommandId::Run, "Run", SystemCommand, 1, 2, false, {.reads = "DSTDIR"}},
    {CommandId::Delete, "Delete", Delete, 1, 2, false},
    {CommandId::Unregister, "Unregister", SystemCommand, 1, 2, false},
    {CommandId::Deltree, "Deltree", Deltree, 1, 2, false},
    {CommandId::GetPgmGroup, "GetPgmGroup", SystemCommand, 1, 1, true, {.setsNamedVariable = true}},
    {CommandId::DelPgmGroup, "DelPgmGroup", SystemCommand, 0, 1, false},
    {CommandId::SetUninstall, "SetUninstall", SystemCommand, 2, 2, false},
    {CommandId::RegisterFont, "RegisterFont", SystemCommand, 1, 1, false},
    {CommandId::UnregisterFont, "UnregisterFont", SystemCommand, 1, 1, false},
    {CommandId::FindInFile, "FindInFile", FindInFile, 2, 2, false},
    {CommandId::ParseFile, "ParseFile", ParseFile, 2, 2, false,
     {.sectionArgument = 2, .setsForSection = "TempLine TempStripped"}},
    {CommandId::DetectVOXA, "DetectVOXA", SystemCommand, 0, 0, false, {.sets = "VOXApath"}},
    {CommandId::AppendFile, "AppendFile", AppendFile, 2, 2, false},
    {CommandId::GetTempFileName, "GetTempFileName", GetTempFileName, 1, 1, true,
     {.reads = "DSTDIR", .setsNamedVariable = true}},
    {CommandId::Include, "Include", Include, 2, 2, false,
     {.sectionArgument = 2, .sectionInNamedFile = true}},
    {CommandId::DelUninstall, "DelUninstall", SystemCommand, 1, 1, false},
    {CommandId::SetupType, "SetupType", SystemCommand, 0, 0, false, {.sets = "SETUPTYPE"}},
    {CommandId::Clr, "Clr", Clr, 1, 1, true},
    {CommandId::Stricmp, "Stricmp", Stricmp, 2, 2, false},
    {CommandId::MsgBoxYESNO, "MsgBoxYESNO", MsgBoxYESNO, 2, 2, false},
    {CommandId::RunWait, "RunWait", SystemCommand, 1, 2, false},
    {CommandId::CleanRegistry, "CleanRegistry", SystemCommand, 0, 0, false},
}};
#pragma GCC diagnostic pop

constexpr bool rowsInIdOrder() {
  for (size_t i = 0; i < kCommands.size(); ++i) {
    if (static_cast<size_t>(kCommands[i].id) != i) return false;
  }
  return true;
}
static_assert(rowsInIdOrder(), "a command's row is at the index of its id");
static_assert(static_cast<size_t>(CommandId::CleanRegistry) + 1 == kCommands.size());

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
