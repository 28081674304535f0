// Runs the scripting command as a real process, the way a script does: in a
// folder of the test's own, with empty standard input, standard output and
// standard error captured, and a configuration folder of its own so that no
// settings file of the user's is read.
#pragma once

#include "TestSupport.h"

#include <cstdlib>
#include <string>
#include <vector>

#include <sys/wait.h>

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ShellQuote(const std::string& s) {
    std::string out = "'";
    for (char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// The configuration folder the command sees as XDG_CONFIG_HOME.
inline std::string CliConfigHome(const TempDir& dir) {
    return dir / "config";
}

inline CliRun RunCli(const std::vector<std::string>& args, const TempDir& dir) {
    std::string cmd = "cd " + ShellQuote(dir.Path()) +
                      " && XDG_CONFIG_HOME=" + ShellQuote(CliConfigHome(dir)) + " " +
                      ShellQuote(TORVEX4_CLI_EXE);
    for (const auto& a : args)
        cmd += " " + ShellQuote(a);
    cmd += " >" + ShellQuote(dir / "cli-out.txt") + " 2>" + ShellQuote(dir / "cli-err.txt") +
           " </dev/null";
    const int raw = std::system(cmd.c_str());
    CliRun run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadText(dir / "cli-out.txt");
    run.err = ReadText(dir / "cli-err.txt");
    return run;
}
