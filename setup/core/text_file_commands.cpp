// The commands on text files: AppendFile, ParseFile, FindInFile and
// AddPartition.
#include <cstdio>

#include "commands.h"
#include "messages.h"
#include "paths.h"
#include "argument_text.h"

namespace setup::commands {

namespace {

std::optional<std::string> readText(Interpreter& in, const Value& path) {
  if (!path || !fitsMaxPath(*path)) return std::nullopt;
  return in.host().readFile(*path);
}

bool appendLine(Interpreter& in, const std::string& path, const std::string& line) {
  return fitsMaxPath(path) && in.host().appendToFile(path, line + "\r\n");
}

}  // namespace

void AppendFile(Interpreter& in, const CommandCall& call) {
  bool written = call.value2 && appendLine(in, *call.value2, textOf(call.value1));
  in.setCondition(written ? 1 : 0);
}

void ParseFile(Interpreter& in, const CommandCall& call) {
  std::optional<std::string> bytes = readText(in, call.value1);
  if (!bytes) return;
  ScriptText file(*bytes);
  const std::string section = textOf(call.value2);
  std::string line;
  // Once the installation has ended, the sections would run no line: the
  // rest of the file is left unread.
  while (!in.aborted() && file.readLine(line)) {
    if (!line.empty() && line.back() == '\n') line.pop_back();
    in.variables().set("TempLine", line);
    in.variables().set("TempStripped", line.substr(skipBlanks(line)));
    in.RunSection(nullptr, section);
  }
}

void FindInFile(Interpreter& in, const CommandCall& call) {
  std::optional<std::string> bytes = readText(in, call.value2);
  in.setCondition(0);
  if (!bytes) return;
  ScriptText file(*bytes);
  const std::string& prefix = textOf(call.value1);
  std::string line;
  while (file.readLine(line)) {
    std::string stripped = line.substr(skipBlanks(line));
    if (stripped.size() >= prefix.size() && comparePrefix(stripped, prefix, true) == 0) {
      in.setCondition(1);
      return;
    }
    in.host().messagePasses(1);
  }
}

void AddPartition(Interpreter& in, const CommandCall& call) {
  Value directory = in.variable("DSTDIR");
  if (!directory) return;
  std::string path = *directory + "\\EktPack.ini";
  if (fitsMaxPath(path)) in.host().setAttributes(path, kAttributeNormal);
  if (!appendLine(in, path, textOf(call.value1) + "\\part2\\ 0")) {
    char message[4096];
    std::snprintf(message, sizeof message, text::kCannotOpen, path.c_str());
    in.host().messageBox(nullptr, message, text::kFileError, Buttons::Ok);
  }
}

}  // namespace setup::commands
