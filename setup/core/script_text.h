// The text of a setup script and the shapes of its lines.
//
// A script is read as text: a carriage return before a line feed is dropped,
// and lines come through a 1024-byte buffer, so a longer line arrives in
// pieces of at most 1023 bytes, each treated as a line of its own.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace setup {

constexpr size_t kLineBufferSize = 1024;
constexpr size_t kLinePieceMax = kLineBufferSize - 1;

// Any byte whose signed value is at most 32: the control bytes, the space
// and the whole upper half of the code page.
inline bool isBlank(char c) { return static_cast<signed char>(c) <= 32; }

size_t skipBlanks(std::string_view text, size_t from = 0);
// The end of the word that starts at from (the first blank, or the end).
size_t wordEnd(std::string_view text, size_t from);
// The line's first word, after its leading blanks.
std::string_view firstWord(std::string_view line);
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// A script file in memory with a read position.
class ScriptText {
 public:
  ScriptText() = default;
  explicit ScriptText(std::string_view fileBytes);

  // The next line, line feed included when it has one; false at the end.
  bool readLine(std::string& line);
  bool atEnd() const { return position_ >= text_.size(); }
  size_t position() const { return position_; }
  void seek(size_t position) { position_ = position < text_.size() ? position : text_.size(); }
  void rewind() { position_ = 0; }

 private:
  std::string text_;
  size_t position_ = 0;
};

enum class LineKind { Empty, Comment, Header, Command };
LineKind classifyLine(std::string_view line);

// The section name of a header line: the text after "[" up to the first
// "]", or to the end of the line (line feed included) without one.
std::string_view headerName(std::string_view line);

struct Argument {
  std::string text;    // as written, without its quotes
  bool isWord = true;  // a variable's name; false for a "literal"
};

struct CommandLine {
  std::string_view keyword;
  std::string_view lineUpToKeyword;  // leading blanks included, the rest cut
  Argument first;
  Argument second;
};

CommandLine parseCommandLine(std::string_view line);

}  // namespace setup
