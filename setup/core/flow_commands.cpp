// set, get, Clr, Strcat, Strcmp, Stricmp, goto, Include, Return, quit, the
// conditionals and GetSystemVars.
#include "commands.h"
#include "messages.h"
#include "argument_text.h"

namespace setup {

int comparePrefix(const std::string& text, const std::string& prefix, bool ignoreCase) {
  auto fold = [ignoreCase](unsigned char c) -> int {
    return ignoreCase && c >= 'A' && c <= 'Z' ? c + 32 : c;
  };
  for (size_t i = 0; i < prefix.size(); ++i) {
    int a = i < text.size() ? fold(static_cast<unsigned char>(text[i])) : 0;
    int b = fold(static_cast<unsigned char>(prefix[i]));
    if (a != b) return a - b;
  }
  return 0;
}

namespace commands {

void Set(Interpreter& in, const CommandCall& call) {
  in.variables().set(call.word1, textOf(call.value2));
  // The package title painted on the background window.
  if (call.word1 == "SETUPNAME") in.host().invalidateBackground();
}

void Get(Interpreter& in, const CommandCall& call) {
  if (call.isWord1) (void)in.variable(call.word1);
}

void Clr(Interpreter& in, const CommandCall& call) { in.variables().clear(call.word1); }

void Strcat(Interpreter& in, const CommandCall& call) {
  std::string joined;
  joined.reserve(textOf(call.value1).size() + textOf(call.value2).size() + 1);
  joined += textOf(call.value1);
  joined += textOf(call.value2);
  in.variables().set(call.word1, joined);
}

void Strcmp(Interpreter& in, const CommandCall& call) {
  in.setCondition(comparePrefix(textOf(call.value1), textOf(call.value2), false));
}

void Stricmp(Interpreter& in, const CommandCall& call) {
  in.setCondition(comparePrefix(textOf(call.value1), textOf(call.value2), true));
}

void Goto(Interpreter& in, const CommandCall& call) {
  in.RunSection(call.window, textOf(call.value1));
}

void Include(Interpreter& in, const CommandCall& call) {
  ScriptText* caller = in.script();
  std::optional<std::string> bytes;
  if (call.value1) bytes = in.host().readFile(*call.value1);
  if (!bytes) {
    in.setCondition(0);
    return;
  }
  ScriptText included(*bytes);
  in.setScript(&included);
  in.RunSection(call.window, textOf(call.value2));
  in.setScript(caller);
}

void Return(Interpreter& in, const CommandCall&) {
  in.setCondition(0);
  in.stopRun();
}

void Quit(Interpreter& in, const CommandCall& call) {
  in.host().messageBox(call.window, textOf(call.value1).c_str(),
                       call.value2 ? call.value2->c_str() : nullptr, Buttons::Ok);
  in.host().endWindow(call.window);
  in.abortInstallation();
}

void If(Interpreter& in, const CommandCall&) {
  if (in.condition() != 0) return;
  int found = in.SkipToKeyword("Else", "Endif");
  if (found == 0) {
    in.ShowError("%s", text::kMissingElseEndif);
    in.setCondition(0);
    in.stopRun();
    return;
  }
  in.setCondition(found);
}

void Else(Interpreter& in, const CommandCall&) {
  if (in.SkipToKeyword("Endif") == 0) {
    in.ShowError("%s", text::kMissingEndif);
    in.setCondition(0);
    in.stopRun();
    return;
  }
  in.setCondition(1);
}

void Endif(Interpreter&, const CommandCall&) {}

void GetSystemVars(Interpreter& in, const CommandCall&) {
  constexpr const char* kVersionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
  constexpr size_t kRegistryValueMax = 1024;
  SetupHost& host = in.host();

  std::string sourceDirectory = host.currentDirectory();
  if (!sourceDirectory.empty() && sourceDirectory.back() == '\\') sourceDirectory.pop_back();

  std::optional<std::string> programFiles =
      host.machineRegistryString(kVersionKey, "ProgramFilesPath", kRegistryValueMax);
  if (!programFiles) {
    programFiles = host.machineRegistryString(kVersionKey, "ProgramFilesDir", kRegistryValueMax);
  }

  VariableTable& variables = in.variables();
  variables.set("SYSDIR", host.systemDirectory());
  variables.set("WINDIR", host.windowsDirectory());
  variables.set("SRCDIR", sourceDirectory);
  // Without a Program Files folder there is no default destination.
  if (programFiles) {
    variables.set("DSTDIR", *programFiles + "\\VOXA\\");
    variables.set("PROGRAMFILES", *programFiles + "\\");
  }
}

}  // namespace commands
}  // namespace setup
