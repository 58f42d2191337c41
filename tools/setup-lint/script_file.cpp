#include "script_file.h"

#include <fstream>
#include <sstream>

#include "script_text.h"

namespace setuplint {

std::optional<ScriptFile> ScriptFile::load(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return ScriptFile(path.string(), bytes.str());
}

ScriptFile::ScriptFile(std::string name, std::string_view bytes) : name_(std::move(name)) {
  setup::ScriptText text(bytes);
  std::string piece;
  int number = 1;
  while (text.readLine(piece)) {
    lines_.push_back({number, piece});
    if (piece.back() == '\n') ++number;
  }
}

std::optional<size_t> ScriptFile::sectionStart(std::string_view name) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (setup::classifyLine(lines_[i].text) == setup::LineKind::Header &&
        setup::equalsIgnoringCase(setup::headerName(lines_[i].text), name)) {
      return i + 1;
    }
  }
  return std::nullopt;
}

size_t ScriptFile::sectionEnd(size_t start) const {
  size_t end = start;
  while (end < lines_.size() && !endsSection(lines_[end])) ++end;
  return end;
}

std::string ScriptFile::sectionAt(size_t index) const {
  for (size_t i = index + 1; i-- > 0;) {
    if (i < lines_.size() && setup::classifyLine(lines_[i].text) == setup::LineKind::Header) {
      std::string name(setup::headerName(lines_[i].text));
      if (!name.empty() && name.back() == '\n') name.pop_back();
      return name;
    }
  }
  return {};
}

std::vector<size_t> ScriptFile::headers() const {
  std::vector<size_t> found;
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (setup::classifyLine(lines_[i].text) == setup::LineKind::Header) found.push_back(i);
  }
  return found;
}

std::optional<size_t> ScriptFile::skipTo(size_t from, std::string_view first,
                                         std::string_view second) const {
  for (size_t i = from; i < lines_.size(); ++i) {
    std::string_view word = setup::firstWord(lines_[i].text);
    if (setup::equalsIgnoringCase(word, first)) return i;
    if (!second.empty() && setup::equalsIgnoringCase(word, second)) return i;
  }
  return std::nullopt;
}

std::string lowerCase(std::string_view name) {
  std::string lower(name);
  for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
  return lower;
}

}  // namespace setuplint
