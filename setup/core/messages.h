// Every text the setup program shows, in one place.
#pragma once

namespace setup::text {

// Titles.
inline constexpr const char* kSetupFileError = "Setup File Error";
inline constexpr const char* kErrorCaps = "ERROR";
inline constexpr const char* kError = "Error";
inline constexpr const char* kCopyError = "Copy Error";
inline constexpr const char* kMoveError = "Move Error";
inline constexpr const char* kFileError = "File Error";

// The script and its runs.
inline constexpr const char* kNoScript = "Could not find Setup script file (setup.ini). Aborting.";
inline constexpr const char* kSectionMissing = "INI file incomplete. Aborting.";
inline constexpr const char* kSyntaxError = "Syntax Error: %s.";
inline constexpr const char* kMissingElseEndif = "Syntax Error: missing else/endif. Aborting section";
inline constexpr const char* kMissingEndif = "Syntax Error: missing endif. Aborting section";
inline constexpr const char* kTooDeep =
    "Sections nested too deeply (more than %d runs) at section %s. Aborting.";
inline constexpr const char* kPleaseWait = "Please Wait...";
inline constexpr const char* kSetupStatus = "Setup...";

// Files and directories.
inline constexpr const char* kCreatingDirectory = "Creating directory\n%s";
inline constexpr const char* kCopyingFile = "Copying file\n%s";
inline constexpr const char* kMovingFile = "Moving file\n%s";
inline constexpr const char* kSearching = "Searching for files...\n%s";
inline constexpr const char* kCopyFailed = "Could not copy the file %s to %s. Aborting.";
inline constexpr const char* kMoveFailed = "Could not move the file %s to %s. Aborting.";
inline constexpr const char* kCannotOpen = "Could not open the file %s. Aborting.";

// Dialogs.
inline constexpr const char* kPathTooLong =
    "The path %s is too long to install into (at most 259 characters). Choose a shorter one.";

}  // namespace setup::text
