// What a trace shows of each command, and the system commands and dialogs
// as a user who takes every default would meet them: the welcome and
// agreement dialogs continue, SetupType takes its first entry, no virtual
// machine program and no TCP/IP are found; the rest change nothing.
#pragma once

#include "interpreter.h"
#include "trace_output.h"

namespace setuplint {

class TraceCommands : public setup::CommandObserver, public setup::SystemCommands {
 public:
  explicit TraceCommands(TraceOutput& output) : output_(output) {}

  // "Copy "a.txt" NAME="b.txt"": the keyword and its values.
  void beforeCommand(const setup::Interpreter& interpreter, const setup::CommandCall& call) override;
  void rejectedLine(const setup::Interpreter& interpreter, std::string_view line) override;
  void run(setup::Interpreter& interpreter, const setup::CommandCall& call) override;

 private:
  TraceOutput& output_;
};

// The keyword and the arguments it uses: literals quoted, words as
// NAME="value" (NAME=<unset>), a missing argument as <unset>, a variable
// that the command sets by its bare name.
std::string describeCall(const setup::CommandCall& call);

}  // namespace setuplint
