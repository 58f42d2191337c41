// What a command does with variables and sections beyond the values of its
// arguments: the variables it sets or reads by itself, and the section it
// runs. Commands missing from the table have no such effects.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace setuplint {

struct CommandEffects {
  std::string_view keyword;
  std::string_view sets;             // variables the command sets, space separated
  std::string_view reads;            // variables it reads by itself
  bool setsNamedVariable = false;    // its first word names the variable it sets
  bool readsNamedVariable = false;   // ... and that variable's value is read too
  int sectionArgument = 0;           // the argument naming the section it runs
  bool sectionInNamedFile = false;   // the first argument names that section's file
  std::string_view setsForSection;   // variables set for each run of that section
};

// The effects of a command by its keyword, letter case ignored.
const CommandEffects& effectsOf(std::string_view keyword);

// "A B C" -> {"A", "B", "C"}.
std::vector<std::string> namesIn(std::string_view list);

}  // namespace setuplint
