#include "system_rules.h"

namespace setup {

std::string voxaDirectoryFromCommand(const std::string& command) {
  size_t cut = command.find_last_of("\\/");
  if (cut == std::string::npos) return {};
  std::string directory = command.substr(0, cut);
  if (!directory.empty() && directory.front() == '"') directory.erase(0, 1);
  return directory;
}

namespace {

bool hasExtension(const std::string& program) {
  size_t name = program.find_last_of("\\/:");
  size_t dot = program.rfind('.');
  return dot != std::string::npos && (name == std::string::npos || dot > name);
}

void addWithExtensions(std::vector<std::string>& candidates, const std::string& file) {
  if (hasExtension(file)) {
    candidates.push_back(file);
    return;
  }
  for (const char* extension : {".com", ".exe", ".bat", ".cmd"}) candidates.push_back(file + extension);
}

}  // namespace

std::vector<std::string> spawnCandidates(const std::string& program, const std::string& path) {
  std::vector<std::string> candidates;
  if (program.empty()) return candidates;
  addWithExtensions(candidates, program);
  if (program.find('/') != std::string::npos) return candidates;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(';', start);
    if (end == std::string::npos) end = path.size();
    std::string directory = path.substr(start, end - start);
    if (!directory.empty()) {
      char last = directory.back();
      addWithExtensions(candidates, directory + (last == '\\' || last == '/' ? "" : "\\") + program);
    }
    start = end + 1;
  }
  return candidates;
}

std::vector<std::string> setupTypeChoices(const VariableTable& variables) {
  std::vector<std::string> choices;
  for (char digit = '0'; digit <= '9'; ++digit) {
    if (std::optional<std::string> value = variables.get(std::string("SETUPTYPE") + digit)) {
      choices.push_back(*value);
    }
  }
  return choices;
}

}  // namespace setup
