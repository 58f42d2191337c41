#include "command_effects.h"

#include "script_text.h"

namespace setuplint {

namespace {

constexpr CommandEffects kEffects[] = {
    {.keyword = "GetSystemVars", .sets = "SYSDIR WINDIR SRCDIR DSTDIR PROGRAMFILES"},
    {.keyword = "IShowInstallDlg", .sets = "DSTDIR", .reads = "DSTDIR"},
    {.keyword = "SetupType", .sets = "SETUPTYPE"},
    {.keyword = "DetectVOXA", .sets = "VOXApath"},
    {.keyword = "set", .setsNamedVariable = true},
    {.keyword = "Strcat", .setsNamedVariable = true, .readsNamedVariable = true},
    {.keyword = "GetPgmGroup", .setsNamedVariable = true},
    {.keyword = "GetTempFileName", .reads = "DSTDIR", .setsNamedVariable = true},
    {.keyword = "Copy", .reads = "SRCDIR DSTDIR"},
    {.keyword = "CopyS", .reads = "SRCDIR"},
    {.keyword = "CopyD", .reads = "DSTDIR"},
    {.keyword = "Move", .reads = "SRCDIR DSTDIR"},
    {.keyword = "MoveS", .reads = "SRCDIR"},
    {.keyword = "MoveD", .reads = "DSTDIR"},
    {.keyword = "CopyDir2Dest", .reads = "SRCDIR DSTDIR"},
    {.keyword = "CreateSourceLink", .reads = "SRCDIR PROGRAMGROUP"},
    {.keyword = "MkLink", .reads = "DSTDIR PROGRAMGROUP"},
    {.keyword = "Register", .reads = "DSTDIR"},
    {.keyword = "Run", .reads = "DSTDIR"},
    {.keyword = "AddPartition", .reads = "DSTDIR"},
    {.keyword = "goto", .sectionArgument = 1},
    {.keyword = "Include", .sectionArgument = 2, .sectionInNamedFile = true},
    {.keyword = "ParseFile", .sectionArgument = 2, .setsForSection = "TempLine TempStripped"},
    {.keyword = "ApplyOnFiles", .sectionArgument = 2, .setsForSection = "DSTDIR"},
};

constexpr CommandEffects kNoEffects{};

}  // namespace

const CommandEffects& effectsOf(std::string_view keyword) {
  for (const CommandEffects& effects : kEffects) {
    if (setup::equalsIgnoringCase(effects.keyword, keyword)) return effects;
  }
  return kNoEffects;
}

std::vector<std::string> namesIn(std::string_view list) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start < list.size()) {
    size_t end = list.find(' ', start);
    if (end == std::string_view::npos) end = list.size();
    if (end > start) names.emplace_back(list.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

}  // namespace setuplint
