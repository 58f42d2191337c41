// Writes a machine value as text, read according to its type: nil, integers,
// floats, quoted strings, tuples in brackets, and <NAME block K> for the rest.
#pragma once

#include <string>
#include <vector>

#include "test_machine.h"
#include "type_string.h"

namespace testvm {

// A value that does not fit its type is written as ?... and the mismatch is
// added to problems.
std::string formatValue(const TestMachine& machine, VmValue value, const Type& type,
                        std::vector<std::string>& problems);

// A string in double quotes, with ", \ and newline escaped.
std::string quoted(const std::string& text);

}  // namespace testvm
