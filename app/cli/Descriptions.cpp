#include "Commands.h"

#include "FileIO.h"
#include "IoError.h"
#include "Settings.h"

void LoadDescriptions(const std::optional<std::string>& iniPath) {
    if (!iniPath) {
        LoadSettings();
        return;
    }
    if (!fileio::FileExists(*iniPath))
        throw IoError(IoError::kFileNotFound, *iniPath);
    LoadSettingsFrom(*iniPath);
}
