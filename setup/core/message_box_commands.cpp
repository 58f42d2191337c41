// MsgBoxOK, MsgBoxOKCancel and MsgBoxYESNO: a message box owned by the
// command's window; its answer becomes the condition flag.
#include "commands.h"
#include "argument_text.h"

namespace setup::commands {

namespace {

int ask(Interpreter& in, const CommandCall& call, Buttons buttons) {
  return in.host().messageBox(call.window, textOf(call.value1).c_str(),
                              call.value2 ? call.value2->c_str() : nullptr, buttons);
}

}  // namespace

void MsgBoxOK(Interpreter& in, const CommandCall& call) {
  in.setCondition(ask(in, call, Buttons::Ok));
}

void MsgBoxOKCancel(Interpreter& in, const CommandCall& call) {
  in.setCondition(ask(in, call, Buttons::OkCancel) == kAnswerOk ? 1 : 0);
}

void MsgBoxYESNO(Interpreter& in, const CommandCall& call) {
  in.setCondition(ask(in, call, Buttons::YesNo) == kAnswerYes ? 1 : 0);
}

void SystemCommand(Interpreter& in, const CommandCall& call) {
  if (SystemCommands* system = in.systemCommands()) system->run(in, call);
}

}  // namespace setup::commands
