#include "Commands.h"

#include "IoError.h"
#include "PathRules.h"

#include <cstdarg>
#include <cstdio>

int RunGuarded(CliUi& ui, const std::function<int()>& step) {
    try {
        return step();
    } catch (const Error& e) {
        // What was printed for the files before comes first.
        std::fflush(stdout);
        ui.ShowError(e);
        return kExitFileProblem;
    }
}

std::string Format(const char* format, ...) {
    char text[4096];
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(text, sizeof text, format, ap);
    va_end(ap);
    return text;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || paths::IsSeparator(folder.back()))
        return folder + name;
    return folder + paths::kPreferredSeparator + name;
}
