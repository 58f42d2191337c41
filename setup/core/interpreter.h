// The section runner: reads the current script, runs its sections line by
// line and keeps the variables and the three flags that steer a run.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "script_text.h"
#include "setup_host.h"
#include "variables.h"

namespace setup {

using Value = std::optional<std::string>;

// What the runner hands to a command.
struct CommandCall {
  WindowRef window = nullptr;  // the progress window of the running section
  Value value1;
  Value value2;
  std::string word1;
  std::string word2;
  int command = -1;
  bool isWord1 = true;
  bool isWord2 = true;
};

class Interpreter;

// The commands on the registry, the shell, fonts, DLLs and processes, and the
// dialogs: carried out by the program's own layer over the system.
class SystemCommands {
 public:
  virtual ~SystemCommands() = default;
  virtual void run(Interpreter& interpreter, const CommandCall& call) = 0;
};

// Sees every command line the runner is about to execute (tools that show a
// script's installation before it ships).
class CommandObserver {
 public:
  virtual ~CommandObserver() = default;
  virtual void beforeCommand(const Interpreter& interpreter, const CommandCall& call) = 0;
  // A line whose keyword is not a command, before its message.
  virtual void rejectedLine(const Interpreter&, std::string_view /*lineUpToKeyword*/) {}
};

class Interpreter {
 public:
  // Nested section runs deeper than this end the installation.
  static constexpr int kMaxSectionDepth = 64;

  explicit Interpreter(SetupHost& host) : host_(host) {}

  void RunSection(WindowRef parent, std::string_view name);
  bool FindSection(std::string_view name);
  // 1 when a line's first word is first, 2 when it is second; 0 at the end.
  int SkipToKeyword(std::string_view first, std::string_view second = {});
  void ExecuteCommand(const CommandCall& call);

  void ShowMessage(const char* title, const char* format, ...);
  void ShowError(const char* format, ...);
  void SetStatusText(WindowRef window, int control, const char* format, ...);

  // The current script; Include swaps it for the time of one run.
  ScriptText* script() const { return script_; }
  void setScript(ScriptText* script) { script_ = script; }

  SetupHost& host() { return host_; }
  VariableTable& variables() { return variables_; }
  Value variable(std::string_view name) const { return variables_.get(name); }

  int condition() const { return condition_; }
  void setCondition(int value) { condition_ = value; }
  bool stopped() const { return stop_; }
  bool aborted() const { return abort_; }
  void stopRun() { stop_ = true; }
  // Ends the current run and every run after it.
  void abortInstallation() { stop_ = abort_ = true; }

  bool uninstallMode() const { return uninstall_; }
  void setUninstallMode(bool on) { uninstall_ = on; }
  int depth() const { return depth_; }

  SystemCommands* systemCommands() const { return system_; }
  void setSystemCommands(SystemCommands* system) { system_ = system; }
  void setCommandObserver(CommandObserver* observer) { observer_ = observer; }
  // The section whose lines are running (empty between runs).
  const std::string& currentSection() const { return section_; }

 private:
  void runLines(WindowRef window);
  void executeLine(std::string_view line, WindowRef window);

  SetupHost& host_;
  VariableTable variables_;
  ScriptText* script_ = nullptr;
  int condition_ = 0;
  bool stop_ = false;
  bool abort_ = false;
  bool uninstall_ = false;
  int depth_ = 0;
  SystemCommands* system_ = nullptr;
  CommandObserver* observer_ = nullptr;
  std::string section_;
};

}  // namespace setup
