// Variables read before any command sets them.
//
// The walk follows the runs the program would make from [Setup], and then
// from [Uninstall] (each a run of its own, starting with no variable set):
// the lines of a section in file order, and at goto, Include, ParseFile and
// ApplyOnFiles with a literal target the lines of that section, right
// there. Both branches of every If count as run, one after the other, so a
// variable counts as set from the first command that sets it on the way,
// whichever branch that command is in; Clr is not followed. Each section is
// walked once per start section, the first time it is reached.
//
// Sections that no start section reaches are walked afterwards with every
// variable the package sets anywhere counted as set: only variables that
// nothing sets are reported there.
#include <set>
#include <utility>

#include "command_effects.h"
#include "commands.h"
#include "lint.h"
#include "package.h"
#include "package_paths.h"

namespace setuplint {

namespace {

using Names = std::set<std::string>;  // lower case: names ignore letter case

std::string key(std::string_view name) { return lowerCase(name); }

class VariableOrder {
 public:
  VariableOrder(Package& package, std::vector<Diagnostic>& out) : package_(package), out_(out) {}

  void check() {
    for (const ScriptFile& file : package_.files()) collectEverSet(file);
    for (const char* start : {"Setup", "Uninstall"}) walkFrom(package_.script(), start, {});
    for (size_t f = 0; f < package_.files().size(); ++f) {
      const ScriptFile& file = package_.files()[f];
      for (size_t header : file.headers()) {
        std::string name = file.sectionAt(header);
        if (!walked_.contains({&file, key(name)})) walkFrom(file, name, everSet_);
      }
    }
  }

 private:
  using SectionKey = std::pair<const ScriptFile*, std::string>;

  void collectEverSet(const ScriptFile& file) {
    for (const ScriptLine& line : file.lines()) {
      if (setup::classifyLine(line.text) != setup::LineKind::Command) continue;
      setup::CommandLine parsed = setup::parseCommandLine(line.text);
      const CommandEffects& effects = effectsOf(parsed.keyword);
      if (effects.setsNamedVariable && !parsed.first.text.empty()) {
        everSet_.insert(key(parsed.first.text));
      }
      for (const std::string& name : namesIn(effects.sets)) everSet_.insert(key(name));
      for (const std::string& name : namesIn(effects.setsForSection)) everSet_.insert(key(name));
    }
  }

  void walkFrom(const ScriptFile& file, std::string_view section, Names set) {
    set_ = std::move(set);
    visited_.clear();
    walkSection(file, section);
  }

  void walkSection(const ScriptFile& file, std::string_view name) {
    SectionKey section{&file, key(name)};
    if (!visited_.insert(section).second) return;
    walked_.insert(section);
    std::optional<size_t> start = file.sectionStart(name);
    if (!start) return;
    for (size_t i = *start; i < file.sectionEnd(*start); ++i) {
      if (setup::classifyLine(file.lines()[i].text) == setup::LineKind::Command) walkLine(file, i);
    }
  }

  void walkLine(const ScriptFile& file, size_t index) {
    setup::CommandLine parsed = setup::parseCommandLine(file.lines()[index].text);
    int number = setup::findCommand(parsed.keyword);
    if (number < 0) return;
    const setup::CommandEntry& entry = setup::commandEntry(number);
    const CommandEffects& effects = entry.effects;
    auto readsWord = [](const setup::Argument& argument) {
      return argument.isWord && !argument.text.empty();
    };
    bool firstIsValue = !entry.firstNamesVariable || effects.readsNamedVariable;
    if (entry.usedArguments >= 1 && firstIsValue && readsWord(parsed.first)) {
      checkRead(file, index, parsed.first.text, {});
    }
    if (entry.usedArguments >= 2 && readsWord(parsed.second)) {
      checkRead(file, index, parsed.second.text, {});
    }
    for (const std::string& name : namesIn(effects.reads)) {
      checkRead(file, index, name, entry.keyword);
    }

    if (effects.setsNamedVariable && !parsed.first.text.empty()) set_.insert(key(parsed.first.text));
    for (const std::string& name : namesIn(effects.sets)) set_.insert(key(name));
    if (effects.sectionArgument != 0) runSection(file, parsed, effects);
  }

  void runSection(const ScriptFile& file, const setup::CommandLine& parsed,
                  const CommandEffects& effects) {
    const setup::Argument& section = effects.sectionArgument == 1 ? parsed.first : parsed.second;
    if (section.isWord) return;  // a section chosen at run time
    const ScriptFile* target = &file;
    if (effects.sectionInNamedFile) {
      if (parsed.first.isWord) return;
      target = package_.included(parsed.first.text);
      if (target == nullptr) return;
    }
    for (const std::string& name : namesIn(effects.setsForSection)) set_.insert(key(name));
    walkSection(*target, section.text);
  }

  // A variable that a word names (byCommand empty) or that the command
  // reads by itself.
  void checkRead(const ScriptFile& file, size_t index, const std::string& name,
                 std::string_view byCommand) {
    if (set_.contains(key(name))) return;
    Diagnostic diagnostic{file.name(), file.lines()[index].number, Severity::Warning, {}};
    if (!byCommand.empty()) {
      diagnostic.message = std::string(byCommand) + " reads " + name + ", which no command has set yet";
      const setup::CommandEffects& systemVars = setup::commandEntry(setup::CommandId::GetSystemVars).effects;
      for (const std::string& system : namesIn(systemVars.sets)) {
        if (system == name) diagnostic.message += " (GetSystemVars sets it)";
      }
    } else if (!everSet_.contains(key(name))) {
      diagnostic.severity = Severity::Error;
      diagnostic.message = "variable " + name + " is never set by any command, so it has no value";
      // A file name without its quotes reads as a variable.
      if (name.find_first_of(".\\:") != std::string::npos) {
        diagnostic.message += " (a literal needs quotes: \"" + name + "\")";
      }
    } else {
      diagnostic.message = "variable " + name + " is read before any command sets it";
    }
    out_.push_back(std::move(diagnostic));
  }

  Package& package_;
  std::vector<Diagnostic>& out_;
  Names everSet_;
  Names set_;
  std::set<SectionKey> visited_;  // in the current walk
  std::set<SectionKey> walked_;   // in any walk
};

}  // namespace

void checkVariableOrder(Package& package, std::vector<Diagnostic>& out) {
  VariableOrder(package, out).check();
}

}  // namespace setuplint
