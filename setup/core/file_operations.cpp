#include "file_operations.h"

#include "messages.h"
#include "paths.h"

namespace setup {

void copyOne(Interpreter& in, const Value& source, const Value& destination) {
  if (!source || !destination) return;
  SetupHost& host = in.host();
  if (fitsMaxPath(*source) && fitsMaxPath(*destination) &&
      host.copyFile(*source, *destination)) {
    host.setAttributes(*destination, kAttributeNone);
    return;
  }
  in.ShowMessage(text::kCopyError, text::kCopyFailed, source->c_str(), destination->c_str());
  in.abortInstallation();
}

void moveOne(Interpreter& in, const Value& source, const Value& destination) {
  if (!source || !destination) return;
  SetupHost& host = in.host();
  if (fitsMaxPath(*source) && fitsMaxPath(*destination) &&
      host.moveFile(*source, *destination)) {
    host.setAttributes(*destination, kAttributeNone);
    return;
  }
  in.ShowMessage(text::kMoveError, text::kMoveFailed, source->c_str(), destination->c_str());
  in.abortInstallation();
}

void deleteQuietly(Interpreter& in, const Value& path) {
  if (path && fitsMaxPath(*path)) in.host().deleteFile(*path);
}

}  // namespace setup
