// Any bytes as a setup script: the reader and the runner must end every run
// without reading out of bounds, recursing without end or crashing, whatever
// the lines, sections, literals and commands.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fake_host.h"
#include "interpreter.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  setup::testing::FakeHost host;
  host.addDirectory("C:\\src");
  host.addFile("C:\\src\\a.txt", "line one\nline two\n");
  setup::Interpreter interpreter(host);
  setup::ScriptText script(std::string(reinterpret_cast<const char*>(data), size));
  interpreter.setScript(&script);
  interpreter.RunSection(host.backgroundWindow(), "Setup");
  return 0;
}
