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

// Track file check and repair.
// %llu: the file's size, then the smallest size of a track file.
inline constexpr const char* kTrackTooShort =
    "Too short to be a track file: %llu bytes, where a header and a checksum take %llu. The file "
    "was not changed.";
inline constexpr const char* kTrackBeyond4Gb =
    "The track file is larger than 4 GB, so its header cannot hold the checksum's position. The "
    "file was not changed.";

// The scripting command torvex4-cli.
inline constexpr const char* kCliName = "torvex4-cli";
inline constexpr const char* kCliDescription =
    "Torvex-4 for scripts and terminals: magic data, GP4.EXE, GP4info and track checksums.";
inline constexpr const char* kCliFooter =
    "Exit status: 0 success, 1 a file problem (I/O error, damaged file, refused input), 2 wrong "
    "usage.";
inline constexpr const char* kCliUsageHint = "Run 'torvex4-cli --help' for more information.";
inline constexpr const char* kCliOptIni =
    "Take the descriptions of magic text files from this settings file";
inline constexpr const char* kCliOptVersion = "Print the version and exit";
// How the help names the kinds of arguments.
inline constexpr const char* kCliTypeFile = "FILE";
inline constexpr const char* kCliTypeFolder = "FOLDER";
inline constexpr const char* kCliTypeSetting = "NAME=VALUE";
inline constexpr const char* kCliTypeName = "NAME";

inline constexpr const char* kCliInsert =
    "Compile a magic text file and insert its record into a track file";
inline constexpr const char* kCliInsertBackup =
    "First copy the track file to the same name with .bak";
inline constexpr const char* kCliArgTrack = "The track file (.dat)";
inline constexpr const char* kCliArgMagic = "The magic text file (.md3)";

inline constexpr const char* kCliExtract =
    "Write the record stored in track files as magic text files";
inline constexpr const char* kCliExtractArgs =
    "TRACK [OUT]: OUT is a file or a folder (standard output without OUT); TRACK... FOLDER: one "
    "NAME.md3 per track file into the folder";
// %s: the last argument.
inline constexpr const char* kCliExtractNeedsFolder =
    "with several track files the last argument must be an existing folder: %s";

inline constexpr const char* kCliCompile =
    "Compile a magic text file into a record file (the tag MA03 and the record)";
inline constexpr const char* kCliArgRecord = "The record file to write";

inline constexpr const char* kCliTable = "List the 17 built-in records of GP4.EXE";
inline constexpr const char* kCliArgExe = "The game's GP4.EXE";
// %llu: the file's size, then the supported size.
inline constexpr const char* kCliExeRefused =
    "not the supported GP4.EXE: it has %llu bytes, the supported build has %llu";

inline constexpr const char* kCliCreate =
    "Write the built-in record of a track in GP4.EXE as magic4_NN.md3";
inline constexpr const char* kCliArgTrackNumber = "A track number from 1 to 17, or all";
inline constexpr const char* kCliOptDir = "Write into this folder (default: the current folder)";
// %s: the text given.
inline constexpr const char* kCliBadTrackNumber =
    "the track must be a number from 1 to 17 or all, not: %s";

inline constexpr const char* kCliInfo =
    "Print the GP4info entries of a track file as name=value lines, or change them";
inline constexpr const char* kCliOptSet =
    "Set an entry after the deletions (added when missing; an empty value deletes it)";
inline constexpr const char* kCliOptDelete = "Delete every entry of that name";
// %s: the text given.
inline constexpr const char* kCliBadSetting = "--set wants NAME=VALUE with a non-empty name: %s";

inline constexpr const char* kCliCheck =
    "Tell whether the trailing checksum and the header word at 8 of track files are right";
inline constexpr const char* kCliArgTracks = "The track files";
inline constexpr const char* kCliOptFix = "Repair what is wrong (each file rewritten in one step)";
inline constexpr const char* kCliCheckOk = "ok";
inline constexpr const char* kCliCheckRepaired = "repaired: ";
// %04X: the stored byte sum and rotating sum, then the right ones.
inline constexpr const char* kCliChecksumWrong =
    "checksum wrong (holds %04X %04X, should be %04X %04X)";
// %lu: the word's value, then the right one.
inline constexpr const char* kCliSizeWordWrong = "word at 8 wrong (holds %lu, should be %llu)";
// %llu: the file's size, then the smallest size of a track file.
inline constexpr const char* kCliTrackTooShort =
    "too short to be a track file (%llu bytes, a header and a checksum take %llu)";
// Names standard output where a file name would stand.
inline constexpr const char* kCliStandardOutput = "standard output";

// Built-in magic data from GP4.EXE.
inline constexpr const char* kCreateMagicCaption = "Create Magic file from GP4.EXE";
inline constexpr const char* kTrackNumberPrompt = "Track number (1-17) : ";
inline constexpr const char* kTrackNumberInitial = "1";
// %d: the track number; %lld: the offset or the length the table gives.
inline constexpr const char* kExeRecordOutside =
    "The table in GP4.EXE places the magic data of track %d at offset %lld, outside the file. "
    "No magic file was written.";
inline constexpr const char* kExeRecordTooShort =
    "The table in GP4.EXE gives the magic data of track %d a length of %lld bytes, less than the "
    "298 bytes of the shortest magic data. No magic file was written.";
inline constexpr const char* kExeRecordPastEnd =
    "The table in GP4.EXE gives the magic data of track %d a length of %lld bytes, which runs past "
    "the end of the file. No magic file was written.";

// GP4info block.
// %ld: the entry's number, counted from 1.
inline constexpr const char* kGP4InfoUnstorable =
    "Entry %ld of the GP4info list holds a \"|\" or a \"#\", which a GP4info block cannot "
    "store. The track file was not changed.";
inline constexpr const char* kGP4InfoMoved =
    "The GP4info block is no longer where it was read: the track file has changed since. Open "
    "the track file again. The track file was not changed.";
inline constexpr const char* kGP4InfoTooLarge =
    "The track file would grow beyond 2 GB. The track file was not changed.";

// Settings file. %s: the settings file's path.
inline constexpr const char* kUnableToWrite = "Unable to write to %s";

// The windows.
inline constexpr const char* kButtonOK = "OK";
inline constexpr const char* kButtonCancel = "Cancel";

// Main window.
inline constexpr const char* kTrackFileLabel = "GP4 track file : ";
inline constexpr const char* kMagicFileLabel = "Magic data file : ";
inline constexpr const char* kInsertButton = "Insert data";
inline constexpr const char* kBackupBox = "Backup original trackfile?";
inline constexpr const char* kEditGP4info = "Edit GP4info";
inline constexpr const char* kTrackFilter = "GP track files|*.dat|All files (*.*)|*.*";
inline constexpr const char* kMagicFilter = "GP magic files|*.md3|All files (*.*)|*.*";
inline constexpr const char* kMenuFile = "File";
inline constexpr const char* kMenuExit = "Exit";
inline constexpr const char* kMenuEdit = "Edit";
inline constexpr const char* kMenuCreateMagic = "Create magic file from GP4.EXE";
inline constexpr const char* kMenuGetMagic = "Get magic data from track file";
inline constexpr const char* kMenuSetLocation = "Set GP4.EXE location";
inline constexpr const char* kMenuAbout = "About";
inline constexpr const char* kGp4ExeNotSet =
    "GP4.EXE location not set!\r\n\r\nPlease use the menu option to set the GP4.EXE location.";

// GP4info editor.
inline constexpr const char* kSaveButton = "Save ";
inline constexpr const char* kAddButton = "Add";
inline constexpr const char* kDeleteButton = "Delete";
inline constexpr const char* kAddValueCaption = "Add GP4Info value";
inline constexpr const char* kAddValuePrompt = "Name : ";
inline constexpr const char* kNoGP4Info = "Track doesn't contain GP4info data";
// %s: the name typed.
inline constexpr const char* kAlreadyDefined = "Value '%s' is already defined.";
inline constexpr const char* kUnstorableText =
    "A GP4info name or value cannot hold \"|\" or \"#\": the track file could not store it.";

// Location dialog.
inline constexpr const char* kLocationCaption = "Set GP4 Location";
inline constexpr const char* kLocationLabel = "GP4.EXE Location : ";
inline constexpr const char* kExeFilter = "GP4.EXE|GP4.EXE|All files (*.*)|*.*";
// %llu: the size of the one supported GP4.EXE.
inline constexpr const char* kWrongExe =
    "This file doesn't appear to be the right one.\r\n\r\nTorvex only works with the decrypted "
    "GP4.EXE\r\n(%llu bytes).";

// About box.
inline constexpr const char* kAboutCaption = "About";
inline constexpr const char* kProgramVersion = "Torvex - 4 version 1.02";
inline constexpr const char* kAuthorLine = "The Torvex-4 developers, 2026";
inline constexpr const char* kCredits = "Thanks to : \n\nthe GP4 modding community\nevery tester";

} // namespace msg
