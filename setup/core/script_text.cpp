#include "script_text.h"

namespace setup {

size_t skipBlanks(std::string_view text, size_t from) {
  while (from < text.size() && isBlank(text[from])) ++from;
  return from;
}

size_t wordEnd(std::string_view text, size_t from) {
  while (from < text.size() && !isBlank(text[from])) ++from;
  return from;
}

std::string_view firstWord(std::string_view line) {
  size_t start = skipBlanks(line);
  return line.substr(start, wordEnd(line, start) - start);
}

static char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
  }
  return true;
}

ScriptText::ScriptText(std::string_view fileBytes) {
  text_.reserve(fileBytes.size());
  for (size_t i = 0; i < fileBytes.size(); ++i) {
    if (fileBytes[i] == '\r' && i + 1 < fileBytes.size() && fileBytes[i + 1] == '\n') continue;
    text_ += fileBytes[i];
  }
}

bool ScriptText::readLine(std::string& line) {
  if (atEnd()) return false;
  size_t end = position_;
  while (end < text_.size() && end - position_ < kLinePieceMax) {
    if (text_[end++] == '\n') break;
  }
  line.assign(text_, position_, end - position_);
  position_ = end;
  return true;
}

LineKind classifyLine(std::string_view line) {
  size_t start = skipBlanks(line);
  if (start == line.size()) return LineKind::Empty;
  if (line[start] == ';') return LineKind::Comment;
  if (line[start] == '[') return LineKind::Header;
  return LineKind::Command;
}

std::string_view headerName(std::string_view line) {
  size_t open = skipBlanks(line) + 1;
  if (open > line.size()) return {};
  std::string_view name = line.substr(open);
  size_t close = name.find(']');
  return close == std::string_view::npos ? name : name.substr(0, close);
}

// One argument from pos: a literal runs to the next double quote (which is
// consumed) and never past its line; a word runs to the next blank (which is
// consumed). Nothing left is an empty word.
static Argument readArgument(std::string_view line, size_t& pos) {
  Argument argument;
  pos = skipBlanks(line, pos);
  if (pos < line.size() && line[pos] == '"') {
    argument.isWord = false;
    size_t start = ++pos;
    while (pos < line.size() && line[pos] != '"' && line[pos] != '\n') ++pos;
    argument.text.assign(line.substr(start, pos - start));
    if (pos < line.size()) ++pos;
    return argument;
  }
  size_t start = pos;
  pos = wordEnd(line, pos);
  argument.text.assign(line.substr(start, pos - start));
  if (pos < line.size()) ++pos;
  return argument;
}

CommandLine parseCommandLine(std::string_view line) {
  CommandLine parsed;
  size_t start = skipBlanks(line);
  size_t end = wordEnd(line, start);
  parsed.keyword = line.substr(start, end - start);
  parsed.lineUpToKeyword = line.substr(0, end);
  size_t pos = end < line.size() ? end + 1 : end;  // the keyword ends at its blank
  parsed.first = readArgument(line, pos);
  parsed.second = readArgument(line, pos);
  return parsed;
}

}  // namespace setup
