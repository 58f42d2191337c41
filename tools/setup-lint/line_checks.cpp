// The checks of single lines, in the program's own terms: what it would
// reject, where its skips would end, which sections it would not find.
#include <map>

#include "command_effects.h"
#include "commands.h"
#include "lint.h"
#include "package.h"
#include "package_paths.h"

namespace setuplint {

namespace {

using setup::Argument;
using setup::CommandLine;

std::string inQuotes(std::string_view text) { return "\"" + std::string(text) + "\""; }

bool isGiven(const Argument& argument) { return !argument.isWord || !argument.text.empty(); }

std::string arguments(int count) {
  return std::to_string(count) + (count == 1 ? " argument" : " arguments");
}

class LineChecker {
 public:
  LineChecker(Package& package, const ScriptFile& file, std::vector<Diagnostic>& out)
      : package_(package), file_(file), out_(out) {}

  void checkAll();

 private:
  void report(size_t index, Severity severity, std::string message) {
    out_.push_back({file_.name(), file_.lines()[index].number, severity, std::move(message)});
  }
  void checkHeader(size_t index, std::map<std::string, int>& seen);
  void checkCommand(size_t index);
  void checkArguments(size_t index, const CommandLine& parsed, const setup::CommandEntry& entry);
  void checkSkip(size_t index, std::string_view keyword);
  void checkTarget(size_t index, const CommandLine& parsed, const setup::CommandEntry& entry);

  Package& package_;
  const ScriptFile& file_;
  std::vector<Diagnostic>& out_;
};

void LineChecker::checkAll() {
  const std::vector<ScriptLine>& lines = file_.lines();
  std::vector<size_t> headers = file_.headers();
  if (headers.empty()) {
    out_.push_back({file_.name(), 0, Severity::Warning, "no section header: no line of it can run"});
    return;
  }
  std::map<std::string, int> seen;  // lower-case section name -> line
  for (size_t i = 0; i < lines.size(); ++i) {
    setup::LineKind kind = setup::classifyLine(lines[i].text);
    if (kind == setup::LineKind::Empty || kind == setup::LineKind::Comment) continue;
    if (kind == setup::LineKind::Header) checkHeader(i, seen);
    if (i < headers.front()) {
      report(i, Severity::Warning, "this line comes before the first section header and never runs");
    } else if (kind == setup::LineKind::Header && !endsSection(lines[i]) && i > headers.front()) {
      // The first header has no section above it to run it.
      CommandLine parsed = setup::parseCommandLine(lines[i].text);
      report(i, Severity::Error,
             "indented header " + inQuotes(parsed.keyword) +
                 " does not end the section above it, which runs it as a command and shows "
                 "\"Syntax Error: " + std::string(parsed.lineUpToKeyword) + ".\"");
    } else if (kind == setup::LineKind::Command) {
      checkCommand(i);
    }
  }
}

void LineChecker::checkHeader(size_t index, std::map<std::string, int>& seen) {
  std::string name = file_.sectionAt(index);
  // Without "]" the name runs to the end of the line, line feed included:
  // no command finds it, and it takes no name from a later header.
  std::string_view fullName = setup::headerName(file_.lines()[index].text);
  if (!fullName.empty() && fullName.back() == '\n') {
    report(index, Severity::Warning,
           "header [" + name + " has no \"]\": the program takes its name with the line feed, "
           "so no goto, Include, ParseFile, ApplyOnFiles or start section finds it");
    return;
  }
  auto [first, inserted] = seen.emplace(lowerCase(name), file_.lines()[index].number);
  if (!inserted) {
    report(index, Severity::Warning,
           "section [" + name + "] again: the program only ever runs the one of line " +
               std::to_string(first->second));
  }
}

void LineChecker::checkCommand(size_t index) {
  CommandLine parsed = setup::parseCommandLine(file_.lines()[index].text);
  int number = setup::findCommand(parsed.keyword);
  if (number < 0) {
    report(index, Severity::Error,
           inQuotes(parsed.keyword) + " is not a command: the program shows \"Syntax Error: " +
               std::string(parsed.lineUpToKeyword) + ".\" and passes the line over");
    return;
  }
  const setup::CommandEntry& entry = setup::commandEntry(number);
  checkArguments(index, parsed, entry);
  if (entry.id == setup::CommandId::If) checkSkip(index, "If");
  if (entry.id == setup::CommandId::Else) checkSkip(index, "Else");
  if (entry.effects.sectionArgument != 0) checkTarget(index, parsed, entry);
}

void LineChecker::checkArguments(size_t index, const CommandLine& parsed,
                                 const setup::CommandEntry& entry) {
  int given = isGiven(parsed.first) ? (isGiven(parsed.second) ? 2 : 1) : 0;
  if (given < entry.requiredArguments) {
    report(index, Severity::Error,
           std::string(entry.keyword) + " uses " + arguments(entry.requiredArguments) +
               " but is given " + std::to_string(given) + ": the missing ones have no value");
  } else if (given > entry.usedArguments) {
    const Argument& ignored = entry.usedArguments == 0 ? parsed.first : parsed.second;
    report(index, Severity::Warning,
           std::string(entry.keyword) + " uses " + arguments(entry.usedArguments) + ": " +
               inQuotes(ignored.text) + " is ignored");
  }
}

// If (when the flag is 0) and Else skip forward to the first line whose
// first word is Else/Endif or Endif, counting no nesting and crossing
// section headers.
void LineChecker::checkSkip(size_t index, std::string_view keyword) {
  bool isIf = keyword == "If";
  std::optional<size_t> end =
      isIf ? file_.skipTo(index + 1, "Else", "Endif") : file_.skipTo(index + 1, "Endif");
  if (!end) {
    report(index, Severity::Error,
           isIf ? "If has no Else or Endif after it: when the flag is 0 the program shows "
                  "\"Syntax Error: missing else/endif. Aborting section\""
                : "Else has no Endif after it: the program shows \"Syntax Error: missing "
                  "endif. Aborting section\"");
    return;
  }
  const std::string where = std::to_string(file_.lines()[*end].number);
  if (std::optional<size_t> nested = file_.skipTo(index + 1, "If"); nested && *nested < *end) {
    report(*nested, Severity::Warning,
           "If inside the lines that the " + std::string(keyword) + " of line " +
               std::to_string(file_.lines()[index].number) +
               " skips: that skip counts no nesting and ends early, at line " + where);
  }
  if (file_.sectionEnd(index + 1) < *end) {
    report(index, Severity::Warning,
           std::string(keyword) + " skips to line " + where + ", past the end of its section, into [" +
               file_.sectionAt(*end) + "]; the run goes on there");
  }
}

void LineChecker::checkTarget(size_t index, const CommandLine& parsed,
                              const setup::CommandEntry& entry) {
  const CommandEffects& effects = entry.effects;
  const Argument& section = effects.sectionArgument == 1 ? parsed.first : parsed.second;
  if (!isGiven(section)) return;  // the argument count says so
  std::string keyword(entry.keyword);
  if (section.isWord) {
    report(index, Severity::Note,
           keyword + " names its section through the variable " + section.text + ": not checked");
    return;
  }
  const ScriptFile* target = &file_;
  if (effects.sectionInNamedFile) {
    const Argument& file = parsed.first;
    if (file.isWord || isAbsoluteWindowsPath(file.text)) {
      report(index, Severity::Note,
             "Include of " + (file.isWord ? "the variable " + file.text : inQuotes(file.text)) +
                 ": a file outside the package folder is not checked");
      return;
    }
    target = package_.included(file.text);
    if (target == nullptr) {
      report(index, Severity::Warning,
             "Include: no file " + inQuotes(file.text) +
                 " beside the script: the program sets the flag 0 and runs nothing");
      return;
    }
  }
  if (!target->sectionStart(section.text)) {
    report(index, Severity::Error,
           keyword + ": no section [" + section.text + "] in " + target->name() +
               ": the program shows \"INI file incomplete. Aborting.\"");
  }
}

}  // namespace

void checkLines(Package& package, const ScriptFile& file, std::vector<Diagnostic>& out) {
  LineChecker(package, file, out).checkAll();
}

}  // namespace setuplint
