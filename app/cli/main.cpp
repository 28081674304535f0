// torvex4-cli: every operation of the core for scripts and terminals.
// Results go to standard output, messages to standard error as
// "torvex4-cli: FILE: message"; the exit status is 0 on success, 1 for a file
// problem and 2 for wrong usage.
#include "CliUi.h"
#include "Commands.h"

#include "IoError.h"
#include "Messages.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#ifndef TORVEX_VERSION
#define TORVEX_VERSION "0"
#endif

namespace {

void ReportUsage(const std::string& what) {
    std::fprintf(stderr, "%s: %s\n%s\n", msg::kCliName, what.c_str(), msg::kCliUsageHint);
}

} // namespace

int main(int argc, char** argv) {
    CLI::App app{msg::kCliDescription, msg::kCliName};
    app.footer(msg::kCliFooter);
    app.set_version_flag("--version", std::string(msg::kCliName) + " " + TORVEX_VERSION,
                         msg::kCliOptVersion);
    app.require_subcommand(1);
    app.fallthrough();

    std::string iniPath;
    CLI::Option* iniOption =
        app.add_option("--ini", iniPath, msg::kCliOptIni)->type_name(msg::kCliTypeFile);

    std::function<int(CliUi&)> run;
    // The descriptions are printed in magic text files only.
    auto loadDescriptions = [&] {
        LoadDescriptions(iniOption->count() ? std::optional(iniPath) : std::nullopt);
    };

    InsertArgs insert;
    CLI::App* cmdInsert = app.add_subcommand("insert", msg::kCliInsert);
    cmdInsert->add_flag("--backup", insert.backup, msg::kCliInsertBackup);
    cmdInsert->add_option("TRACK", insert.track, msg::kCliArgTrack)->type_name("")->required();
    cmdInsert->add_option("MAGIC", insert.magic, msg::kCliArgMagic)->type_name("")->required();
    cmdInsert->callback([&] { run = [&](CliUi& ui) { return RunInsert(insert, ui); }; });

    std::vector<std::string> extract;
    CLI::App* cmdExtract = app.add_subcommand("extract", msg::kCliExtract);
    cmdExtract->add_option("TRACK", extract, msg::kCliExtractArgs)->type_name("")->required();
    cmdExtract->callback([&] {
        run = [&](CliUi& ui) {
            loadDescriptions();
            return RunExtract(extract, ui);
        };
    });

    CompileArgs compile;
    CLI::App* cmdCompile = app.add_subcommand("compile", msg::kCliCompile);
    cmdCompile->add_option("MAGIC", compile.magic, msg::kCliArgMagic)->type_name("")->required();
    cmdCompile->add_option("RECORD", compile.record, msg::kCliArgRecord)->type_name("")->required();
    cmdCompile->callback([&] { run = [&](CliUi& ui) { return RunCompile(compile, ui); }; });

    std::string tableExe;
    CLI::App* cmdTable = app.add_subcommand("table", msg::kCliTable);
    cmdTable->add_option("GP4.EXE", tableExe, msg::kCliArgExe)->type_name("")->required();
    cmdTable->callback([&] { run = [&](CliUi& ui) { return RunTable(tableExe, ui); }; });

    CreateArgs create;
    CLI::App* cmdCreate = app.add_subcommand("create", msg::kCliCreate);
    cmdCreate->add_option("GP4.EXE", create.exe, msg::kCliArgExe)->type_name("")->required();
    cmdCreate->add_option("N", create.which, msg::kCliArgTrackNumber)->type_name("")->required();
    cmdCreate->add_option("--dir", create.dir, msg::kCliOptDir)->type_name(msg::kCliTypeFolder);
    cmdCreate->callback([&] {
        run = [&](CliUi& ui) {
            loadDescriptions();
            return RunCreate(create, ui);
        };
    });

    InfoArgs info;
    CLI::App* cmdInfo = app.add_subcommand("info", msg::kCliInfo);
    cmdInfo->add_option("TRACK", info.track, msg::kCliArgTrack)->type_name("")->required();
    cmdInfo->add_option("--set", info.set, msg::kCliOptSet)->type_name(msg::kCliTypeSetting);
    cmdInfo->add_option("--delete", info.remove, msg::kCliOptDelete)->type_name(msg::kCliTypeName);
    cmdInfo->callback([&] { run = [&](CliUi& ui) { return RunInfo(info, ui); }; });

    CheckArgs check;
    CLI::App* cmdCheck = app.add_subcommand("check", msg::kCliCheck);
    cmdCheck->add_option("TRACK", check.tracks, msg::kCliArgTracks)->type_name("")->required();
    cmdCheck->add_flag("--fix", check.fix, msg::kCliOptFix);
    cmdCheck->callback([&] { run = [&](CliUi& ui) { return RunCheck(check, ui); }; });

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success))
            return app.exit(e); // --help, --version
        ReportUsage(e.what());
        return kExitUsage;
    }

    CliUi ui;
    try {
        return run(ui);
    } catch (const UsageError& e) {
        ReportUsage(e.what());
        return kExitUsage;
    } catch (const Error& e) {
        std::fflush(stdout);
        ui.ShowError(e);
        return kExitFileProblem;
    } catch (const std::exception& e) {
        std::fflush(stdout);
        ui.ShowError(e);
        return kExitFileProblem;
    }
}
