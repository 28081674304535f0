#include "UserInterface.h"

#include "Messages.h"

namespace {

class SilentUi final : public UserInterface {
  public:
    void ShowMessage(MessageType, const std::string&) override {}
    void ShowError(const std::exception&) override {}
};

SilentUi silent;
UserInterface* current = &silent;

} // namespace

const char* CaptionFor(MessageType type) {
    switch (type) {
    case MessageType::Error:
        return msg::kCaptionError;
    case MessageType::Warning:
        return msg::kCaptionWarning;
    case MessageType::Information:
        return msg::kCaptionInformation;
    case MessageType::Plain:
        break;
    }
    return msg::kAppTitle;
}

std::string UserInterface::AskText(const std::string&, const std::string&,
                                   const std::string& initial) {
    return initial;
}

std::optional<std::string> UserInterface::AskSaveFileName(const std::string&, const std::string&,
                                                          const std::string&) {
    return std::nullopt;
}

UserInterface& Ui() {
    return *current;
}

UserInterface* SetUi(UserInterface* ui) {
    UserInterface* previous = current;
    current = ui != nullptr ? ui : &silent;
    return previous == &silent ? nullptr : previous;
}
