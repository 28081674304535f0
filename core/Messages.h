// Every text the program shows to its user, in one place. Texts that the
// game's community already knows from the program's windows are kept word for
// word; the rest say plainly what happened and what was left untouched.
#pragma once

namespace msg {

inline constexpr const char* kAppTitle = "Torvex-4";
inline constexpr const char* kMainCaption = "Torvex - 4";

// Message box captions by type.
inline constexpr const char* kCaptionWarning = "Warning";
inline constexpr const char* kCaptionError = "Error";
inline constexpr const char* kCaptionInformation = "Information";
inline constexpr const char* kCaptionApplicationError = "Application Error";

// I/O error messages by system error code.
inline constexpr const char* kIoFileNotFound = "File not found";           // 2
inline constexpr const char* kIoInvalidFilename = "Invalid filename";      // 3
inline constexpr const char* kIoTooManyOpenFiles = "Too many open files";  // 4
inline constexpr const char* kIoAccessDenied = "File access denied";       // 5
inline constexpr const char* kIoReadBeyondEnd = "Read beyond end of file"; // 100
inline constexpr const char* kIoDiskFull = "Disk full";                    // 101
inline constexpr const char* kIoInvalidNumeric = "Invalid numeric input";  // 106
inline constexpr const char* kIoOther = "I/O error %d";                    // any other code
// Batch mode: class name, module, address, message, optional ".".
inline constexpr const char* kBatchException = "Exception %s in module %s at %p.\r\n%s%s\r\n";

// Insertion and compiler.
inline constexpr const char* kFileNotFound = "File not found!";
inline constexpr const char* kNotMagicFile =
    "This file doesn't appear to be a valid GP4 Magic file!";
inline constexpr const char* kDone = "Done.";
inline constexpr const char* kNextBeforeMagic =
    "The track file's header is damaged: the section after the magic data starts before the "
    "magic data. The track file was not changed.";
inline constexpr const char* kNoRoomForChecksum =
    "The track file's header is damaged: the section after the magic data leaves no room for the "
    "checksum at the end of the file. The track file was not changed.";
inline constexpr const char* kTrackTooLarge =
    "The track file would grow beyond 4 GB. The track file was not changed.";
// %s: the backup's path, then the reason.
inline constexpr const char* kBackupFailed =
    "The backup copy %s could not be made: %s. The track file was not changed.";

// Extraction.
inline constexpr const char* kNoCustomMagic = "This track file does NOT contain custom magic data!";
inline constexpr const char* kSaveMagicTitle = "Save magic data";
inline constexpr const char* kSaveMagicFilter = "GP4 magic files|*.md3|All files (*.*)|*.*";
inline constexpr const char* kSaveMagicDefaultExt = "md";

// Batch mode (console).
inline constexpr const char* kBatchUsage = "usage: torvex4 TRACK.dat MAGIC.md3  (either order)";

} // namespace msg
