// info: the GP4info block of a track file.
#include "Commands.h"

#include "FileIO.h"
#include "GP4Info.h"
#include "IoError.h"
#include "KestrumVar.h"
#include "Messages.h"

#include <cstdio>
#include <utility>

namespace {

std::pair<std::string, std::string> SplitSetting(const std::string& setting) {
    const auto eq = setting.find('=');
    if (eq == std::string::npos || eq == 0)
        throw UsageError(Format(msg::kCliBadSetting, setting.c_str()));
    return {setting.substr(0, eq), setting.substr(eq + 1)};
}

} // namespace

int RunInfo(const InfoArgs& args, CliUi& ui) {
    std::vector<std::pair<std::string, std::string>> settings;
    for (const std::string& s : args.set)
        settings.push_back(SplitSetting(s));

    ui.SetFile(args.track);
    if (!fileio::FileExists(args.track))
        throw IoError(IoError::kFileNotFound, args.track);
    NameValueList& list = kestrum::GP4InfoList;
    list.Clear();
    ReadGP4Info(args.track); // a file without a block reads as an empty list

    if (settings.empty() && args.remove.empty()) {
        for (const std::string& entry : list.Items())
            std::printf("%s\n", entry.c_str());
        std::fflush(stdout);
        return kExitOk;
    }
    for (const std::string& name : args.remove)
        for (long i = list.IndexOfName(name); i >= 0; i = list.IndexOfName(name))
            list.Delete(static_cast<std::size_t>(i));
    for (const auto& [name, value] : settings)
        list.SetValue(name, value);
    return WriteGP4Info(args.track) ? kExitOk : kExitFileProblem;
}
