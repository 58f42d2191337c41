#include "trace_commands.h"

#include <algorithm>

#include "command_effects.h"
#include "commands.h"
#include "system_rules.h"

namespace setuplint {

namespace {

bool isGiven(bool isWord, const std::string& word) { return !isWord || !word.empty(); }

std::string describeArgument(bool isWord, const std::string& word, const setup::Value& value) {
  if (!isWord) return quotedText(value.value_or(""));
  if (word.empty()) return "<unset>";
  return word + "=" + (value ? quotedText(*value) : std::string("<unset>"));
}

std::string valueOr(const setup::Interpreter& in, const char* name) {
  setup::Value value = in.variable(name);
  return value ? quotedText(*value) : std::string("<unset>");
}

}  // namespace

std::string describeCall(const setup::CommandCall& call) {
  const setup::CommandEntry& entry = setup::commandEntry(call.command);
  int given = isGiven(call.isWord1, call.word1) ? (isGiven(call.isWord2, call.word2) ? 2 : 1) : 0;
  int shown = std::min(std::max(given, entry.requiredArguments), entry.usedArguments);
  std::string text = entry.keyword;
  if (shown >= 1) {
    text += " ";
    bool namesOnly = entry.firstNamesVariable && !entry.effects.readsNamedVariable;
    text += namesOnly && !call.word1.empty()
                ? call.word1
                : describeArgument(call.isWord1, call.word1, call.value1);
  }
  if (shown >= 2) text += " " + describeArgument(call.isWord2, call.word2, call.value2);
  return text;
}

void TraceCommands::beforeCommand(const setup::Interpreter&, const setup::CommandCall& call) {
  output_.command(describeCall(call));
}

void TraceCommands::rejectedLine(const setup::Interpreter&, std::string_view line) {
  output_.command("(not a command) " + std::string(line.substr(line.find_first_not_of(" \t"))));
}

void TraceCommands::run(setup::Interpreter& in, const setup::CommandCall& call) {
  using setup::CommandId;
  switch (setup::commandId(call)) {
    case CommandId::IShowInstallDlg:
      output_.effect("welcome dialog " + valueOr(in, "INTRO") + " titled " + valueOr(in, "APP_TITTLE") +
                     ", destination " + valueOr(in, "DSTDIR") + " -> continue");
      in.setCondition(1);
      return;
    case CommandId::ShowFile:
      output_.effect("agreement dialog -> agree");
      in.setCondition(1);
      return;
    case CommandId::SetupType: {
      // Continue on the entry selected at first, as the dialog lists them.
      std::vector<std::string> choices = setup::setupTypeChoices(in.variables());
      if (choices.empty()) {
        output_.effect("setup type choice, nothing listed -> SETUPTYPE cleared");
        in.variables().clear("SETUPTYPE");
      } else {
        output_.effect("setup type choice -> " + quotedText(choices.front()));
        in.variables().set("SETUPTYPE", choices.front());
      }
      in.setCondition(1);
      return;
    }
    case CommandId::DetectVOXA:
    case CommandId::DetectTCPIP:
      output_.effect("not found -> flag 0");
      in.setCondition(0);
      return;
    case CommandId::GetPgmGroup:
      // A query: the Programs folder of the fixed machine.
      if (!call.word1.empty()) in.variables().set(call.word1, "C:\\WINDOWS\\Start Menu\\Programs");
      return;
    default:
      return;
  }
}

}  // namespace setuplint
