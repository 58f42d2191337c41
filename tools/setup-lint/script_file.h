// A setup script read the way the program reads it: the same line pieces,
// each with the number of the line of the file it starts on.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace setuplint {

struct ScriptLine {
  int number = 0;    // 1-based line of the file
  std::string text;  // as the program reads it, line feed included
};

class ScriptFile {
 public:
  // Nothing when the file cannot be read.
  static std::optional<ScriptFile> load(const std::filesystem::path& path);
  ScriptFile(std::string name, std::string_view bytes);

  const std::string& name() const { return name_; }  // as reported
  const std::vector<ScriptLine>& lines() const { return lines_; }

  // The first body line of section name, as the program finds it (the first
  // header of that name, indented or not); nothing when no header matches.
  std::optional<size_t> sectionStart(std::string_view name) const;
  // One past the last body line of the section whose body starts at start:
  // the next line whose very first byte is "[", or the end of the file.
  size_t sectionEnd(size_t start) const;
  // The name of the nearest header at or above index (empty before any).
  std::string sectionAt(size_t index) const;
  // The indexes of every header line, in file order.
  std::vector<size_t> headers() const;
  // The program's SkipToKeyword from index from: the index of the first line
  // whose first word is first or second; nothing at the end of the file.
  std::optional<size_t> skipTo(size_t from, std::string_view first,
                               std::string_view second = {}) const;

 private:
  std::string name_;
  std::vector<ScriptLine> lines_;
};

// True when the line's very first byte is "[": the line ends a section.
inline bool endsSection(const ScriptLine& line) {
  return !line.text.empty() && line.text[0] == '[';
}

// Section and variable names ignore the letter case of ASCII letters.
std::string lowerCase(std::string_view name);

}  // namespace setuplint
