// The settings file torvex4.ini: section "config" holds "GP4exe" and
// "lastdir", read at start-up and written back at closing; section
// "descriptions" holds desc1 to desc139, the texts printed after the value
// lines of magic text files, which are only ever read. Everything else in the
// file is left as it is.
#pragma once

#include <string>
#include <string_view>

inline constexpr const char* kSettingsFileName = "torvex4.ini";

// The program's own folder, ending in a separator: the folder part of the
// program's file, lower-cased only where the file system ignores case.
std::string ProgramDirFromExecutable();

// Where the settings file lives. Windows: ProgramDir + "torvex4.ini". POSIX:
// the same when a torvex4.ini already exists there (a portable install), else
// $XDG_CONFIG_HOME/torvex4/torvex4.ini, by default
// ~/.config/torvex4/torvex4.ini (an installed program's folder is not
// writable). ProgramDirFromExecutable() stands in for an empty ProgramDir.
std::string SettingsFilePath();

// text cut to its first max characters: code points when it is valid UTF-8,
// bytes otherwise (an 8-bit code page).
std::string CutToCharacters(std::string_view text, std::size_t max);

// Sets kestrum::Gp4ExePath, kestrum::LastDir and the 139 entries of
// kestrum::DescriptionTable (each cut to 255 characters) from the settings
// file; a missing file, section or key gives empty strings.
void LoadSettings();
// The same from the settings file at path.
void LoadSettingsFrom(const std::string& path);

// Writes kestrum::Gp4ExePath and kestrum::LastDir into section "config",
// creating the file, its folder and the section when missing, and replacing
// the file in one step. A failure raises Error("Unable to write to <path>");
// the file is then as it was.
void SaveSettings();
