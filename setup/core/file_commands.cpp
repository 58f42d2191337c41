// MkDir, the Copy and Move families, Delete, Exist and GetTempFileName.
#include "commands.h"
#include "file_operations.h"
#include "messages.h"
#include "paths.h"
#include "argument_text.h"

namespace setup::commands {

namespace {

Value sourceDir(Interpreter& in) { return in.variable("SRCDIR"); }
Value destinationDir(Interpreter& in) { return in.variable("DSTDIR"); }

// The second argument, or the first when the second names nothing.
const Value& nameOrFirst(const CommandCall& call) {
  return hasText(call.value2) ? call.value2 : call.value1;
}

void status(Interpreter& in, const CommandCall& call, const char* format, const Value& path) {
  in.SetStatusText(call.window, kStatusLine, format, textOf(path).c_str());
}

void deleteAndCopy(Interpreter& in, const CommandCall& call, const Value& source,
                   const Value& destination) {
  status(in, call, text::kCopyingFile, destination);
  if (!source || !destination) return;  // no file to replace it with
  deleteQuietly(in, destination);
  copyOne(in, source, destination);
}

}  // namespace

void MkDir(Interpreter& in, const CommandCall& call) {
  std::string path = textOf(call.value1) + "\\";
  if (hasText(call.value2)) path += *call.value2;
  in.SetStatusText(call.window, kStatusLine, text::kCreatingDirectory, path.c_str());
  // An existing directory is the common case; a directory that cannot be
  // made shows when the files copied into it fail.
  if (fitsMaxPath(path)) in.host().createDirectory(path);
}

void CopyA(Interpreter& in, const CommandCall& call) {
  deleteAndCopy(in, call, call.value1, call.value2);
}

void Copy(Interpreter& in, const CommandCall& call) {
  deleteAndCopy(in, call, joinPath(sourceDir(in), call.value1),
                joinPath(destinationDir(in), nameOrFirst(call)));
}

void CopyS(Interpreter& in, const CommandCall& call) {
  deleteAndCopy(in, call, joinPath(sourceDir(in), call.value1), joinPath(call.value2, call.value1));
}

void CopyD(Interpreter& in, const CommandCall& call) {
  deleteAndCopy(in, call, call.value1, joinPath(destinationDir(in), call.value2));
}

void MoveA(Interpreter& in, const CommandCall& call) {
  status(in, call, text::kMovingFile, call.value1);
  moveOne(in, call.value1, call.value2);
}

void Move(Interpreter& in, const CommandCall& call) {
  Value destination = joinPath(destinationDir(in), nameOrFirst(call));
  status(in, call, text::kMovingFile, destination);
  moveOne(in, joinPath(sourceDir(in), call.value1), destination);
}

void MoveS(Interpreter& in, const CommandCall& call) {
  Value destination = joinPath(call.value2, call.value1);
  status(in, call, text::kMovingFile, destination);
  moveOne(in, joinPath(sourceDir(in), call.value1), destination);
}

void MoveD(Interpreter& in, const CommandCall& call) {
  Value destination = joinPath(destinationDir(in), call.value2);
  status(in, call, text::kMovingFile, destination);
  moveOne(in, call.value1, destination);
}

void Delete(Interpreter& in, const CommandCall& call) {
  deleteQuietly(in, hasText(call.value2) ? joinPath(call.value2, call.value1) : call.value1);
}

void Exist(Interpreter& in, const CommandCall& call) {
  bool found = call.value1 && fitsMaxPath(*call.value1) && in.host().anyMatch(*call.value1);
  in.setCondition(found ? 1 : 0);
}

void GetTempFileName(Interpreter& in, const CommandCall& call) {
  Value directory = destinationDir(in);
  std::optional<std::string> path;
  if (directory && fitsMaxPath(*directory)) path = in.host().createTempFile(*directory, "temp");
  // Without a new file the variable names nothing.
  if (path) {
    in.variables().set(call.word1, *path);
  } else {
    in.variables().clear(call.word1);
  }
}

}  // namespace setup::commands
