// The script runner: calls a plug-in's primitives line by line and prints
// each result read according to the primitive's registered type.
#pragma once

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

#include "script_tokens.h"
#include "test_machine.h"
#include "common/win32/handles.h"

namespace testvm {

using win::UniqueHandle;
using win::adoptFileHandle;

// Exit codes of a run.
constexpr int kRunClean = 0;
constexpr int kRunFaults = 1;
constexpr int kRunScriptError = 2;

class ScriptRunner {
 public:
  ScriptRunner(TestMachine& machine, std::ostream& out, std::ostream& err);

  // Prints "loaded ..." for each package the plug-in registered, then what
  // the machine logged and faulted while loading.
  void reportLoad(const std::string& plugin);

  // Runs a whole script. Stops at the first script error; faults do not stop
  // it. Returns kRunScriptError, kRunFaults or kRunClean.
  int run(std::istream& script, const std::string& scriptName);

 private:
  struct Line {
    int number;
    std::vector<Token> tokens;
  };

  void runLine(const Line& line);
  void runCall(const Line& line);
  void runSave(const Line& line);
  void runFail(const Line& line);
  VmValue parseValue(const Line& line, size_t& at);
  VmValue parseBitmap(const Line& line, size_t& at);
  VmValue parseFile(const Line& line, size_t& at);
  VmValue lookup(const std::string& reference) const;
  bool startsValue(const Token& token) const;
  void checkArguments(const TestMachine::Entry& entry, const std::vector<VmValue>& args) const;
  // Prints the log lines and faults the machine gathered since the last report.
  void reportMachine(const std::vector<std::string>& moreFaults = {});

  TestMachine& machine_;
  std::ostream& out_;
  std::ostream& err_;
  std::map<int, VmValue> values_;
  std::vector<UniqueHandle> files_;
  bool sawFault_ = false;
};

}  // namespace testvm
