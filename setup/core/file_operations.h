// The copy and move operations shared by every command of the family.
#pragma once

#include "interpreter.h"

namespace setup {

// Copies over an existing destination unless it is read-only or hidden and
// clears every attribute of the copy; a failure ends the installation.
// Nothing happens when either path has no value.
void copyOne(Interpreter& in, const Value& source, const Value& destination);
// The same with MoveFileEx (replace existing, copy allowed).
void moveOne(Interpreter& in, const Value& source, const Value& destination);
// DeleteFile, its failure ignored.
void deleteQuietly(Interpreter& in, const Value& path);

}  // namespace setup
