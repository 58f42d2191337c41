// The double of the Voxa machine's tolvane.dll: the four embedding entry
// points the control calls. What it does is chosen by the command line of
// the launch, words separated by spaces:
//   refuse            the launch answers 0: no machine
//   run               a machine runs; every message is sent back through the
//                     message callback as it came
//   end               as run, and the machine ends by itself after the first
//                     message (through the end callback)
//   report=PATH       every call is written to PATH, one line each
// A message "return N" makes VoxaSendMessage answer N.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using MessageCallback = int(__cdecl*)(const char*);
using EndCallback = int(__cdecl*)(int);

MessageCallback onMessage = nullptr;
EndCallback onEnd = nullptr;
bool endsAfterMessage = false;
std::string reportPath;

void report(const std::string& line) {
  if (reportPath.empty()) return;
  if (FILE* file = std::fopen(reportPath.c_str(), "a")) {
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
  }
}

std::string orNull(const char* text) { return text != nullptr ? text : "(null)"; }

std::string windowClass(HWND window) {
  if (window == nullptr) return "(null)";
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string ownPath() {
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&report), &self);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(self, path, sizeof path);
  return path;
}

bool hasWord(const std::string& words, const std::string& word) {
  size_t at = 0;
  while ((at = words.find(word, at)) != std::string::npos) {
    bool starts = at == 0 || words[at - 1] == ' ';
    bool ends = at + word.size() == words.size() || words[at + word.size()] == ' ';
    if (starts && ends) return true;
    at += word.size();
  }
  return false;
}

int launch(int first, int second, const char* commandLine, int cmdShow, int fifth, int memSize, HWND window,
           MessageCallback callback) {
  std::string words = commandLine != nullptr ? commandLine : "";
  size_t reportAt = words.find("report=");
  if (reportAt != std::string::npos) {
    reportPath = words.substr(reportAt + 7, words.find(' ', reportAt) - reportAt - 7);
  }
  char directory[MAX_PATH] = {};
  GetCurrentDirectoryA(sizeof directory, directory);
  report("launch " + std::to_string(first) + " " + std::to_string(second) + " cmd=" + orNull(commandLine) +
         " show=" + std::to_string(cmdShow) + " " + std::to_string(fifth) + " mem=" + std::to_string(memSize) +
         " window=" + windowClass(window) + " callback=" + (callback != nullptr ? "yes" : "no"));
  report("directory " + std::string(directory));
  report("module " + ownPath());
  if (hasWord(words, "refuse")) return 0;
  onMessage = callback;
  endsAfterMessage = hasWord(words, "end");
  return 1;
}

int send(const char* message) {
  report("send " + orNull(message));
  if (onMessage != nullptr) onMessage(message != nullptr ? message : "");
  if (endsAfterMessage && onEnd != nullptr) {
    endsAfterMessage = false;
    onEnd(0);
  }
  std::string text = message != nullptr ? message : "";
  if (text.rfind("return ", 0) == 0) return std::atoi(text.c_str() + 7);
  return 0;
}

// No C++ exception leaves an entry point; a failure answers 0.
template <typename Call>
int guarded(Call&& call) noexcept {
  try {
    return call();
  } catch (...) {
    return 0;
  }
}

}  // namespace

extern "C" int __cdecl VOXAWinMainActiveX(int first, int second, const char* commandLine, int cmdShow, int fifth,
                                          int memSize, HWND window, MessageCallback callback) {
  return guarded([&] { return launch(first, second, commandLine, cmdShow, fifth, memSize, window, callback); });
}

extern "C" int __cdecl CBEndVoxa(EndCallback callback) {
  onEnd = callback;
  return guarded([] {
    report("end callback");
    return 0;
  });
}

extern "C" int __cdecl VoxaSendMessage(const char* message) {
  return guarded([&] { return send(message); });
}

extern "C" int __cdecl EndVoxaMachine(int argument) {
  onMessage = nullptr;
  return guarded([&] {
    report("end machine " + std::to_string(argument));
    return 0;
  });
}
