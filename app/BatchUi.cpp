#include "BatchUi.h"

#include "FileIO.h"
#include "IoError.h"
#include "Messages.h"
#include "PathRules.h"

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

void Show(const char* caption, const std::string& text) {
#ifdef _WIN32
    MessageBoxA(nullptr, text.c_str(), caption, MB_OK);
#else
    std::fprintf(stderr, "torvex4: %s: %s\n", caption, text.c_str());
#endif
}

} // namespace

void BatchUi::ShowMessage(MessageType type, const std::string& text) {
    Show(CaptionFor(type), text);
}

void BatchUi::ShowError(const std::exception& error) {
    const auto* own = dynamic_cast<const Error*>(&error);
    const std::string module = paths::ExtractFileName(fileio::ProgramFilePath());
    const std::string message = error.what();
    const char* dot = !message.empty() && message.back() == '.' ? "" : ".";
    char text[4096];
    std::snprintf(text, sizeof text, msg::kBatchException, own ? own->ClassName() : "exception",
                  module.empty() ? "torvex4" : module.c_str(), static_cast<const void*>(&error),
                  message.c_str(), dot);
#ifdef _WIN32
    MessageBoxA(nullptr, text, msg::kCaptionApplicationError, MB_OK | MB_ICONERROR);
#else
    // Line breaks on a terminal are LF.
    std::string out;
    for (const char* p = text; *p; ++p)
        if (*p != '\r')
            out += *p;
    std::fputs(out.c_str(), stderr);
#endif
}

void BatchUi::ShowUsage() {
#ifdef _WIN32
    MessageBoxA(nullptr, msg::kBatchUsage, msg::kAppTitle, MB_OK);
#else
    std::fprintf(stderr, "%s\n", msg::kBatchUsage);
#endif
}
