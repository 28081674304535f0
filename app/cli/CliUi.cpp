#include "CliUi.h"

#include "IoError.h"
#include "Messages.h"

#include <cstdio>

CliUi::CliUi() : previous_(SetUi(this)) {}

CliUi::~CliUi() {
    SetUi(previous_);
}

void CliUi::Report(const std::string& file, const std::string& text) {
    if (file.empty())
        std::fprintf(stderr, "%s: %s\n", msg::kCliName, text.c_str());
    else
        std::fprintf(stderr, "%s: %s: %s\n", msg::kCliName, file.c_str(), text.c_str());
    std::fflush(stderr);
}

void CliUi::ShowMessage(MessageType, const std::string& text) {
    auto it = fileForText_.find(text);
    Report(it != fileForText_.end() ? it->second : file_, text);
}

void CliUi::ShowError(const std::exception& error) {
    const auto* io = dynamic_cast<const IoError*>(&error);
    Report(io && !io->Path().empty() ? io->Path() : file_, error.what());
}
