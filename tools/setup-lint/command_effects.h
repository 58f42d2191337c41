// What a command does with variables and sections beyond the values of its
// arguments, as the command table gives it (setup::CommandEffects).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "commands.h"

namespace setuplint {

using setup::CommandEffects;

// The effects of a command by its keyword, letter case ignored; none for a
// word that is not a command.
const CommandEffects& effectsOf(std::string_view keyword);

// "A B C" -> {"A", "B", "C"}.
std::vector<std::string> namesIn(std::string_view list);

}  // namespace setuplint
