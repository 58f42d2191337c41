// One interpreter over one script and a fake host, for the tests.
#pragma once

#include <string>

#include "fake_host.h"
#include "interpreter.h"

namespace setup::testing {

struct ScriptRun {
  FakeHost host;
  Interpreter in{host};
  ScriptText script;

  void load(const std::string& text) {
    script = ScriptText(text);
    in.setScript(&script);
  }
  // Runs section of script as the program runs its start section.
  void run(const std::string& text, const std::string& section = "Setup") {
    load(text);
    in.RunSection(host.backgroundWindow(), section);
  }
  std::string var(const std::string& name) const { return in.variable(name).value_or("<unset>"); }
  std::string boxText(size_t i) const { return i < host.boxes.size() ? host.boxes[i].text : ""; }
};

}  // namespace setup::testing
