#include "diagnostics.h"

namespace setuplint {

std::string formatDiagnostic(const Diagnostic& diagnostic) {
  static constexpr const char* kSeverityNames[] = {"note", "warning", "error"};
  std::string text = diagnostic.file;
  if (diagnostic.line > 0) text += ":" + std::to_string(diagnostic.line);
  text += ": ";
  text += kSeverityNames[static_cast<int>(diagnostic.severity)];
  return text + ": " + diagnostic.message;
}

int exitStatusOf(const std::vector<Diagnostic>& diagnostics) {
  for (const Diagnostic& diagnostic : diagnostics) {
    if (diagnostic.severity == Severity::Error) return 1;
  }
  return 0;
}

}  // namespace setuplint
