// The subcommands of torvex4-cli. Each one is a thin layer over the core
// functions the windows use: it names the files, calls the core, and turns
// the outcome into an exit status and lines on standard output.
#pragma once

#include "CliUi.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

inline constexpr int kExitOk = 0;
inline constexpr int kExitFileProblem = 1; // I/O error, damaged file, refused input
inline constexpr int kExitUsage = 2;

// A mistake on the command line found once the arguments are parsed; it is
// reported with the usage hint and ends the run with kExitUsage.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct InsertArgs {
    std::string track;
    std::string magic;
    bool backup = false;
};
int RunInsert(const InsertArgs& args, CliUi& ui);

// TRACK (to standard output), TRACK OUT (a file or a folder), or
// TRACK... FOLDER.
int RunExtract(const std::vector<std::string>& args, CliUi& ui);

struct CompileArgs {
    std::string magic;
    std::string record;
};
int RunCompile(const CompileArgs& args, CliUi& ui);

int RunTable(const std::string& exePath, CliUi& ui);

struct CreateArgs {
    std::string exe;
    std::string which; // a track number or "all"
    std::string dir;   // empty: the current folder
};
int RunCreate(const CreateArgs& args, CliUi& ui);

struct InfoArgs {
    std::string track;
    std::vector<std::string> set;    // NAME=VALUE
    std::vector<std::string> remove; // NAME
};
int RunInfo(const InfoArgs& args, CliUi& ui);

struct CheckArgs {
    std::vector<std::string> tracks;
    bool fix = false;
};
int RunCheck(const CheckArgs& args, CliUi& ui);

// Fills the description table from the settings file at iniPath, or from the
// program's own settings file when there is none.
void LoadDescriptions(const std::optional<std::string>& iniPath);

// One file's part of a command that works through several: an Error raised
// by step is reported and gives kExitFileProblem, so the next file is still
// done. Otherwise step's own status.
int RunGuarded(CliUi& ui, const std::function<int()>& step);

// name inside folder ("" for the current folder).
std::string JoinPath(const std::string& folder, const std::string& name);

// printf-style formatting of the texts in Messages.h.
#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
std::string
Format(const char* format, ...);
