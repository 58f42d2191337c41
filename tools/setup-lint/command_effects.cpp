#include "command_effects.h"

namespace setuplint {

const CommandEffects& effectsOf(std::string_view keyword) {
  static constexpr CommandEffects kNoEffects{};
  int number = setup::findCommand(keyword);
  return number < 0 ? kNoEffects : setup::commandEntry(number).effects;
}

std::vector<std::string> namesIn(std::string_view list) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start < list.size()) {
    size_t end = list.find(' ', start);
    if (end == std::string_view::npos) end = list.size();
    if (end > start) names.emplace_back(list.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

}  // namespace setuplint
