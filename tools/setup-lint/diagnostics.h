// What setup-lint reports: "FILE:LINE: error|warning|note: message".
#pragma once

#include <string>
#include <vector>

namespace setuplint {

enum class Severity { Note, Warning, Error };

struct Diagnostic {
  std::string file;
  int line = 0;  // 0: the file as a whole
  Severity severity = Severity::Error;
  std::string message;
};

std::string formatDiagnostic(const Diagnostic& diagnostic);
// 1 when there is an error, 0 otherwise.
int exitStatusOf(const std::vector<Diagnostic>& diagnostics);

}  // namespace setuplint
