#include "Settings.h"

#include "FileIO.h"
#include "IniFile.h"
#include "IoError.h"
#include "KestrumVar.h"
#include "Messages.h"
#include "PathRules.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr const char* kConfigSection = "config";
constexpr const char* kGp4ExeKey = "GP4exe";
constexpr const char* kLastDirKey = "lastdir";
constexpr const char* kDescriptionSection = "descriptions";
constexpr const char* kDescriptionKeyPrefix = "desc";

std::string ProgramDir() {
    return kestrum::ProgramDir.empty() ? ProgramDirFromExecutable() : kestrum::ProgramDir;
}

#ifndef _WIN32
// The user's configuration folder, without its final separator; empty when
// neither XDG_CONFIG_HOME (an absolute path) nor HOME is set.
std::string ConfigHome() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/')
        return xdg;
    if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0')
        return std::string(home) + "/.config";
    return {};
}
#endif

// The length of the UTF-8 sequence that starts with byte c, or 0 when c
// cannot start one.
std::size_t SequenceLength(unsigned char c) {
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF)
        return 2;
    if (c >= 0xE0 && c <= 0xEF)
        return 3;
    if (c >= 0xF0 && c <= 0xF4)
        return 4;
    return 0;
}

bool IsValidUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t n = SequenceLength(static_cast<unsigned char>(text[pos]));
        if (n == 0 || pos + n > text.size())
            return false;
        for (std::size_t i = 1; i < n; ++i)
            if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80)
                return false;
        pos += n;
    }
    return true;
}

} // namespace

std::string ProgramDirFromExecutable() {
    return paths::FoldCaseForFileSystem(paths::ExtractFilePath(fileio::ProgramFilePath()));
}

std::string SettingsFilePath() {
    const std::string beside = ProgramDir() + kSettingsFileName;
#ifdef _WIN32
    return beside;
#else
    if (fileio::FileExists(beside))
        return beside;
    const std::string home = ConfigHome();
    if (home.empty())
        return beside;
    return home + "/torvex4/" + kSettingsFileName;
#endif
}

std::string CutToCharacters(std::string_view text, std::size_t max) {
    if (text.size() <= max || !IsValidUtf8(text))
        return std::string(text.substr(0, std::min(max, text.size())));
    std::size_t pos = 0;
    for (std::size_t count = 0; count < max && pos < text.size(); ++count)
        pos += SequenceLength(static_cast<unsigned char>(text[pos]));
    return std::string(text.substr(0, pos));
}

void LoadSettings() {
    LoadSettingsFrom(SettingsFilePath());
}

void LoadSettingsFrom(const std::string& path) {
    const IniFile ini(path);
    kestrum::Gp4ExePath = ini.ReadString(kConfigSection, kGp4ExeKey, "");
    kestrum::LastDir = ini.ReadString(kConfigSection, kLastDirKey, "");
    for (int k = 1; k <= kDescriptionCount; ++k) {
        const std::string key = kDescriptionKeyPrefix + std::to_string(k);
        kestrum::DescriptionTable[k] =
            CutToCharacters(ini.ReadString(kDescriptionSection, key, ""), kDescriptionMaxLength);
    }
}

void SaveSettings() {
    const std::string path = SettingsFilePath();
    try {
        const std::string folder = paths::ExtractFilePath(path);
        if (!folder.empty() && !fileio::DirectoryExists(folder))
            fileio::CreateDirectories(folder);
        IniFile ini(path);
        ini.WriteString(kConfigSection, kGp4ExeKey, kestrum::Gp4ExePath);
        ini.WriteString(kConfigSection, kLastDirKey, kestrum::LastDir);
        ini.Save();
    } catch (const Error&) {
        throw UnableToWrite(path);
    }
}
