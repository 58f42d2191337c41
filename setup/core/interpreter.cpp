#include "interpreter.h"

#include <cstdarg>
#include <cstdio>

#include "commands.h"
#include "messages.h"

namespace setup {

namespace {

constexpr size_t kMessageBufferSize = 4096;
constexpr int kPassesAfterLine = 50;

std::string formatMessage(const char* format, va_list arguments) {
  char buffer[kMessageBufferSize];
  std::vsnprintf(buffer, sizeof buffer, format, arguments);
  return buffer;
}

// Keeps the count of nested runs right on every way out.
class DepthGuard {
 public:
  explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
  ~DepthGuard() { --depth_; }
  DepthGuard(const DepthGuard&) = delete;
  DepthGuard& operator=(const DepthGuard&) = delete;

 private:
  int& depth_;
};

}  // namespace

void Interpreter::ShowMessage(const char* title, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::string text = formatMessage(format, arguments);
  va_end(arguments);
  host_.messageBox(host_.backgroundWindow(), text.c_str(), title, Buttons::Ok);
}

void Interpreter::ShowError(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::string text = formatMessage(format, arguments);
  va_end(arguments);
  host_.messageBox(host_.backgroundWindow(), text.c_str(), text::kError, Buttons::Ok);
}

void Interpreter::SetStatusText(WindowRef window, int control, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::string text = formatMessage(format, arguments);
  va_end(arguments);
  host_.setControlText(window, control, text);
}

bool Interpreter::FindSection(std::string_view name) {
  if (script_ == nullptr) return false;
  script_->rewind();
  std::string line;
  while (script_->readLine(line)) {
    if (classifyLine(line) == LineKind::Header && equalsIgnoringCase(headerName(line), name)) {
      return true;
    }
  }
  return false;
}

int Interpreter::SkipToKeyword(std::string_view first, std::string_view second) {
  if (script_ == nullptr) return 0;
  std::string line;
  while (script_->readLine(line)) {
    std::string_view word = firstWord(line);
    if (equalsIgnoringCase(word, first)) return 1;
    if (!second.empty() && equalsIgnoringCase(word, second)) return 2;
  }
  return 0;
}

void Interpreter::RunSection(WindowRef parent, std::string_view name) {
  if (depth_ >= kMaxSectionDepth) {
    // Once the limit has ended the installation, the walks that go on
    // calling (ParseFile, ApplyOnFiles) get no second message.
    if (abort_) return;
    std::string sectionName(name);
    ShowError(text::kTooDeep, kMaxSectionDepth, sectionName.c_str());
    abortInstallation();
    return;
  }
  DepthGuard depth(depth_);
  size_t savedPosition = script_ != nullptr ? script_->position() : 0;
  bool savedStop = stop_;
  std::string savedSection = std::move(section_);
  section_ = std::string(name);

  WindowRef window = host_.openProgressWindow(parent);
  SetStatusText(window, kStatusLine, "%s", text::kSetupStatus);
  stop_ = false;

  if (FindSection(name)) {
    runLines(window);
  } else {
    host_.messageBox(window, text::kSectionMissing, text::kErrorCaps, Buttons::Ok);
    host_.requestQuit(-1);
  }

  if (script_ != nullptr) script_->seek(savedPosition);
  stop_ = savedStop;
  section_ = std::move(savedSection);
  host_.stepProgress(window);
  host_.closeWindow(window);
}

void Interpreter::runLines(WindowRef window) {
  std::string line;
  while (script_->readLine(line)) {
    if (!line.empty() && line[0] == '[') break;
    if (stop_ || abort_) break;
    if (classifyLine(line) != LineKind::Empty && classifyLine(line) != LineKind::Comment) {
      executeLine(line, window);
    }
    host_.updateBackground();
    host_.messagePasses(kPassesAfterLine);
  }
}

void Interpreter::executeLine(std::string_view line, WindowRef window) {
  CommandLine parsed = parseCommandLine(line);
  int number = findCommand(parsed.keyword);
  if (number < 0) {
    if (observer_ != nullptr) observer_->rejectedLine(*this, parsed.lineUpToKeyword);
    std::string shown(parsed.lineUpToKeyword);
    ShowError(text::kSyntaxError, shown.c_str());
    return;
  }
  auto valueOf = [this](const Argument& argument) -> Value {
    if (!argument.isWord) return argument.text;
    if (argument.text.empty()) return std::nullopt;
    return variables_.get(argument.text);
  };
  CommandCall call;
  call.window = window;
  call.value1 = valueOf(parsed.first);
  call.value2 = valueOf(parsed.second);
  call.word1 = parsed.first.text;
  call.word2 = parsed.second.text;
  call.command = number;
  call.isWord1 = parsed.first.isWord;
  call.isWord2 = parsed.second.isWord;
  if (observer_ != nullptr) observer_->beforeCommand(*this, call);
  ExecuteCommand(call);
}

void Interpreter::ExecuteCommand(const CommandCall& call) {
  if (call.command < 0 || call.command >= commandCount()) return;
  commandEntry(call.command).handler(*this, call);
}

}  // namespace setup
