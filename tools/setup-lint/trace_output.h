// The lines of a trace, indented by the nesting of the section runs: a run's
// header at its caller's level, its commands one level in, and what a
// command (or the run itself, before its first command) does one level
// further.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "interpreter.h"

namespace setuplint {

class TraceOutput {
 public:
  explicit TraceOutput(std::ostream& out) : out_(out) {}
  void follow(const setup::Interpreter& interpreter) { interpreter_ = &interpreter; }

  // The header of the section run that is starting.
  void runStarts() {
    if (interpreter_ == nullptr) return;
    level_ = depth() - 1;
    write(level_, "[" + interpreter_->currentSection() + "]");
  }
  void command(const std::string& text) {
    level_ = depth();
    write(level_, text);
  }
  void effect(const std::string& text) { write(level_ + 1, text); }

 private:
  int depth() const { return interpreter_ != nullptr ? interpreter_->depth() : 0; }
  void write(int level, const std::string& text) {
    out_ << std::string(static_cast<size_t>(level > 0 ? 2 * level : 0), ' ') << text << "\n";
  }

  std::ostream& out_;
  const setup::Interpreter* interpreter_ = nullptr;
  int level_ = 0;  // of the latest command or run header
};

// text in double quotes, line ends shown as \n.
inline std::string quotedText(std::string_view text) {
  std::string shown = "\"";
  for (char c : text) {
    if (c == '\r') continue;
    shown += c == '\n' ? std::string("\\n") : std::string(1, c);
  }
  return shown + "\"";
}

}  // namespace setuplint
